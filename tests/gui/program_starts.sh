#!/usr/bin/env bash
# Starts the program with an empty home folder and waits until its main window is on the display.
#   program_starts.sh <program> <product name> <version>
# Exits with 77 (ctest's skip) when there is no display to show it on.
set -u
program=${1:?program}
product=${2:?product name}
version=${3:?version}
if [ -z "${DISPLAY:-}" ] || ! command -v xwininfo >/dev/null; then
    echo "No X display or no xwininfo: the program was not started."
    exit 77
fi
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$home"' EXIT
mkdir -p "$home/.local/share"
(cd "$home" && HOME="$home" XDG_DATA_HOME= ASAN_OPTIONS=detect_leaks=0 exec "$program") &
pid=$!
for _ in $(seq 1 200); do
    # Started, it has made its working folder; shown, its window is viewable.
    if [ -d "$home/.local/share/$product/$version" ] &&
        xwininfo -name "Snapord v2.0" 2>/dev/null | grep -q 'Map State: IsViewable'; then
        echo "The main window is on the display."
        exit 0
    fi
    kill -0 "$pid" 2>/dev/null || { echo "the program ended before showing its window"; exit 1; }
    sleep 0.1
done
echo "the main window did not appear"
exit 1
