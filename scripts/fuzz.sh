#!/usr/bin/env bash
# scripts/fuzz.sh SECONDS [TARGET...] — builds the fuzz targets with clang and libFuzzer (in
# build-fuzz/) and runs each for SECONDS seconds, from the corpus kept in fuzz/corpus/<target>.
# New inputs go to build-fuzz/corpus/<target>, a crash to build-fuzz/artifacts/. Ends with one
# line per target: executions and findings. Long runs: `nice -n 19 scripts/fuzz.sh 1800 index`.
set -euo pipefail
seconds=${1:-60}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
targets=("$@")
((${#targets[@]})) || targets=(index line_block dong_table postings manifest chosung profile listings json cd)

# libFuzzer comes with clang's runtime libraries.
need=()
command -v clang++-14 >/dev/null || need+=(clang-14)
dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q 'ok installed' ||
    need+=(libclang-rt-14-dev)
if ((${#need[@]})); then
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

[ -f "$build/build.ninja" ] || CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELVIA_FUZZ=ON -DTELVIA_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

mkdir -p "$build/artifacts"
summary=()
status=0
for t in "${targets[@]}"; do
    mkdir -p "$build/corpus/$t"
    log="$build/$t.log"
    echo "fuzzing $t for $seconds s (log: $log)"
    # The targets' own standard error (the control's reasons, one line a refused file) is
    # closed; libFuzzer's reports, crashes included, still come.
    if "$build/fuzz/${t}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$t-" -timeout=25 -rss_limit_mb=2560 -close_fd_mask=2 \
        "$build/corpus/$t" "$root/fuzz/corpus/$t" >"$log" 2>&1; then
        found="no crash"
    else
        found="FAILED: $(ls -t "$build/artifacts/$t-"* 2>/dev/null | head -1)"
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    summary+=("$t: ${runs:-?} executions, $found")
done
printf '%s\n' "${summary[@]}"
exit $status
