#!/usr/bin/env bash
# Installs the program into a temporary prefix and checks what it put there: the files in their places,
# the icons at their sizes, the desktop entry and the metainfo passing the desktop's validators, and the
# installed program, started from an empty home folder, finding its shipped catalogue.
set -u
build=${1:?build folder}
prefix=$(mktemp -d)
home=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$prefix" "$home"
}
trap cleanup EXIT
failed=0
fail() {
    echo "FAILED: $*"
    failed=1
}

cmake --install "$build" --prefix "$prefix" --component snapord >/dev/null || { echo "cmake --install failed"; exit 1; }

for file in bin/snapord share/snapord/snapord2.ini share/snapord/help/index.html share/snapord/help/snapord.png \
    share/applications/cz.snapord.Snapord.desktop share/metainfo/cz.snapord.Snapord.metainfo.xml; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/snapord" ] || fail "bin/snapord is not executable"
# Nothing of the build's other programs comes along.
unexpected=$(cd "$prefix" && find . -type f | grep -vE '^\./(bin/snapord|share/(snapord|applications|metainfo|icons/hicolor)/)')
[ -z "$unexpected" ] || fail "unexpected files installed: $unexpected"

for size in 16 22 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/snapord.png"
    if [ ! -s "$icon" ]; then
        fail "no ${size}x${size} icon"
    elif command -v identify >/dev/null; then
        [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "the ${size}x${size} icon has another size"
    fi
done

# The help page names its picture, which lies beside it.
grep -q 'src="snapord.png"' "$prefix/share/snapord/help/index.html" || fail "the help page shows no icon"

desktop-file-validate "$prefix/share/applications/cz.snapord.Snapord.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=snapord %F' "$prefix/share/applications/cz.snapord.Snapord.desktop" || fail "Exec does not take files"
grep -qx 'MimeType=image/jpeg;image/tiff;' "$prefix/share/applications/cz.snapord.Snapord.desktop" || fail "MimeType"
appstreamcli validate --no-net "$prefix/share/metainfo/cz.snapord.Snapord.metainfo.xml" || fail "appstreamcli validate"

# Started from elsewhere, the installed program finds its catalogue under its prefix and copies it into
# its working folder; a photograph named on its command line ("Open with") joins the order, which Esc
# saves.
if [ -z "${DISPLAY:-}" ] || ! command -v xwininfo >/dev/null; then
    echo "No X display: the installed program was not started."
    exit $failed
fi
mkdir -p "$home/.local/share" "$home/fotky"
printf '\xff\xd8\xff\xe0' > "$home/fotky/dovolená.jpg"
(cd / && HOME="$home" XDG_DATA_HOME= ASAN_OPTIONS=detect_leaks=0 exec "$prefix/bin/snapord" "$home/fotky/dovolená.jpg") &
pid=$!
shown=0
for _ in $(seq 1 300); do
    if xwininfo -name "Snapord v2.0" 2>/dev/null | grep -q 'Map State: IsViewable'; then
        shown=1
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
[ $shown -eq 1 ] || fail "the installed program showed no main window"
cmp -s "$prefix/share/snapord/snapord2.ini" "$home/.local/share/Snapord/2.0.24.3/snapord2.ini" ||
    fail "the working folder did not get the installed catalogue"
if [ $shown -eq 1 ] && command -v xdotool >/dev/null; then
    # Esc on the X server's keyboard, with the pointer over the window: without a window manager the
    # keyboard goes to the window under the pointer.
    eval "$(xdotool search --name "^Snapord v2.0$" getwindowgeometry --shell)"
    xdotool mousemove $((X + 300)) $((Y + 200))
    xdotool key Escape
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    order="$home/.local/share/Snapord/2.0.24.3/order.sno"
    # The row holds the path in Windows-1250: "dovolená" with á as the byte 0xE1.
    expected=$(printf '%s/fotky/dovolen\xe1.jpg' "$home")
    LC_ALL=C grep -qF "$expected" "$order" 2>/dev/null || fail "the photograph named on the command line is not in the order"
fi
exit $failed
