#!/usr/bin/env bash
# Builds the libFuzzer programs (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for the given number of seconds, two at a time, from the seed corpora under fuzz/corpus
# and what earlier runs found (kept under the build folder).
#
#   scripts/fuzz.sh [SECONDS] [TARGET ...]     default: 180 seconds, every target
#
# Environment: FUZZ_BUILD (build folder, default build-fuzz), FUZZ_PARALLEL (targets run at
# once, default 2). Exits non-zero when a target crashed, hung, leaked or broke a rule; the
# input is then under FUZZ_BUILD/artifacts/TARGET/ and the output under FUZZ_BUILD/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-180}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(server_log client_log log_with_variables data_file variable_file settings_file)
fi
build=${FUZZ_BUILD:-build-fuzz}
parallel=${FUZZ_PARALLEL:-2}

scripts/install-deps.sh clang
major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -1)
scripts/install-deps.sh "libclang-rt-${major}-dev"

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEXOR_FUZZ=ON -DVEXOR_BUILD_TESTS=OFF >/dev/null
for target in "${targets[@]}"; do
  cmake --build "$build" -j "$(nproc)" --target "fuzz_$target"
done

# The longest input each target tries: logs and data files need room for a few games.
max_len() {
  case "$1" in
    variable_file) echo 8192 ;;
    settings_file) echo 1024 ;;
    *) echo 65536 ;;
  esac
}

run_target() {
  local target=$1
  local corpus="$build/corpus/$target" artifacts="$build/artifacts/$target/"
  mkdir -p "$corpus" "$artifacts" "$build/logs" "$scratch"
  TMPDIR="$scratch" \
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
      -malloc_limit_mb=2048 -max_len="$(max_len "$target")" -print_final_stats=1 \
      -artifact_prefix="$artifacts" "$corpus" "fuzz/corpus/$target" \
      >"$build/logs/$target.log" 2>&1
}

# Scratch files go to memory where there is a tmpfs: every input writes a few files.
scratch="$PWD/$build/tmp"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=/dev/shm/vexor-fuzz; fi

status=0
export -f run_target max_len
export build seconds scratch
printf '%s\n' "${targets[@]}" | xargs -P "$parallel" -I{} bash -c 'run_target {}' || status=1

for target in "${targets[@]}"; do
  log="$build/logs/$target.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(find "$build/artifacts/$target" -type f | wc -l)
  echo "$target: ${runs:-?} inputs in ${seconds} s, $found finding(s)"
  if [ "$found" -ne 0 ]; then
    status=1
    grep -m1 -E 'ERROR|broken rule|Timeout|out-of-memory' "$log" || true
  fi
done
exit $status
