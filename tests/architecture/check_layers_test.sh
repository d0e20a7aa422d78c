#!/usr/bin/env bash
# The layer check on a copy of the tree with one forbidden include added: it must fail, and name the file.
#   check_layers_test.sh <repository> <case>
# Cases: clean (the copy as it is must pass), the five upward includes transfer_to_ui, text_to_app,
# controls_to_ui, ui_to_headless, catalogue_to_order, and wx_outside_backend, curl_outside_http,
# upward_row (a row of the table naming a row above it), uncovered_file.
set -u
repository=${1:?repository}
case_name=${2:?case}
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT

for part in LAYERS.md src labserver tests bench tools; do
    [ -e "$repository/$part" ] && cp -r "$repository/$part" "$copy/"
done

# add_include <file> <include line>: the forbidden include, at the top of a file of the copy.
add_include() {
    [ -f "$copy/$1" ] || { echo "test setup: no file $1"; exit 2; }
    { echo "$2"; cat "$copy/$1"; } >"$copy/$1.new" && mv "$copy/$1.new" "$copy/$1"
    expected=$1
}

expected=""
case $case_name in
    clean) ;;
    transfer_to_ui) add_include src/transfer/lab_files.cpp '#include "ui/order_session.h"' ;;
    text_to_app) add_include src/text/columns.cpp '#include "app/ui_texts.h"' ;;
    controls_to_ui) add_include src/ui/controls/dialog.cpp '#include "ui/resource_ids.h"' ;;
    ui_to_headless) add_include src/ui/about_dlg.cpp '#include "ui/controls/headless/headless_desktop.h"' ;;
    catalogue_to_order) add_include src/catalogue/code_list.cpp '#include "order/order_item.h"' ;;
    wx_outside_backend) add_include src/ui/about_dlg.cpp '#include <wx/string.h>' ;;
    curl_outside_http) add_include src/transfer/lab_files.cpp '#include <curl/curl.h>' ;;
    upward_row)
        # transfer allowed to include ui, which sits above it: the table itself is at fault.
        sed -i -E 's/^(\| transfer +\| src\/transfer +\| )/\1ui /' "$copy/LAYERS.md"
        grep -qE '^\| transfer +\| src/transfer +\| ui ' "$copy/LAYERS.md" || { echo "test setup: row not edited"; exit 2; }
        expected="transfer may include ui, which is no row above it"
        ;;
    uncovered_file)
        mkdir -p "$copy/src/stray" && echo '#include <vector>' >"$copy/src/stray/stray.cpp"
        expected=src/stray/stray.cpp
        ;;
    *) echo "unknown case $case_name"; exit 2 ;;
esac

output=$(cmake -DROOT="$copy" -P "$repository/tests/architecture/check_layers.cmake" 2>&1)
status=$?
if [ "$case_name" = clean ]; then
    [ $status -eq 0 ] || { echo "the unchanged copy fails the check:"; echo "$output"; exit 1; }
    exit 0
fi
if [ $status -eq 0 ]; then
    echo "the check passed a tree with a forbidden include ($case_name)"
    exit 1
fi
if ! grep -qF "$expected" <<<"$output"; then
    echo "the check failed, but without naming $expected:"
    echo "$output"
    exit 1
fi
