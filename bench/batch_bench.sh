#!/usr/bin/env bash
# Usage: bench/batch_bench.sh [--copies N] [--jobs N] [--repeat N]
#   Converts N copies (default 200) of examples/sample twice into the same destination paths: by a
#   shell loop of single runs of $K2V (default build/kolbrix2vantor), and by one --batch run with
#   --jobs workers (default 2). Prints both wall times (best of --repeat, default 3), their ratio
#   against the target of at most 0.60, and whether both wrote the same bytes. Exits 0 then, 1 when
#   the outputs differ or a run failed.

set -uo pipefail
export LC_ALL=C

repo="$(cd "$(dirname "$0")/.." && pwd)"
k2v="${K2V:-$repo/build/kolbrix2vantor}"
copies=200
jobs=2
repeat=3

while [ $# -gt 0 ]; do
  case "$1" in
    --copies) copies="${2:?--copies needs a number}"; shift 2 ;;
    --jobs) jobs="${2:?--jobs needs a number}"; shift 2 ;;
    --repeat) repeat="${2:?--repeat needs a number}"; shift 2 ;;
    -h|--help) sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "batch_bench.sh: unknown argument '$1'" >&2; exit 2 ;;
  esac
done
for n in "$copies" "$jobs" "$repeat"; do
  case "$n" in ''|*[!0-9]*|0) echo "batch_bench.sh: '$n' is not a positive number" >&2; exit 2 ;; esac
done
if [ ! -x "$k2v" ]; then
  echo "batch_bench.sh: no command at $k2v (build it, or name it in K2V)" >&2
  exit 1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/k2v-batch-bench.XXXXXX")" || exit 1
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

us_between() { # START END: microseconds between two EPOCHREALTIME readings
  local a="${1/[.,]/}" b="${2/[.,]/}"
  echo $(( 10#$b - 10#$a ))
}
seconds() { awk -v u="$1" 'BEGIN { printf "%.3f s", u / 1e6 }'; }

# shellcheck source=scripts/common.sh
source "$repo/scripts/common.sh"
system_dir="$work/system"
mkdir -p "$system_dir" "$work/site"
write_radudi_ini "$system_dir" "$repo/examples/RADUDI"
names=()
for ((i = 1; i <= copies; i++)); do
  name=$(printf 'B%04d' "$i")
  cp -r "$repo/examples/sample" "$work/site/$name"
  names+=("$name")
done

# Both write into $work/out: CNT.TXT holds levels of the destination path, so
# the same path gives the same bytes. The loop's result is kept aside.
failed=0
best_loop=0
best_batch=0
for ((k = 1; k <= repeat; k++)); do
  rm -rf "$work/out" "$work/loop"
  t0=$EPOCHREALTIME
  for name in "${names[@]}"; do
    "$k2v" --yes --system-dir "$system_dir" "$work/site/$name" "$work/out/$name" >/dev/null 2>&1 || failed=1
  done
  loop_us=$(us_between "$t0" "$EPOCHREALTIME")
  if [ "$best_loop" -eq 0 ] || [ "$loop_us" -lt "$best_loop" ]; then best_loop=$loop_us; fi
  mv "$work/out" "$work/loop"

  t0=$EPOCHREALTIME
  "$k2v" --batch --yes --jobs "$jobs" --system-dir "$system_dir" "$work/site" "$work/out" \
    >"$work/batch.log" 2>&1 || failed=1
  us=$(us_between "$t0" "$EPOCHREALTIME")
  if [ "$best_batch" -eq 0 ] || [ "$us" -lt "$best_batch" ]; then best_batch=$us; fi
  echo "run $k: loop $(seconds "$loop_us"), batch $(seconds "$us")"
done

same="the same bytes"
rm -f "$work/out/kolbrix2vantor-report.csv"
diff -r "$work/loop" "$work/out" >/dev/null 2>&1 || { same="DIFFERENT BYTES"; failed=1; }
ratio=$(awk -v a="$best_batch" -v b="$best_loop" 'BEGIN { printf "%.2f", a / b }')
verdict=$(awk -v r="$ratio" 'BEGIN { print (r <= 0.60 ? "met" : "MISSED") }')

echo "kolbrix2vantor batch benchmark: $copies copies of examples/sample, $(nproc) cores"
echo "   shell loop of single runs   $(seconds "$best_loop") (best of $repeat)"
echo "   --batch --jobs $jobs           $(seconds "$best_batch") (best of $repeat)"
echo "   ratio $ratio (target: at most 0.60, $verdict); both wrote $same"
[ "$failed" -eq 0 ] || { echo "   a run failed or the outputs differ (last batch output: $work/batch.log)"; tail -n 5 "$work/batch.log"; exit 1; }
exit 0
