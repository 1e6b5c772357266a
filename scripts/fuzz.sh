#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for the given seconds, starting from its seed corpus in fuzz/ and
# with its dictionary there, if it has one.
# What the fuzzer finds goes to the build folder, never into the repository. Fails when any target found a
# crash, a sanitizer report or a hung input, and shows the end of its log; the input is in BUILD/crashes.
#   fuzz.sh BUILD_DIR SECONDS
set -uo pipefail
build=$1 seconds=$2
cd "$(dirname "$0")/.."

failed=()
for fuzzer in "$build"/bin/*_fuzzer; do
  name=$(basename "$fuzzer")
  corpus="$build/corpus/$name"
  log="$build/$name.log"
  mkdir -p "$corpus" "$build/crashes"
  dictionary=()
  [[ -f "fuzz/${name%_fuzzer}.dict" ]] && dictionary=(-dict="fuzz/${name%_fuzzer}.dict")
  started=$SECONDS
  "$fuzzer" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 "${dictionary[@]}" \
    -artifact_prefix="$build/crashes/$name-" "$corpus" "fuzz/${name%_fuzzer}_corpus" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "$name: exit $status, ${runs:-?} runs in $((SECONDS - started)) s"
  if ((status != 0)); then
    failed+=("$name")
    tail -n 40 "$log"
  fi
done
((${#failed[@]} == 0)) || { echo "fuzz targets that failed: ${failed[*]}" >&2; exit 1; }
