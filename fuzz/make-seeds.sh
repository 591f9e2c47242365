#!/usr/bin/env bash
# fuzz/make-seeds.sh BUILD — the seed inputs of the fuzz targets, from a small generated
# sample CD (60 subscribers, only the dongs they live in). Writes fuzz/corpus/<target>/seed-*;
# inputs the fuzzers found are kept beside them under names of their own.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bin/telvia-sample" --subscribers 60 --seed 7 --out "$work/sample" >/dev/null 2>&1
listings="$work/sample/listings/LISTINGS.tsv"
# Only the dongs the listings use keep the dong table small.
awk -F'\t' 'NR > 1 { print $2 }' "$listings" | sort -u > "$work/codes"
awk -F'\t' 'NR == FNR { keep[$1] = 1; next } FNR == 1 || ($1 in keep)' \
    "$work/codes" "$work/sample/listings/DONGS.tsv" > "$work/dongs.tsv"
"$build/bin/zendari-build" --listings "$listings" --dongs "$work/dongs.tsv" --out "$work/cd"
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
seed profile halvern "$work/sample/windows/Halvern.ini"
seed listings sample "$work/dongs.tsv" "$listings"
printf '%s\n' '{"member":"InitDB","put":1}' '{"member":"SetLocal","put":10}' \
    '{"member":"FindKey","args":["김"]}' '{"member":"GetNext"}' '{"member":"GetNext"}' \
    '{"member":"SetResult","args":[2,2]}' '{"member":"GetResult"}' '{"member":"GetResult"}' \
    > "$work/calls"
seed json calls "$work/calls"
printf '%s\n' '{"member":"InitDB","put":1}' '{"member":"SetLocal","put":11}' \
    '{"member":"GetLocNext","args":["11020103",20]}' '{"member":"GetLocNext","args":["110201",20]}' \
    '{"member":"GetLocSung","args":["11020104",20,"김"]}' '{"member":"GetAllResult","args":["1102"]}' \
    > "$work/scans"
seed json scans "$work/scans"
