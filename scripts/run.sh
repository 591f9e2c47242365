#!/usr/bin/env bash
# scripts/run.sh BUILD_DIR — starts Halvern on a generated sample directory (`make run`).
#
# The sample lives in sample/ at the top of the tree and is made once by telvia-sample
# (300,000 subscribers, seed 1); it is made again when telvia-sample is newer than it.
# The programs are copied into sample/program/ and started with
#   WINDIR=sample/windows          (Halvern.ini with SRCDISK, Quenby.INI)
#   TELVIA_CDROM_DIRS=sample/cd    (the directory CD kept as a folder)
# Without a display the program runs under xvfb-run, saves a screenshot of its main window
# once loaded and quits; the screenshot's path is the last line printed. With
# TELVIA_SCREENSHOT_SEARCH=<name> the program searches that name before the screenshot.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[ -d "$build" ] || { echo "run: build folder '$build' does not exist" >&2; exit 1; }
build=$(cd "$build" && pwd)
bin="$build/bin"
sample="$root/sample"
generator="$bin/telvia-sample"

if [ ! -x "$generator" ]; then
    echo "run: the sample generator $generator is not built yet;" >&2
    echo "run: build it first (cmake --build $build --target telvia-sample)" >&2
    exit 1
fi
if [ ! -x "$bin/Halvern" ]; then
    echo "run: $bin/Halvern is not built yet (cmake --build $build --target Halvern)" >&2
    exit 1
fi

if [ ! -f "$sample/.complete" ] || [ "$generator" -nt "$sample/.complete" ]; then
    echo "run: generating the sample directory in $sample (takes a while the first time)"
    rm -rf "$sample"
    "$generator" --subscribers 300000 --seed 1 --out "$sample"
    touch "$sample/.complete"
else
    echo "run: using the sample directory in $sample"
fi

cp -f "$bin/Halvern" "$sample/program/"
# The control library and the shared prompt library sit beside the program.
for lib in Zendari20.so libtelvia-prompt.so; do
    if [ -f "$bin/$lib" ]; then cp -f "$bin/$lib" "$sample/program/"; fi
done
# The sample business-directory library stands in for Varlink.so in the sample installation
# (it searches sample/program/VarlinkSample.tsv, which telvia-sample writes).
if [ -f "$bin/VarlinkSample.so" ]; then cp -f "$bin/VarlinkSample.so" "$sample/program/Varlink.so"; fi

export WINDIR="$sample/windows"
export TELVIA_CDROM_DIRS="$sample/cd"

if [ -n "${DISPLAY:-}" ]; then
    exec "$sample/program/Halvern"
fi

mkdir -p "$root/out"
shot="$root/out/halvern-main.png"
[ -z "${TELVIA_SCREENSHOT_SEARCH:-}" ] || shot="$root/out/halvern-search.png"
rm -f "$shot"
status=0
TELVIA_SCREENSHOT="$shot" xvfb-run -a -s "-screen 0 1024x768x24" "$sample/program/Halvern" ||
    status=$?
if [ "$status" -ne 0 ] || [ ! -f "$shot" ]; then
    echo "run: Halvern ended with status $status and saved no screenshot" >&2
    exit 1
fi
echo "$shot"
