#!/usr/bin/env bash
# Usage: bench/run_benchmarks.sh [--records N] [--repeat N] [--sample-runs N] [--only PART,...]
#   Converts a generated large export (N records per table, default 100,000), seven pathological
#   exports and examples/sample with $K2V (default build/kolbrix2vantor); prints wall time and peak
#   memory beside cp -r and an iconv CP932 round trip, and which targets were missed. Exits 0 then.
#   --only runs only the parts named: large, sample, or a shape (blank-lines, eof-marks, huge-field,
#   huge-line, huge-note, huge-title, patterns). A shape runs --repeat times; its best time counts.
#   Needs /usr/bin/time, python3, iconv; installs nothing. K2V_BENCH_TIMEOUT (s), K2V_BENCH_MEM_CAP_MB.

set -uo pipefail
export LC_ALL=C

repo="$(cd "$(dirname "$0")/.." && pwd)"
k2v="${K2V:-$repo/build/kolbrix2vantor}"
records=""
repeat=3
sample_runs=20
only=""
all_parts="large blank-lines eof-marks huge-field huge-line huge-note huge-title patterns sample"
# A run that takes longer or asks for more address space is stopped; the
# report says so instead of the figures.
time_cap="${K2V_BENCH_TIMEOUT:-900}"
mem_cap_mb="${K2V_BENCH_MEM_CAP_MB:-8192}"

while [ $# -gt 0 ]; do
  case "$1" in
    --records) records="${2:?--records needs a number}"; shift 2 ;;
    --repeat) repeat="${2:?--repeat needs a number}"; shift 2 ;;
    --sample-runs) sample_runs="${2:?--sample-runs needs a number}"; shift 2 ;;
    --only) only="${2:?--only needs a list of parts}"; shift 2 ;;
    -h|--help) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "run_benchmarks.sh: unknown argument '$1'" >&2; exit 2 ;;
  esac
done
for n in "$repeat" "$sample_runs" ${records:+"$records"}; do
  case "$n" in ''|*[!0-9]*|0) echo "run_benchmarks.sh: '$n' is not a positive number" >&2; exit 2 ;; esac
done
only="${only//,/ }"
for part in $only; do
  case " $all_parts " in
    *" $part "*) ;;
    *) echo "run_benchmarks.sh: unknown part '$part' (one of: $all_parts)" >&2; exit 2 ;;
  esac
done
wanted() { [ -z "$only" ] || case " $only " in *" $1 "*) true ;; *) false ;; esac; }

if [ ! -x /usr/bin/time ]; then
  echo "run_benchmarks.sh: /usr/bin/time is missing (GNU time measures the peak memory): apt-get install time" >&2
  exit 1
fi
for tool in python3 iconv timeout; do
  command -v "$tool" >/dev/null || { echo "run_benchmarks.sh: $tool is missing" >&2; exit 1; }
done
if [ ! -x "$k2v" ]; then
  echo "run_benchmarks.sh: no command at $k2v (build it, or name it in K2V)" >&2
  exit 1
fi

run_start=$EPOCHREALTIME
work="$(mktemp -d "${TMPDIR:-/tmp}/k2v-bench.XXXXXX")" || exit 1
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

# shellcheck source=scripts/common.sh
source "$repo/scripts/common.sh"
system_dir="$work/system"
mkdir -p "$system_dir" "$work/out"
write_radudi_ini "$system_dir" "$repo/examples/RADUDI"
# Every destination lies in $work/out: Vantor's vocabulary files (G10A.TXT,
# D12A.TXT) are looked up in the destination's first folder levels, and the
# benchmark's folders hold none.

# ---------------------------------------------------------------- helpers

us_between() { # START END: microseconds between two EPOCHREALTIME readings
  local a="${1/[.,]/}" b="${2/[.,]/}"
  echo $(( 10#$b - 10#$a ))
}
seconds() { awk -v u="$1" 'BEGIN { printf "%.3f s", u / 1e6 }'; }
millis() { awk -v u="$1" 'BEGIN { printf "%.2f ms", u / 1e3 }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
folder_bytes() { find "$1" -type f -printf '%s\n' | awk '{ s += $1 } END { printf "%.1f MB", s / 1e6 }'; }
file_count() { find "$1" -type f | wc -l; }

# measure CMD...: one run under /usr/bin/time -v within the caps. Sets M_US
# (wall time, microseconds), M_KB (peak resident set, KiB) and M_STATUS
# (exit status; 137 when the time cap stopped it).
measure() {
  local log="$work/time.log"
  rm -f "$log"
  local t0=$EPOCHREALTIME
  (
    if [ "$mem_cap_mb" -gt 0 ]; then ulimit -v $((mem_cap_mb * 1024)); fi
    exec timeout -s KILL "$time_cap" /usr/bin/time -v -o "$log" "$@"
  ) >"$work/stdout.log" 2>"$work/stderr.log"
  M_STATUS=$?
  local t1=$EPOCHREALTIME
  M_US=$(us_between "$t0" "$t1")
  M_KB=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$log" 2>/dev/null)
  [ -n "$M_KB" ] || M_KB=0
}

status_text() { # STATUS
  case "$1" in
    0) echo "status 0" ;;
    137) echo "STOPPED after ${time_cap} s (K2V_BENCH_TIMEOUT)" ;;
    *) echo "FAILED with status $1" ;;
  esac
}

show_failure() { # prints what the command said when it did not end with 0
  [ "$M_STATUS" -eq 0 ] && return
  echo "      stderr of the failed run (last lines):"
  tail -n 5 "$work/stderr.log" | sed 's/^/        /'
  [ "$M_STATUS" -ne 137 ] && [ "$mem_cap_mb" -gt 0 ] &&
    echo "        (address space was capped at ${mem_cap_mb} MiB, K2V_BENCH_MEM_CAP_MB; 0 lifts the cap)"
}

convert() { # SOURCE DESTINATION: one measured conversion into a fresh destination
  rm -rf "$2"
  measure "$k2v" --yes --system-dir "$system_dir" "$1" "$2"
}

copy_time() { # SOURCE: wall time of cp -r into a fresh folder, microseconds
  rm -rf "$work/cp"
  local t0=$EPOCHREALTIME
  cp -r "$1" "$work/cp"
  local t1=$EPOCHREALTIME
  us_between "$t0" "$t1"
}

# iconv_time SOURCE: wall time of the CP932 -> UTF-8 -> CP932 round trip of
# every file, file by file, microseconds. ICONV_OK is 1 when every pipe ended
# with 0 and the files came back byte for byte.
iconv_time() {
  rm -rf "$work/iconv"
  mkdir "$work/iconv"
  local ok=1 f t0 t1
  t0=$EPOCHREALTIME
  for f in "$1"/*; do
    iconv -f CP932 -t UTF-8 "$f" | iconv -f UTF-8 -t CP932 > "$work/iconv/${f##*/}" || ok=0
  done
  t1=$EPOCHREALTIME
  diff -rq "$1" "$work/iconv" >/dev/null 2>&1 || ok=0
  ICONV_OK=$ok
  ICONV_US=$(us_between "$t0" "$t1")
}

generate() { # FOLDER ARGS...: the generator, timed
  local folder="$1"; shift
  rm -rf "$folder"
  local t0=$EPOCHREALTIME
  if ! python3 "$repo/bench/make_large_export.py" --quiet "$@" "$folder"; then
    echo "run_benchmarks.sh: the generator failed ($*)" >&2
    exit 1
  fi
  GEN_US=$(us_between "$t0" "$EPOCHREALTIME")
}

missed=()
failed=()
memory_lines=()
note_memory() { # NAME KIB STATUS
  local mark="met"
  if [ "$3" -ne 0 ]; then
    mark="no figure (the run did not end with 0)"
    missed+=("peak memory < 64 MiB: $1 $(status_text "$3")")
  elif [ "$2" -ge $((64 * 1024)) ]; then
    mark="MISSED"
    missed+=("peak memory < 64 MiB: $1 $(mib "$2")")
  fi
  memory_lines+=("$(printf '%-12s %12s  %s' "$1" "$(mib "$2")" "$mark")")
}

echo "kolbrix2vantor benchmark: $k2v ($("$k2v" --version 2>/dev/null || echo "no --version"))"
echo "machine: $(nproc) cores, $(uname -sr), temporary folder $work"
echo "caps per run: ${time_cap} s, ${mem_cap_mb} MiB of address space (0: none)"

# ---------------------------------------------------------------- large export

ratio_iconv=""
if wanted large; then
echo
large="$work/large"
generate "$large" ${records:+--records "$records"}
echo "== Large export: ${records:-100000} records per table, $(folder_bytes "$large") in $(file_count "$large") files" \
     "(generated in $(seconds "$GEN_US"))"

best_cmd=0; peak_cmd=0; status_cmd=0
for ((k = 1; k <= repeat; k++)); do
  convert "$large" "$work/out/large"
  [ "$M_STATUS" -eq 0 ] || status_cmd=$M_STATUS
  if [ "$best_cmd" -eq 0 ] || [ "$M_US" -lt "$best_cmd" ]; then best_cmd=$M_US; fi
  [ "$M_KB" -gt "$peak_cmd" ] && peak_cmd=$M_KB
  echo "   run $k: $(seconds "$M_US"), peak $(mib "$M_KB"), $(status_text "$M_STATUS")"
  show_failure
done
written="$(folder_bytes "$work/out/large") in $(file_count "$work/out/large") files"
rm -rf "$work/out/large"

best_cp=0; best_iconv=0; iconv_ok=1
for ((k = 1; k <= repeat; k++)); do
  us=$(copy_time "$large")
  if [ "$best_cp" -eq 0 ] || [ "$us" -lt "$best_cp" ]; then best_cp=$us; fi
  iconv_time "$large"
  [ "$ICONV_OK" -eq 1 ] || iconv_ok=0
  if [ "$best_iconv" -eq 0 ] || [ "$ICONV_US" -lt "$best_iconv" ]; then best_iconv=$ICONV_US; fi
done
rm -rf "$work/cp" "$work/iconv"

echo "   kolbrix2vantor     $(seconds "$best_cmd") (best of $repeat), peak $(mib "$peak_cmd"), wrote $written"
echo "   cp -r              $(seconds "$best_cp") (best of $repeat)"
echo "   iconv round trip   $(seconds "$best_iconv") (best of $repeat, file by file;" \
     "$([ "$iconv_ok" -eq 1 ] && echo "every file came back unchanged" || echo "SOME FILES DID NOT COME BACK UNCHANGED"))"
ratio_cp=$(ratio "$best_cmd" "$best_cp")
ratio_iconv=$(ratio "$best_cmd" "$best_iconv")
echo "   ratio command / cp      $ratio_cp"
echo "   ratio command / iconv   $ratio_iconv"
if [ "$status_cmd" -ne 0 ]; then
  failed+=("large export: $(status_text "$status_cmd")")
fi
note_memory "large" "$peak_cmd" "$status_cmd"
rm -rf "$large"
fi

# ---------------------------------------------------------------- pathological shapes

shapes=()
for shape in blank-lines eof-marks huge-field huge-line huge-note huge-title patterns; do
  wanted "$shape" && shapes+=("$shape")
done
[ ${#shapes[@]} -gt 0 ] && echo && echo "== Pathological shapes (a valid export of 100 records per table; one file takes the shape)"
declare -A shape_text=(
  [blank-lines]="X1.TXT: 0.8 MB of blank lines, half between two records, half after the last"
  [eof-marks]="X1.TXT: 2 MB of lines holding only the end-of-file mark 0x1A, half between two records, half after the last"
  [huge-field]="R72.TXT: one remark of 100 MB"
  [huge-line]="X1.TXT: all layers on one line of 100 MB"
  [huge-note]="X12.TXT: one note of 100 MB, every line of it written"
  [huge-title]="titl01.txt: one title line of 100 MB"
  [patterns]="PCNT.TXT: 10,000 file groups, each one file of the folder"
)
declare -A shape_args=(
  [blank-lines]="--shape blank-lines"
  [eof-marks]="--shape eof-marks"
  [huge-field]="--shape huge-field"
  [huge-line]="--shape huge-line"
  [huge-note]="--shape huge-field --table X12"
  [huge-title]=""
  [patterns]="--shape patterns"
)
# The shapes with a time of their own to meet, in seconds.
declare -A shape_limit=(
  [eof-marks]=2
  [patterns]=2
)
declare -A shape_best=()
for shape in "${shapes[@]}"; do
  src="$work/$shape"
  if [ "$shape" = huge-title ]; then
    # The small export with a title line of 100 MB in place of the first.
    generate "$src" --records 100
    python3 -c 'import sys; sys.stdout.buffer.write(b"\x8d\xbb" * 50000000 + b"\r\n")' > "$src/titl01.txt"
  else
    # shellcheck disable=SC2086
    generate "$src" ${shape_args[$shape]}
  fi
  echo "   $shape (${shape_text[$shape]}), $(folder_bytes "$src") in all, generated in $(seconds "$GEN_US")"
  best_shape=0; peak_shape=0; status_shape=0
  for ((k = 1; k <= repeat; k++)); do
    convert "$src" "$work/out/$shape"
    echo "      kolbrix2vantor    $(seconds "$M_US"), peak $(mib "$M_KB"), $(status_text "$M_STATUS")"
    show_failure
    [ "$M_STATUS" -eq 0 ] || status_shape=$M_STATUS
    if [ "$best_shape" -eq 0 ] || [ "$M_US" -lt "$best_shape" ]; then best_shape=$M_US; fi
    [ "$M_KB" -gt "$peak_shape" ] && peak_shape=$M_KB
    # A run stopped by the time cap is not run again.
    [ "$M_STATUS" -eq 137 ] && break
  done
  [ "$status_shape" -eq 0 ] || failed+=("$shape: $(status_text "$status_shape")")
  note_memory "$shape" "$peak_shape" "$status_shape"
  cmd_us=$best_shape
  shape_best[$shape]="$best_shape $status_shape"
  [ "$repeat" -gt 1 ] && echo "      best of $repeat      $(seconds "$best_shape")"
  cp_us=$(copy_time "$src")
  echo "      cp -r             $(seconds "$cp_us")   (command / cp $(ratio "$cmd_us" "$cp_us"))"
  if [ "$shape" = patterns ]; then
    # Two iconv processes per file would measure process starts, not the text.
    echo "      iconv round trip  not run (10,000 small files)"
  else
    iconv_time "$src"
    echo "      iconv round trip  $(seconds "$ICONV_US")   (command / iconv $(ratio "$cmd_us" "$ICONV_US"))"
  fi
  rm -rf "$src" "$work/out/$shape" "$work/cp" "$work/iconv"
done

# ---------------------------------------------------------------- bundled sample

status_sample=0
if wanted sample; then
echo
sample="$repo/examples/sample"
dest="$work/out/sample"
best_sample=0; status_sample=0
for ((k = 1; k <= sample_runs; k++)); do
  rm -rf "$dest"
  # The whole process as a shell starts it: fork, exec, conversion, exit.
  t0=$EPOCHREALTIME
  "$k2v" --yes --system-dir "$system_dir" "$sample" "$dest" >/dev/null 2>"$work/stderr.log"
  st=$?
  t1=$EPOCHREALTIME
  [ "$st" -eq 0 ] || status_sample=$st
  us=$(us_between "$t0" "$t1")
  if [ "$best_sample" -eq 0 ] || [ "$us" -lt "$best_sample" ]; then best_sample=$us; fi
done
# What starting any process costs here, for reading the figure above.
best_true=0
for ((k = 1; k <= sample_runs; k++)); do
  t0=$EPOCHREALTIME
  /bin/true
  t1=$EPOCHREALTIME
  us=$(us_between "$t0" "$t1")
  if [ "$best_true" -eq 0 ] || [ "$us" -lt "$best_true" ]; then best_true=$us; fi
done
convert "$sample" "$dest"
[ "$M_STATUS" -eq 0 ] || status_sample=$M_STATUS
echo "== Bundled sample (examples/sample): $(millis "$best_sample") (best of $sample_runs runs)," \
     "peak $(mib "$M_KB"), $(status_text "$status_sample")"
echo "   (starting /bin/true the same way: $(millis "$best_true"))"
show_failure
[ "$status_sample" -eq 0 ] || failed+=("sample: $(status_text "$status_sample")")
note_memory "sample" "$M_KB" "$status_sample"
rm -rf "$dest"
fi

# ---------------------------------------------------------------- summary

echo
echo "== Targets"
if ! wanted large; then
  :
elif [ "$ratio_iconv" = "n/a" ] || awk -v r="$ratio_iconv" 'BEGIN { exit !(r > 1.0) }'; then
  echo "   MISSED  large export, command / iconv round trip <= 1.0: $ratio_iconv"
  missed+=("command / iconv round trip <= 1.0: $ratio_iconv")
else
  echo "   met     large export, command / iconv round trip <= 1.0: $ratio_iconv"
fi
for shape in eof-marks patterns; do
  [ -n "${shape_best[$shape]:-}" ] || continue
  read -r us st <<<"${shape_best[$shape]}"
  limit=${shape_limit[$shape]}
  if [ "$st" -ne 0 ] || [ "$us" -ge $((limit * 1000000)) ]; then
    echo "   MISSED  $shape < $limit s: $(seconds "$us"), $(status_text "$st")"
    missed+=("$shape < $limit s: $(seconds "$us"), $(status_text "$st")")
  else
    echo "   met     $shape < $limit s: $(seconds "$us")"
  fi
done
echo "           peak memory < 64 MiB for every shape:"
for line in "${memory_lines[@]}"; do echo "             $line"; done
if ! wanted sample; then
  :
elif [ "$status_sample" -ne 0 ] || [ "$best_sample" -ge 10000 ]; then
  echo "   MISSED  sample run < 10 ms: $(millis "$best_sample")"
  missed+=("sample run < 10 ms: $(millis "$best_sample")")
else
  echo "   met     sample run < 10 ms: $(millis "$best_sample")"
fi
echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "Conversions that did not end with status 0:"
  for f in "${failed[@]}"; do echo "   $f"; done
fi
if [ ${#missed[@]} -gt 0 ]; then
  echo "Targets missed (${#missed[@]}):"
  for m in "${missed[@]}"; do echo "   $m"; done
else
  echo "Every target met."
fi
echo "Full run: $(seconds "$(us_between "$run_start" "$EPOCHREALTIME")")"
exit 0
