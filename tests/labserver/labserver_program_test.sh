#!/usr/bin/env bash
# The program `labserver` started by hand on the demo data answers a login check and a catalogue
# download made with curl on loopback, and stops on SIGTERM; started with a certificate it serves
# HTTPS that curl verifies against the certificate's authority.
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

# Starts the program with the arguments after the scheme. Its output goes through a pipe read on file
# descriptor 3; the first line tells the address it listens on, which must have that scheme.
start_server() {
    local scheme=$1
    shift
    mkfifo "$work/out-$scheme"
    "$program" "$@" > "$work/out-$scheme" &
    server_pid=$!
    exec 3< "$work/out-$scheme"
    read -r -t 20 first <&3
    echo "$first"
    url=${first#labserver: listening on }
    url=${url%%,*}
    case "$url" in "$scheme"://127.0.0.1:[0-9]*) ;; *) echo "FAIL: no $scheme address in '$first'"; exit 1 ;; esac
}
start_server http --port 0 --data "$work/data"

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

# HTTPS: an authority and a certificate for 127.0.0.1 made here.
newkey=(-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes)
openssl req -x509 "${newkey[@]}" -days 2 -subj "/CN=Test Lab CA" -addext basicConstraints=critical,CA:TRUE \
    -keyout "$work/ca.key" -out "$work/ca.crt" 2>/dev/null
openssl req "${newkey[@]}" -subj "/CN=127.0.0.1" -keyout "$work/server.key" -out "$work/server.csr" 2>/dev/null
printf 'subjectAltName=IP:127.0.0.1\nextendedKeyUsage=serverAuth\n' > "$work/server.ext"
openssl x509 -req -days 2 -in "$work/server.csr" -CA "$work/ca.crt" -CAkey "$work/ca.key" -CAcreateserial \
    -extfile "$work/server.ext" -out "$work/server.crt" 2>/dev/null

if "$program" --port 0 --data "$work/data" --cert "$work/server.crt" 2>/dev/null; then
    fail "a certificate without its key was taken"
fi
if "$program" --port 0 --data "$work/data" --cert "$work/ca.crt" --key "$work/server.key" 2>"$work/err"; then
    fail "a key that does not belong to the certificate was taken"
fi
grep -q "cannot be used" "$work/err" || fail "no reason given: $(cat "$work/err")"

start_server https --port 0 --data "$work/data" --cert "$work/server.crt" --key "$work/server.key"

curl -sS --cacert "$work/ca.crt" --data-binary "getfile=$version_encoded%2Fsnapord2%2Eini&login=&pass=" \
    -o "$work/snapord2-tls.ini" "$url/snapord2/standfile.php"
cmp "$work/snapord2-tls.ini" "$demo/public/$version/snapord2.ini" || fail "the catalogue differs over HTTPS"
status=0
curl -sS --data-binary "getfile=params&login=demo&pass=demo" "$url/snapord2/standalone.php" 2>/dev/null || status=$?
[ "$status" -eq 60 ] || fail "curl without the authority: status $status, expected 60 (not verified)"
kill -TERM "$server_pid"
wait "$server_pid" || fail "the secure server did not end cleanly"
server_pid=""
echo "1 passed, 0 failed"
