#!/usr/bin/env bash
# Runs the first conversion of the guide (docs/guide.ja.md, "最初の変換") as
# it is written there, and compares what it prints with the output the guide
# shows (the same words, the same number of times: ls lays them out in
# columns on a terminal and one a line elsewhere).
#   scripts/guide_example_test.sh linux     the shell commands, with the .deb
#                                           installed (scripts/package_test.sh
#                                           runs it), in a fresh home folder;
#                                           makes /GANBAN and removes it again,
#                                           and refuses to run where one exists
#   scripts/guide_example_test.sh windows   the command prompt's commands under
#                                           Wine, with kolbrix2vantor.exe and the
#                                           examples where the installer puts
#                                           them (builds build-win/ when needed)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
guide=$root/docs/guide.ja.md
# shellcheck source=scripts/common.sh
source scripts/common.sh

# The fenced block that follows the line <!-- example: NAME --> in the guide.
example() {
  awk -v marker="<!-- example: $1 -->" '
    $0 == marker { found = 1; next }
    found && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }
  ' "$guide"
}

# The words of a text, one a line, sorted.
words() { tr -s ' \t\r\n' '\n\n\n\n' | sed '/^$/d' | LC_ALL=C sort; }

compare() {
  local expected=$1 actual=$2
  if ! diff <(words <"$expected") <(words <"$actual"); then
    echo "guide_example_test.sh: the $system example prints otherwise than the guide shows (< guide, > program):" >&2
    cat "$actual" >&2
    exit 1
  fi
}

system=${1:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/k2v-guide.XXXXXX")
example "$system-commands" >"$work/commands"
example "$system-output" >"$work/expected"
if [ ! -s "$work/commands" ] || [ ! -s "$work/expected" ]; then
  echo "usage: scripts/guide_example_test.sh linux|windows (the guide has no such example)" >&2
  rm -rf "$work"
  exit 2
fi

case $system in
linux)
  if [ -e /GANBAN ]; then
    echo "guide_example_test.sh: /GANBAN exists here; the example would convert into it." >&2
    rm -rf "$work"
    exit 1
  fi
  trap 'rm -rf "$work"; as_root rm -rf /GANBAN' EXIT
  mkdir "$work/home"
  # As a user types it; root has no sudo to ask.
  shim=""
  if [ "$(id -u)" -eq 0 ]; then shim='sudo() { "$@"; }'; fi
  (cd "$work/home" && env -i HOME="$work/home" USER="$(id -un)" PATH="$PATH" LANG=ja_JP.UTF-8 \
    bash -c "set -e; $shim
$(cat "$work/commands")") >"$work/actual" 2>&1 || echo "(exit status $?)" >>"$work/actual"
  ;;
windows)
  windows_build=${K2V_WINDOWS_BUILD:-build-win}
  # shellcheck source=scripts/wine_env.sh
  source scripts/wine_env.sh
  trap 'cleanup; rm -rf "$work"' EXIT
  if [ ! -x "$windows_build/kolbrix2vantor.exe" ]; then
    cmake -S . -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DK2V_BUILD_BENCH=OFF >/dev/null
    cmake --build "$windows_build" -j"$(nproc)" --target kolbrix2vantor
  fi
  # The install folder as the installer leaves it: the command and the examples.
  local_appdata=$(wine cmd.exe /c echo %LOCALAPPDATA% </dev/null 2>/dev/null | tr -d '\r')
  install_dir=$(winepath -u "$local_appdata\\Programs\\kolbrix2vantor" 2>/dev/null)
  mkdir -p "$install_dir"
  cp "$windows_build/kolbrix2vantor.exe" "$install_dir/"
  cp -r examples "$install_dir/examples"
  # The commands as typed at the prompt, without the prompt's echo.
  { printf '@echo off\r\n'; sed 's/$/\r/' "$work/commands"; } >"$WINEPREFIX/drive_c/guide-example.cmd"
  wine cmd.exe /c 'C:\guide-example.cmd' </dev/null >"$work/bytes" 2>&1 || echo "(exit status $?)" >>"$work/bytes"
  # Written in the code page of a Japanese Windows.
  iconv -f CP932 -t UTF-8 "$work/bytes" >"$work/actual"
  ;;
esac

compare "$work/expected" "$work/actual"
echo "The guide's $system example prints what the guide shows."
