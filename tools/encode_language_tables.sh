#!/usr/bin/env bash
# Writes the embedded language tables (GBK, CRLF) from their UTF-8 sources in
# resources/lang/source/. Edit the sources, then run this.
set -euo pipefail
cd "$(dirname "$0")/../resources/lang"
for table in source/*.ini; do
    sed 's/\r*$/\r/' "$table" | iconv -f UTF-8 -t GBK > "$(basename "$table")"
done
