#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz into build-fuzz/ and runs each
# for FUZZ_SECONDS seconds (default 60). Installs clang and libFuzzer
# (Debian 12) when missing, as root or with sudo. Exits non-zero when a
# target finds a crash, a hang, a memory blow-up or a property violation,
# and prints the reproducer's path.
#
#   FUZZ_SECONDS=120 scripts/fuzz.sh               every target
#   FUZZ_TARGETS="reader_fuzz cp932_fuzz" scripts/fuzz.sh
#
# The targets, with their seeds and longest input, are listed once, in
# tests/fuzz/CMakeLists.txt; the build writes them to build-fuzz/fuzz_targets.txt.
#
# The corpus of each target grows in build-fuzz/corpus/<target>/ from run to
# run; it starts from seeds made afresh from the project's own files
# (tests/data, examples). Reproducers land in build-fuzz/artifacts/<target>/.
# The inputs kept in tests/fuzz/regressions/<target>-* are replayed first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_BUILD_JOBS:-$(nproc)}
build=$root/build-fuzz

# --- Packages: clang, the compiler-rt libraries that hold libFuzzer and the
# sanitizer runtimes (only recommended by clang, so not pulled in by
# --no-install-recommends), and the build tools.
packages=(clang libclang-rt-dev cmake make)
scripts/install_packages.sh "${packages[@]}"
# libFuzzer itself: a target that links (-fsanitize=fuzzer) needs libclang-rt.
probe=$(mktemp -d)
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >"$probe/log" 2>&1; then
  cat "$probe/log" >&2
  echo "clang++ cannot link a libFuzzer target (is libclang-rt-dev installed?)" >&2
  rm -rf "$probe"
  exit 1
fi
rm -rf "$probe"

# --- Build.
start=$(date +%s)
cmake --preset fuzz -B "$build" -DK2V_WERROR="${K2V_WERROR:-OFF}" >/dev/null
# Each line of the table: name:seeds:longest input.
declare -A seeds_kind max_len
all=()
while IFS=: read -r name kind length; do
  [ -n "$name" ] || continue
  all+=("$name")
  seeds_kind[$name]=$kind
  max_len[$name]=$length
done <"$build/fuzz_targets.txt"
read -r -a targets <<<"${FUZZ_TARGETS:-${all[*]}}"
for t in "${targets[@]}"; do
  [ -n "${seeds_kind[$t]:-}" ] || { echo "fuzz.sh: no fuzz target $t (the targets: ${all[*]})" >&2; exit 2; }
done
cmake --build "$build" -j"$jobs" --target fuzz_seeds "${targets[@]}"
built=$(date +%s)

# --- Scratch space: the targets make and remove a folder per input under
# $TMPDIR. A memory file system keeps that cheap. It stays at most two levels
# deep, so that the conversion's vocabulary folder (the destination's first
# four components) lies inside each input's folder. The folders of this run
# carry its id; those a crashed input left are removed at the end.
if [ -z "${FUZZ_TMPDIR:-}" ]; then
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then FUZZ_TMPDIR=/dev/shm; else FUZZ_TMPDIR=/tmp; fi
fi
export TMPDIR=$FUZZ_TMPDIR
K2V_FUZZ_RUN_ID="r$$-$(date +%s)"
export K2V_FUZZ_RUN_ID
cleanup() { rm -rf "${TMPDIR:?}"/k2v-fuzz-*-"$K2V_FUZZ_RUN_ID"-*; }
trap cleanup EXIT

# Any finding is fatal: ASan and UBSan abort (libFuzzer then keeps the input).
export ASAN_OPTIONS=abort_on_error=1:halt_on_error=1:detect_leaks=1:quarantine_size_mb=64:symbolize=1
export UBSAN_OPTIONS=abort_on_error=1:halt_on_error=1:print_stacktrace=1:symbolize=1

# --- Seeds from the project's files.
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds/raw" "$seeds/soil" "$seeds/conversion"
shopt -s nullglob
raw_files=(tests/data/*/*/* tests/data/*/*.TXT examples/sample/* examples/RADUDI/*)
for f in "${raw_files[@]}"; do
  [ -f "$f" ] && cp "$f" "$seeds/raw/$(echo "$f" | tr '/' '_')"
done
x1_files=(tests/data/*/X1.TXT tests/data/*/source/X1.TXT tests/data/*/source/x1.txt examples/sample/X1.TXT)
"$build/fuzz_seeds" soil "$seeds/soil" "${x1_files[@]}"
"$build/fuzz_seeds" conversion "$seeds/conversion" tests/data/*/source tests/data/layer_common_descriptions examples/sample


# --- Runs.
failed=()
mkdir -p "$build/logs"
for t in "${targets[@]}"; do
  bin=$build/$t
  corpus=$build/corpus/$t
  artifacts=$build/artifacts/$t
  log=$build/logs/$t.log
  mkdir -p "$corpus" "$artifacts"

  # Inputs that once showed a fault must pass before anything else.
  regressions=(tests/fuzz/regressions/"$t"-*)
  if [ ${#regressions[@]} -gt 0 ]; then
    echo "== $t: replaying ${#regressions[@]} kept reproducer(s)"
    for r in "${regressions[@]}"; do
      if ! "$bin" -timeout=10 -rss_limit_mb=2048 "$r" >"$log.replay" 2>&1 </dev/null; then
        grep -E "fuzz property violated|ERROR: |runtime error|SUMMARY" "$log.replay" | head -5 || true
        echo "!! $t still fails on the kept reproducer $root/$r"
        echo "   replay: $bin $root/$r"
        failed+=("$t:$(basename "$r")")
      fi
    done
  fi

  echo "== $t: fuzzing for $seconds s (log $log)"
  t0=$(date +%s)
  rc=0
  "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${max_len[$t]}" \
    -dict=tests/fuzz/kolbrix.dict -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "$seeds/${seeds_kind[$t]}" >"$log" 2>&1 </dev/null || rc=$?
  execs=$(grep -E "^stat::number_of_executed_units" "$log" | awk '{print $2}' || true)
  echo "   $t: $(($(date +%s) - t0)) s, ${execs:-?} executions, exit status $rc"
  if [ "$rc" -ne 0 ]; then
    grep -E "fuzz property violated|ERROR: |runtime error|SUMMARY" "$log" | head -5 || true
    reproducer=$(grep -oE "(Test unit|artifact) written to [^ ]+" "$log" | tail -1 | awk '{print $NF}' || true)
    # (the newest artifact when the log does not name it)
    [ -n "$reproducer" ] || reproducer=$(find "$artifacts" -type f -printf '%T@ %p\n' | sort -n | tail -1 | cut -d' ' -f2-)
    echo "!! $t found a problem; reproducer: ${reproducer:-see $log}"
    echo "   replay: $bin $reproducer"
    echo "   minimise: $bin -minimize_crash=1 -max_total_time=60 $reproducer"
    failed+=("$t")
  fi
done

end=$(date +%s)
echo "== build $((built - start)) s, fuzzing $((end - built)) s, total $((end - start)) s"
if [ ${#failed[@]} -gt 0 ]; then
  echo "== FAILED: ${failed[*]}"
  exit 1
fi
echo "== no findings"
