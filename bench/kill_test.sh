#!/usr/bin/env bash
# Usage: bench/kill_test.sh [--kills N] [--records N]
#   Converts a generated large export (B) over a complete earlier conversion of
#   another one (A), kills the command at a random moment, and checks that every
#   file of the destination is still whole: A's file or B's, nothing cut off and
#   no intermediate name. Repeats N times (default 40) and prints how many kills
#   left every earlier file whole. The command is $K2V (default build/kolbrix2vantor).

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
    -h|--help) sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "kill_test.sh: unknown argument '$1'" >&2; exit 2 ;;
  esac
done
[ -x "$k2v" ] || { echo "kill_test.sh: no command at $k2v" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/k2v-kill.XXXXXX")" || exit 1
trap 'rm -rf "$work"' EXIT
system_dir="$work/system"
mkdir -p "$system_dir"
printf '[RADUDI]\r\n%s/\r\n' "$repo/examples/RADUDI" > "$system_dir/Radudi32.ini"

echo "Generating two exports of $records records per table..."
python3 "$repo/bench/make_large_export.py" --quiet --records "$records" --seed 1 "$work/A" || exit 1
python3 "$repo/bench/make_large_export.py" --quiet --records "$records" --seed 2 "$work/B" || exit 1

convert() { "$k2v" --yes --system-dir "$system_dir" "$1" "$2" >/dev/null 2>&1; }
# name<TAB>checksum of every file (the working folder left out)
sums() { (cd "$1" && find . -path ./.kolbrix2vantor-work -prune -o -type f -printf '%P\n' | sort | while read -r f; do
  printf '%s\t%s\n' "$f" "$(md5sum < "$f" | cut -d' ' -f1)"; done); }

# The same destination path in two trees, so CNT.TXT (made from the path) agrees.
dest="$work/a/GB/K001/S01"
refB="$work/b/GB/K001/S01"
convert "$work/B" "$refB" || { echo "kill_test.sh: the conversion of B failed" >&2; exit 1; }
sums "$refB" > "$work/B.sums"
start=$EPOCHREALTIME
convert "$work/A" "$dest" || { echo "kill_test.sh: the conversion of A failed" >&2; exit 1; }
took_us=$(( 10#${EPOCHREALTIME/[.,]/} - 10#${start/[.,]/} ))
sums "$dest" > "$work/A.sums"
echo "One conversion takes $(awk -v u="$took_us" 'BEGIN { printf "%.2f s", u / 1e6 }'); killing at random moments within it."

whole=0
for ((k = 1; k <= kills; k++)); do
  # A complete earlier conversion, then B killed part-way over it.
  convert "$work/A" "$dest"
  delay_us=$(( (RANDOM * 32768 + RANDOM) % (took_us + 1) ))
  "$k2v" --yes --system-dir "$system_dir" "$work/B" "$dest" >/dev/null 2>&1 &
  pid=$!
  sleep "$(awk -v u="$delay_us" 'BEGIN { printf "%.6f", u / 1e6 }')"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  bad=$(sums "$dest" | awk -F'\t' -v a="$work/A.sums" -v b="$work/B.sums" '
    BEGIN { while ((getline l < a) > 0) { split(l, f, "\t"); A[f[1]] = f[2] }
            while ((getline l < b) > 0) { split(l, f, "\t"); B[f[1]] = f[2] } }
    { seen[$1] = 1; if ($2 != A[$1] && $2 != B[$1]) print "cut or foreign: " $1 }
    END { for (n in A) if (!(n in seen)) print "lost: " n }')
  if [ -z "$bad" ]; then
    whole=$((whole + 1))
  else
    echo "kill $k after $(awk -v u="$delay_us" 'BEGIN { printf "%.3f s", u / 1e6 }'):"
    echo "$bad" | sed 's/^/  /'
  fi
done
echo "$whole of $kills kills left every earlier file whole."
