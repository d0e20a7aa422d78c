#!/bin/sh
# Writes the UTF-8 text file $1 as Windows-1250 with CR LF line ends to $2, as the lab publishes its
# files. Fails (and leaves no $2) when the text holds a character that Windows-1250 cannot hold.
set -eu
iconv -f UTF-8 -t CP1250 "$1" > "$2.tmp" || { rm -f "$2.tmp"; exit 1; }
sed 's/$/\r/' "$2.tmp" > "$2.crlf" && rm -f "$2.tmp" && mv "$2.crlf" "$2"
