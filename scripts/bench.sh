#!/usr/bin/env bash
# scripts/bench.sh BUILD_DIR — `make bench`: the engine against SQLite on two full-size
# directories (11,900,000 subscribers each, made once into bench-data/ and kept): the sample as
# telvia-sample writes it, and a name-diverse one (--names diverse, over a million distinct
# names in the largest region). On each: every figure beside SQLite with the row counts
# checked, then one page on a view of the CD without the builder's auxiliary files (the plain
# walk). Exits non-zero when a row count differs.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
bin="$build/bin"
base="${TELVIA_BENCH_DATA:-$root/bench-data}"
size="${TELVIA_BENCH_SUBSCRIBERS:-11900000}"

# Table printing needs no directory and takes a few seconds: it runs first.
if [ -x "$bin/print-bench" ]; then
    "$bin/print-bench"
fi

for tool in telvia-sample zendari-build zendari-bench chosung-add; do
    [ -x "$bin/$tool" ] || { echo "bench: $bin/$tool is not built" >&2; exit 1; }
done

status=0
for shape in sample diverse; do
    data="$base/$shape"
    names=common
    [ "$shape" = diverse ] && names=diverse
    if [ ! -f "$data/.complete" ] || [ "$bin/telvia-sample" -nt "$data/.complete" ] ||
       [ "$bin/zendari-build" -nt "$data/.complete" ]; then
        echo "bench: generating $size subscribers ($names names) into $data (once)"
        rm -rf "$data"
        mkdir -p "$base"
        nice /usr/bin/time -f "bench: generated and built in %e s, peak %M KiB" \
            "$bin/telvia-sample" --subscribers "$size" --seed 1 --names "$names" --out "$data"
        rm -f "$data/bench.sqlite"
        touch "$data/.complete"
    fi
    # The builder writes the consonant indexes; a CD that an older one wrote gets them here,
    # made from its own name indexes (a few seconds), instead of being generated again.
    "$bin/chosung-add" --windir "$data/windows" || status=1
    # The plain CD: the same files, less the auxiliary ones the builder adds for speed.
    plain="$data/plain"
    if [ ! -f "$plain/.complete" ] || [ "$data/.complete" -nt "$plain/.complete" ]; then
        rm -rf "$plain"
        mkdir -p "$plain/windows"
        "$root/scripts/plain-cd.sh" "$data/windows/Quenby.INI" "$plain/windows/Quenby.INI"
        touch "$plain/.complete"
    fi
    common=(--listings "$data/listings/LISTINGS.tsv" --dongs "$data/listings/DONGS.tsv"
            --sqlite "$data/bench.sqlite")
    echo "== $shape: with the auxiliary files =="
    /usr/bin/time -f "bench: peak resident %M KiB (SQLite's cache and mapped files included)" \
        "$bin/zendari-bench" --windir "$data/windows" "${common[@]}" || status=1
    echo
    echo "== $shape: plain walk (no auxiliary files) =="
    "$bin/zendari-bench" --windir "$plain/windows" "${common[@]}" --scan-only 1 || status=1
    echo
done
exit $status
