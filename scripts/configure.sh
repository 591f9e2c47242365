#!/usr/bin/env bash
# configure.sh BUILD [CMAKE ARGS...]: configures BUILD with Ninja, again whenever the arguments
# differ from the ones it was last configured with (kept in BUILD/.configure-args), so a
# changed CMAKE_ARGS takes effect without `make clean`.
set -euo pipefail
build=$1
shift
want=$(printf '%s\n' "$@")
if [ -f "$build/build.ninja" ] && [ -f "$build/.configure-args" ] &&
    [ "$(cat "$build/.configure-args")" = "$want" ]; then
    exit 0
fi
# Options left out this time must not linger in the cache from the last time.
rm -f "$build/CMakeCache.txt"
cmake -S . -B "$build" -G Ninja "$@"
printf '%s\n' "$want" > "$build/.configure-args"
