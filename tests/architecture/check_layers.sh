#!/usr/bin/env bash
# Fails when an include crosses a layer boundary:
#   - wxWidgets only in src/ui/controls/wx/ and src/main/;
#   - curl only in src/http/;
#   - src/http/ includes nothing of the rest of the program;
#   - the plain libraries include no window, network or transfer code.
set -u
root=${1:?source root}
cd "$root/src" || exit 2
failed=0

report() {
    echo "layer violation: $1"
    echo "$2"
    failed=1
}

hits=$(grep -rnE '#\s*include\s*[<"]wx/' --include='*.h' --include='*.cpp' . | grep -vE '^\./(ui/controls/wx|main)/')
[ -z "$hits" ] || report "wxWidgets outside ui/controls/wx and main" "$hits"

hits=$(grep -rnE '#\s*include\s*[<"]curl/' --include='*.h' --include='*.cpp' . | grep -vE '^\./http/')
[ -z "$hits" ] || report "curl outside http" "$hits"

if [ -d http ]; then
    hits=$(grep -rnE '#\s*include\s*"[a-z_]+/' --include='*.h' --include='*.cpp' http | grep -vE '#\s*include\s*"http/')
    [ -z "$hits" ] || report "http includes the program" "$hits"
fi

plain='text platform buildinfo app catalogue order documents image'
for folder in $plain; do
    [ -d "$folder" ] || continue
    hits=$(grep -rnE '#\s*include\s*"(ui|transfer|http)/' --include='*.h' --include='*.cpp' "$folder")
    [ -z "$hits" ] || report "$folder reaches up into ui, transfer or http" "$hits"
done

exit $failed
