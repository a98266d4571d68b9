#!/usr/bin/env bash
# Usage: bench/fault_probe.sh eio|kill renames|unlinks|listings|syncs
#        bench/fault_probe.sh rollback
#   System-call faults injected with strace into a conversion (the full test
#   export, with a file group #P whose name sorts before the journal's) over
#   a complete earlier one:
#   eio SET    EIO at each call of each system call of the set, one per run;
#   kill SET   SIGKILL at each of those calls, then a normal run after it;
#   rollback   a run killed at its last placement, then the run that undoes
#              it killed at each of its first 40 calls of every kind.
#   After each faulty run a second run is killed at its first mkdir (the
#   working folder's creation): what it leaves is what its recovery made.
#   A probe holds when exit status 0 comes only with the new conversion
#   whole, 3 only with the earlier one whole (or the message says the undo
#   failed), the recovery leaves a whole conversion (the new one after 0,
#   the earlier after 3), no other exit status, and the export and a file
#   outside the destination are untouched. Prints each failure and the
#   figures. The command is $K2V (default build/kolbrix2vantor). The faults
#   at chosen points through the file layer's seam are CTest's
#   SafeWritesTest; this is the whole program under the real system calls.
set -u
repo="$(cd "$(dirname "$0")/.." && pwd)"
bin=${K2V:-$repo/build/kolbrix2vantor}
command -v strace >/dev/null || { echo "fault_probe.sh: needs strace" >&2; exit 1; }
mode=${1:?eio, kill or rollback}; set_name=${2:-}
case "$set_name" in
  renames) calls=rename,renameat,renameat2 ;;
  unlinks) calls=unlink,unlinkat,rmdir ;;
  listings) calls=getdents64 ;;
  syncs) calls=fsync,fdatasync,syncfs ;;
  *) calls=rename,renameat,renameat2,unlink,unlinkat,rmdir,fsync,fdatasync,syncfs ;;
esac
w=$(mktemp -d "${TMPDIR:-/tmp}/k2v-probe.XXXXXX")
trap 'rm -rf "$w"' EXIT
data=$repo/tests/data/stages_full/source
mkdir -p "$w/sys"
cp -r "$data" "$w/v1"; printf '1,#P\r\n' > "$w/v1/PCNT.TXT"; printf 'earlier\r\n' > "$w/v1/#P.DAT"
cp -r "$w/v1" "$w/v2"; printf 'new\r\n' > "$w/v2/#P.DAT"
printf '1,0.80,0,\x95\x5c\x93\x79\r\n2,2.40,0,\x8d\xbb\x9e\xdd\r\n' > "$w/v2/X1.TXT"
echo outside > "$w/outside.txt"
dest=$w/out/GB/K001/S01
snap() { (cd "$dest" 2>/dev/null && find . -path ./.kolbrix2vantor-work -prune -o -type f -print0 | sort -z | xargs -0 -r sha256sum) | sha256sum | cut -c1-16; }
tree() { (cd "$1" && find . -print0 | sort -z | xargs -0 -r ls -ld --time-style=+ | awk '{print $1,$5,$7}'; find . -type f -print0 | sort -z | xargs -0 -r sha256sum) | sha256sum | cut -c1-16; }
conv() { "$bin" --yes --system-dir "$w/sys" "$w/$1" "$dest"; }
mkdir -p "$w/out/GB/K001"
conv v1 >/dev/null 2>&1 || { echo "earlier conversion failed"; exit 1; }
cp -a "$dest" "$w/earlier"; EARLIER=$(snap)
conv v2 >/dev/null 2>&1 || { echo "new conversion failed"; exit 1; }
NEW=$(snap)
SRC=$(tree "$w/v2")
reset() { rm -rf "$w/out/GB/K001/S01"; cp -a "$w/earlier" "$dest"; }
count() { # calls of the set in a clean run of v2
  reset; strace -f -qq -o "$w/count.log" -e trace="$1" "$bin" --yes --system-dir "$w/sys" "$w/v2" "$dest" >/dev/null 2>&1
  grep -cE "^[0-9]+ +($(echo "$1" | tr , '|'))\(" "$w/count.log"
}
recovered() { # a run killed at its first mkdir: the state its recovery made
  (strace -f -qq -o /dev/null -e inject=mkdir:signal=KILL:when=1 "$bin" --yes --system-dir "$w/sys" "$w/v2" "$dest" >/dev/null 2>&1; exit $?) 2>/dev/null
  snap
}
held=0; broke=0; total=0
check() { # $1 label, $2 rc, $3 stderr file, $4 state, $5 allowed states, $6 state after recovery, $7 allowed after recovery
  local ok=1 why=""
  case " $5 " in *" $4 "*) ;; *) ok=0; why="state=$4" ;; esac
  case " $7 " in *" $6 "*) ;; *) ok=0; why="$why recovered=$6" ;; esac
  [ "$(tree "$w/v2")" = "$SRC" ] || { ok=0; why="$why source changed"; }
  [ "$(cat "$w/outside.txt")" = outside ] || { ok=0; why="$why outside changed"; }
  total=$((total + 1))
  if [ $ok = 1 ]; then held=$((held + 1)); else broke=$((broke + 1)); echo "BROKE $1 rc=$2 $why (earlier=$EARLIER new=$NEW): $(head -c 300 "$3" | tr '\n' ' ')"; fi
}
case "$mode" in
  eio)
    for sc in ${calls//,/ }; do
      n=$(count "$sc")
      for i in $(seq 1 "$n"); do
        reset
        strace -f -qq -o /dev/null -e inject="$sc":error=EIO:when="$i" "$bin" --yes --system-dir "$w/sys" "$w/v2" "$dest" >/dev/null 2>"$w/err"
        rc=$?; after=$(snap)
        case $rc in
          0) allowed=$NEW; want=$NEW ;;
          3) want=$EARLIER; if grep -q 戻せませんでした "$w/err"; then allowed="$after"; else allowed=$EARLIER; fi ;;
          *) allowed=none; want=none ;;
        esac
        rec=$(recovered)
        check "eio $sc #$i" $rc "$w/err" "$after" "$allowed" "$rec" "$want"
        echo "$rc" >> "$w/rcs"
      done
    done
    echo "eio $set_name ($calls, each call of each): $total injections, held $held, broke $broke; exit statuses: $(sort "$w/rcs" | uniq -c | tr '\n' ' ')" ;;
  kill)
    for sc in ${calls//,/ }; do
      n=$(count "$sc")
      for i in $(seq 1 "$n"); do
        reset
        (strace -f -qq -o /dev/null -e inject="$sc":signal=KILL:when="$i" "$bin" --yes --system-dir "$w/sys" "$w/v2" "$dest" >/dev/null 2>"$w/err"; exit $?) 2>/dev/null
        rc=$?; rec=$(recovered)
        check "kill $sc #$i" $rc "$w/err" "$rec" "$EARLIER $NEW" "$rec" "$EARLIER $NEW"
        conv v2 >/dev/null 2>"$w/err2"; rc2=$?
        if [ $rc2 != 0 ] || [ "$(snap)" != "$NEW" ]; then broke=$((broke + 1)); echo "BROKE kill $sc #$i: next run rc=$rc2"; fi
      done
    done
    echo "kill $set_name ($calls, each call of each): $total kills, held $held, broke $broke" ;;
  rollback)
    # The last placement of the final step: the last rename into the destination before the journal's.
    reset
    strace -f -qq -y -o "$w/roll.log" -e trace=rename,renameat,renameat2 "$bin" --yes --system-dir "$w/sys" "$w/v2" "$dest" >/dev/null 2>&1
    commit=$(grep -E "^[0-9]+ +renameat\(" "$w/roll.log" | grep -n "journal-committed" | cut -d: -f1)
    if [ -n "$commit" ]; then placing=renameat; last=$((commit - 1));
    else placing=rename; last=$(grep -cE "^[0-9]+ +rename\(" "$w/roll.log"); fi   # a build that places with rename()
    for j in $(seq 1 40); do
      for sc in ${calls//,/ }; do
        reset
        (strace -f -qq -o /dev/null -e inject="$placing":signal=KILL:when="$last" "$bin" --yes --system-dir "$w/sys" "$w/v2" "$dest" >/dev/null 2>&1; exit $?) 2>/dev/null
        [ -e "$dest/.kolbrix2vantor-work/.journal" ] || { echo "no journal after the kill at $placing #$last"; break 2; }
        (strace -f -qq -o /dev/null -e inject="$sc":signal=KILL:when="$j" "$bin" --yes --system-dir "$w/sys" "$w/v2" "$dest" >/dev/null 2>"$w/err"; exit $?) 2>/dev/null
        rc=$?
        [ $rc = 0 ] && continue   # the run has fewer calls of this one
        rec=$(recovered)
        check "rollback: recovery killed at $sc #$j" $rc "$w/err" "$rec" "$EARLIER $NEW" "$rec" "$EARLIER $NEW"
      done
    done
    echo "rollback (a run killed at its last placement, $placing #$last; the next run killed at call 1 to 40 of each of $calls): $total kills, held $held, broke $broke" ;;
esac
