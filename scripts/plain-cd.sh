#!/usr/bin/env bash
# scripts/plain-cd.sh SRC_QUENBY_INI DST_QUENBY_INI — a view of a directory CD without the
# builder's auxiliary files (the dong postings named by "ZPOST" and the ".lof" line-offset
# tables beside the block files), for measuring and testing the plain walk. The data files
# are linked, not copied.
set -euo pipefail
src=$1
dst=$2
dstdir=$(cd "$(dirname "$dst")" && pwd)
datadir=$(sed -n 's/^TelDataPath=\(.*\)\r\{0,1\}$/\1/p' "$src" | tr -d '\r')
plaindata="$dstdir/data/"
mkdir -p "$plaindata"
for f in "$datadir"*; do
    case "$f" in *.lof) continue ;; esac
    ln -sf "$f" "$plaindata$(basename "$f")"
done
sed -e "s|^TelDataPath=.*|TelDataPath=$plaindata|" -e '/^ZPOST=/d' "$src" > "$dst"
