#!/usr/bin/env bash
# Usage: bench/kill_test.sh [--kills N] [--records N]
#   Converts a generated large export (B) over a complete earlier conversion of
#   another one (A) and ends it in two ways, N times each (default 40):
#   1. killed at a random moment: every file is then A's or B's, and the next
#      run into the folder (one that fails at its first file, so that it
#      changes nothing itself) must leave one whole conversion;
#   2. with a second run (of A) started at the same moment into the same
#      folder: one run must have converted, the other been refused, and the
#      folder must hold one whole conversion.
#   Prints the figure of each. The command is $K2V (default build/kolbrix2vantor).
#   The kill at chosen points (while writing, at each rename of the final
#   step) and the next run's undoing are the CTest SafeWritesTest's; this is
#   the statistical stress on a large export that CTest does not run.

set -uo pipefail
export LC_ALL=C

repo="$(cd "$(dirname "$0")/.." && pwd)"
k2v="${K2V:-$repo/build/kolbrix2vantor}"
kills=40
records=100000
while [ $# -gt 0 ]; do
  case "$1" in
    --kills) kills="${2:?--kills needs a number}"; shift 2 ;;
    --records) records="${2:?--records needs a number}"; shift 2 ;;
    -h|--help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "kill_test.sh: unknown argument '$1'" >&2; exit 2 ;;
  esac
done
[ -x "$k2v" ] || { echo "kill_test.sh: no command at $k2v" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/k2v-kill.XXXXXX")" || exit 1
trap 'rm -rf "$work"' EXIT
system_dir="$work/system"
mkdir -p "$system_dir"
# shellcheck source=scripts/common.sh
source "$repo/scripts/common.sh"
write_radudi_ini "$system_dir" "$repo/examples/RADUDI"

echo "Generating two exports of $records records per table..."
python3 "$repo/bench/make_large_export.py" --quiet --records "$records" --seed 1 "$work/A" || exit 1
python3 "$repo/bench/make_large_export.py" --quiet --records "$records" --seed 2 "$work/B" || exit 1

convert() { "$k2v" --yes --system-dir "$system_dir" "$1" "$2" >/dev/null 2>&1; }
# name<TAB>checksum of every file (the working folder left out)
sums() { (cd "$1" && find . -path ./.kolbrix2vantor-work -prune -o -type f -printf '%P\n' | sort | while read -r f; do
  printf '%s\t%s\n' "$f" "$(md5sum < "$f" | cut -d' ' -f1)"; done); }

# B's conversion is made in the same folder as A's, so that CNT.TXT (made
# from the path) agrees.
dest="$work/GB/K001/S01"
convert "$work/B" "$dest" || { echo "kill_test.sh: the conversion of B failed" >&2; exit 1; }
sums "$dest" > "$work/B.sums"
rm -rf "$dest"
start=$EPOCHREALTIME
convert "$work/A" "$dest" || { echo "kill_test.sh: the conversion of A failed" >&2; exit 1; }
took_us=$(( 10#${EPOCHREALTIME/[.,]/} - 10#${start/[.,]/} ))
sums "$dest" > "$work/A.sums"
echo "One conversion takes $(awk -v u="$took_us" 'BEGIN { printf "%.2f s", u / 1e6 }'); killing at random moments within it."

# name<TAB>checksum lists compared whole: "A", "B" or "mixed".
state_of() {
  local now; now=$(sums "$dest")
  if [ "$now" = "$(cat "$work/A.sums")" ]; then echo A
  elif [ "$now" = "$(cat "$work/B.sums")" ]; then echo B
  else echo mixed; fi
}
# The next run into the folder, failing at its first file (a 1 KiB file-size
# limit): what it leaves is what it found, after undoing a killed final step.
next_run() { (ulimit -f 1; "$k2v" --yes --system-dir "$system_dir" "$work/A" "$dest" >/dev/null 2>"$work/next.err"); }
# B's conversion over A in the background, its pid in $pid.
start_b() { "$k2v" --yes --system-dir "$system_dir" "$work/B" "$dest" >/dev/null 2>&1 & pid=$!; }

echo "1. Killed at random moments."
whole=0
for ((k = 1; k <= kills; k++)); do
  convert "$work/A" "$dest"
  delay_us=$(( (RANDOM * 32768 + RANDOM) % (took_us + 1) ))
  start_b
  sleep "$(awk -v u="$delay_us" 'BEGIN { printf "%.6f", u / 1e6 }')"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  # Each file as the kill left it is A's or B's, never part of one.
  torn=$(sums "$dest" | grep -vxFf "$work/A.sums" | grep -vxFf "$work/B.sums")
  next_run
  state=$(state_of)
  if [ -z "$torn" ] && [ "$state" != mixed ] && [ ! -e "$dest/.kolbrix2vantor-work" ]; then
    whole=$((whole + 1))
  else
    echo "  kill $k after $(awk -v u="$delay_us" 'BEGIN { printf "%.3f s", u / 1e6 }'): $state ${torn:+(torn: $torn)}"
  fi
done
echo "$whole of $kills kills at random moments left one whole conversion after the next run."

echo "2. Two runs started together."
together=0
for ((k = 1; k <= kills; k++)); do
  convert "$work/A" "$dest"
  "$k2v" --yes --system-dir "$system_dir" "$work/B" "$dest" >/dev/null 2>"$work/b.err" & b=$!
  "$k2v" --yes --system-dir "$system_dir" "$work/A" "$dest" >/dev/null 2>"$work/a.err" & a=$!
  wait "$b"; sb=$?
  wait "$a"; sa=$?
  state=$(state_of)
  busy=0
  grep -q "別の変換で使用中です" "$work/a.err" "$work/b.err" && busy=1
  if { [ "$sa$sb" = 01 ] || [ "$sa$sb" = 10 ]; } && [ "$busy" = 1 ] && [ "$state" != mixed ]; then
    together=$((together + 1))
  else
    echo "  pair $k: exit statuses A $sa, B $sb; destination $state"
  fi
done
echo "$together of $kills pairs: one converted, the other was refused, and the folder holds one whole conversion."
