#!/usr/bin/env bash
# fuzz/make-seeds.sh BUILD — the seed inputs of the fuzz targets, from a small sample CD built
# from fuzz/sample/ (60 generated subscribers, only the dongs they live in; generated first
# when missing). Writes fuzz/corpus/<target>/seed-*; inputs the fuzzers found are kept beside
# them under names of their own.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sample listings live in fuzz/sample/; the CD-wide targets build their CD from them too.
if [ ! -f "$here/sample/LISTINGS.tsv" ]; then
    "$build/bin/telvia-sample" --subscribers 60 --seed 7 --out "$work/sample" >/dev/null 2>&1
    mkdir -p "$here/sample"
    cp "$work/sample/listings/LISTINGS.tsv" "$here/sample/LISTINGS.tsv"
    # Only the dongs the listings use keep the dong table small.
    awk -F'\t' 'NR > 1 { print $2 }' "$here/sample/LISTINGS.tsv" | sort -u > "$work/codes"
    awk -F'\t' 'NR == FNR { keep[$1] = 1; next } FNR == 1 || ($1 in keep)' \
        "$work/codes" "$work/sample/listings/DONGS.tsv" > "$here/sample/DONGS.tsv"
fi
listings="$here/sample/LISTINGS.tsv"
"$build/bin/zendari-build" --listings "$listings" --dongs "$here/sample/DONGS.tsv" --out "$work/cd"
cd="$work/cd"
sep=$'\n--8<--\n'
seed() {  # seed TARGET NAME FILE...: the files joined by the separator line
    local target=$1 name=$2
    shift 2
    mkdir -p "$here/corpus/$target"
    local out="$here/corpus/$target/seed-$name" first=1
    : > "$out"
    for f in "$@"; do
        ((first)) || printf '%s' "$sep" >> "$out"
        cat "$f" >> "$out"
        first=0
    done
}
seed index seoul "$cd/index/SEOUL.ndx"
seed index pusan "$cd/index/PUSAN.ndx"
seed index dong "$cd/index/dong.kwd"
seed index empty-region "$cd/index/CHEJU.ndx"
seed line_block block "$cd/data/10_1.dll" "$cd/data/10_1.lof"
seed dong_table table "$cd/index/dong.cod" "$cd/index/dong.idx"
seed postings postings "$cd/index/dong.pst" "$cd/index/names.flt"
seed profile quenby "$cd/Quenby.INI"
printf '[INSTALL]\r\nSRCDISK=/media/cdrom/\r\n\r\n[SEARCH]\r\nExcludedRecord=10010101:(100-010) x:1-1:02:735-1234:100010:y\r\n' \
    > "$work/halvern"
seed profile halvern "$work/halvern"
seed manifest manifest "$cd/index/cd.manifest"
seed chosung seoul "$cd/index/SEOUL.ndx" "$cd/index/SEOUL.cho"
seed chosung pusan "$cd/index/PUSAN.ndx" "$cd/index/PUSAN.cho"
seed cd sample "$cd/data/names.rec" "$cd/index/names.flt" "$cd/index/SEOUL.ndx" \
    "$cd/index/dong.kwd" "$cd/index/dong.cod" "$cd/index/dong.idx" "$cd/data/10_1.dll" \
    "$cd/data/10_1.lof" "$cd/index/dong.pst" "$cd/index/cd.manifest"
seed listings sample "$here/sample/DONGS.tsv" "$listings"
# A Seoul subscriber of the sample: name and dong code.
read -r name code < <(awk -F'\t' 'NR > 1 && $2 ~ /^10/ { print $1, $2; exit }' "$listings")
printf '%s\n' '{"member":"InitDB","put":1}' '{"member":"SetLocal","put":10}' \
    "{\"member\":\"FindKey\",\"args\":[\"$name\"]}" '{"member":"GetNext"}' '{"member":"GetNext"}' \
    '{"member":"SetResult","args":[1,2]}' '{"member":"GetResult"}' '{"member":"GetResult"}' \
    > "$work/calls"
seed json calls "$work/calls"
printf '%s\n' '{"member":"InitDB","put":1}' '{"member":"SetLocal","put":10}' \
    "{\"member\":\"GetLocNext\",\"args\":[\"$code\",20]}" \
    "{\"member\":\"GetLocNext\",\"args\":[\"${code:0:6}\",20]}" \
    "{\"member\":\"GetLocSung\",\"args\":[\"$code\",20,\"${name:0:1}\"]}" \
    "{\"member\":\"GetAllResult\",\"args\":[\"${code:0:4}\"]}" > "$work/scans"
seed json scans "$work/scans"
