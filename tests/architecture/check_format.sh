#!/usr/bin/env bash
# Every C++ source of the repository as .clang-format wants it. Exits with 77 (ctest's skip) when no
# clang-format is installed (scripts/setup installs clang-format-14, the version the style is kept with).
#   check_format.sh <repository>
set -u
repository=${1:?repository}
cd "$repository" || exit 2
formatter=""
for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" >/dev/null 2>&1; then
        formatter=$candidate
        break
    fi
done
if [ -z "$formatter" ]; then
    echo "no clang-format: the formatting was not checked"
    exit 77
fi
folders=()
for folder in src labserver tests bench tools; do
    [ -d "$folder" ] && folders+=("$folder")
done
find "${folders[@]}" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) -print0 |
    sort -z | xargs -0 "$formatter" --dry-run --Werror
