#!/usr/bin/env bash
# run-benchmarks runs the benchmark programs of a bench folder, and nothing else there.
set -u
run=$(dirname "$0")/../../tools/run-benchmarks
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

printf '#!/bin/sh\necho ran >>"%s/log"\n' "$dir" >"$dir/bench_one" && chmod +x "$dir/bench_one"
mkdir "$dir/bench_one_autogen"                      # CMake's folder, executable as folders are
: >"$dir/bench_notes.cmake"                          # not executable
"$run" "$dir" >/dev/null 2>&1 || fail "exit $? with one good benchmark"
[ "$(cat "$dir/log")" = ran ] || fail "the benchmark did not run once"

printf '#!/bin/sh\nexit 3\n' >"$dir/bench_two" && chmod +x "$dir/bench_two"
"$run" "$dir" >/dev/null 2>&1; [ $? -eq 3 ] || fail "a failing benchmark must fail the run"

empty=$(mktemp -d)
"$run" "$empty" >/dev/null 2>&1 && fail "an empty bench folder must fail"
rmdir "$empty"
echo ok
