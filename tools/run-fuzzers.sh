#!/usr/bin/env bash
# Runs every libFuzzer target of build/fuzz for SECONDS seconds each (default 30), two at a time,
# each on a working copy of its seed corpus (tests/fuzz/corpus/NAME, plus the real files of
# ../shared/realdata that the target reads) with its dictionary. A crash keeps its input under
# build/fuzz/artifacts/NAME and makes the script fail.
set -uo pipefail

seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/fuzz/bin
work=$root/build/fuzz/work
realdata=$root/../shared/realdata

# Real files that seed a target, by target name.
declare -A realseeds=(
  [model]="$realdata/ms3d_ascii"
  [bmp]="$realdata/bmp"
  [tga]="$realdata/tga"
  [jpeg]="$realdata/jpeg"
)

run_one() {
  local fuzzer=$1 name
  name=$(basename "$fuzzer")
  name=${name#fuzz_}
  local corpus=$work/corpus/$name artifacts=$root/build/fuzz/artifacts/$name
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  if [ -d "$root/tests/fuzz/corpus/$name" ]; then
    cp -r "$root/tests/fuzz/corpus/$name/." "$corpus/"
  fi
  if [ -n "${realseeds[$name]:-}" ] && [ -d "${realseeds[$name]}" ]; then
    find "${realseeds[$name]}" -type f ! -name '*.md' -size -2M -exec cp {} "$corpus/" \;
  fi
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0
                 -artifact_prefix="$artifacts/")
  if [ -f "$root/tests/fuzz/$name.dict" ]; then
    options+=(-dict="$root/tests/fuzz/$name.dict")
  fi
  if "$fuzzer" "${options[@]}" "$corpus" >"$work/$name.log" 2>&1; then
    echo "fuzz $name: $(grep -E '^Done [0-9]+ runs' "$work/$name.log" | tail -1)" \
         "corpus: $(find "$corpus" -type f | wc -l) inputs"
  else
    echo "fuzz $name: FAILED, input kept in $artifacts (log: $work/$name.log)"
    tail -30 "$work/$name.log"
    return 1
  fi
}

mkdir -p "$work"
status=0
fuzzers=("$bin"/fuzz_*)
for ((index = 0; index < ${#fuzzers[@]}; index += 2)); do
  pids=()
  for fuzzer in "${fuzzers[@]:index:2}"; do
    run_one "$fuzzer" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    wait "$pid" || status=1
  done
done
exit $status
