#!/usr/bin/env bash
# The program `labserver` started by hand on the demo data answers a login check and a catalogue
# download made with curl on loopback, and stops on SIGTERM.
set -euo pipefail
program=${1:?labserver program}
demo=${2:?demo data folder}
version=${3:?client version}

work=$(mktemp -d)
server_pid=""
cleanup() {
    [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp -r "$demo" "$work/data"
rm -rf "$work/data/orders" "$work/data/incoming"

# The server's output goes through a pipe; its first line tells the port it listens on.
mkfifo "$work/out"
"$program" --port 0 --data "$work/data" > "$work/out" &
server_pid=$!
exec 3< "$work/out"
read -r -t 20 first <&3
echo "$first"
url=${first#labserver: listening on }
url=${url%%,*}
case "$url" in http://127.0.0.1:[0-9]*) ;; *) echo "FAIL: no address in '$first'"; exit 1 ;; esac

fail() { echo "FAIL: $*"; exit 1; }
endpoint="$url/snapord2/standalone.php"
version_encoded=${version//./%2E}

reply=$(curl -sS --data-binary "getfile=$version_encoded%2Fhlavicka%2Ejpg&login=demo&pass=spatne" "$endpoint")
[ "$reply" = "badlogin" ] || fail "wrong password: '$reply'"

curl -sS --data-binary "getfile=$version_encoded%2Fhlavicka%2Ejpg&login=demo&pass=demo" -o "$work/hlavicka.jpg" "$endpoint"
cmp "$work/hlavicka.jpg" "$demo/public/$version/hlavicka.jpg" || fail "the header picture differs"

curl -sS --data-binary "getfile=$version_encoded%2Fsnapord2%2Eini&login=&pass=" -o "$work/snapord2.ini" \
    "$url/snapord2/standfile.php"
cmp "$work/snapord2.ini" "$demo/public/$version/snapord2.ini" || fail "the catalogue differs"

kill -TERM "$server_pid"
wait "$server_pid" || fail "the server did not end cleanly"
server_pid=""
mapfile -t lines <&3
printf '%s\n' "${lines[@]}"
[ "${#lines[@]}" -eq 4 ] || fail "expected three request lines and the stop line"
[[ "${lines[0]}" == *"getfile $version/hlavicka.jpg [demo]: login refused" ]] || fail "log: ${lines[0]}"
[[ "${lines[3]}" == "labserver: stopped" ]] || fail "log: ${lines[3]}"
echo "1 passed, 0 failed"
