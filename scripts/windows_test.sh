#!/usr/bin/env bash
# The Windows build: cross-builds the command and the tests with Debian's
# mingw-w64 into build-win/, runs the tests under Wine, converts the bundled
# sample with kolbrix2vantor.exe and compares the output with the Linux
# build's (build/, made by scripts/setup.sh) byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# The Linux build to compare with, and the folder of the Windows build.
linux_build=${K2V_LINUX_BUILD:-build}
windows_build=${K2V_WINDOWS_BUILD:-build-win}

scripts/install_packages.sh mingw-w64 wine64 wine locales

# Wine's ANSI code page follows the locale: 932 under a Japanese one, so that
# the tests also meet the system in the code page Vantor's users have.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8

# A fresh Wine prefix, before the build: test discovery already runs Wine.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/k2v-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1
# One server for every test program, instead of one start per program, once
# the one that wineboot started has ended.
wineserver -w
wineserver -p
# The first program starts Wine's services, which would keep the output pipe
# of whatever runs first (CTest's test listing) open: start them here.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1

echo "== Windows build (mingw-w64)"
cmake -S . -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DK2V_BUILD_GUI=OFF -DK2V_BUILD_BENCH=OFF
cmake --build "$windows_build" -j"$(nproc)"

echo "== Test suite under Wine"
(cd "$windows_build" && ctest --output-on-failure -j"$(nproc)")

echo "== The sample converted by kolbrix2vantor.exe, against the Linux build"
work=$(mktemp -d "${TMPDIR:-/tmp}/k2v-sample.XXXXXX")
mkdir -p "$work/linux-system" "$work/windows-system" "$work/linux" "$work/windows"
# Radudi32.ini names the same pattern-data folder to each build, in its own form.
printf '[RADUDI]\r\n%s/\r\n' "$root/examples/RADUDI" >"$work/linux-system/Radudi32.ini"
printf '[RADUDI]\r\nZ:%s\\\r\n' "$(echo "$root/examples/RADUDI" | tr / '\\')" >"$work/windows-system/Radudi32.ini"
"$linux_build"/kolbrix2vantor --yes --system-dir "$work/linux-system" examples/sample "$work/linux/S01" >/dev/null
wine "$windows_build"/kolbrix2vantor.exe --yes --system-dir "Z:$work/windows-system" "Z:$root/examples/sample" \
  "Z:$work/windows/S01" >/dev/null
# CNT.TXT lines 1 to 3 are the destination's folder names.
for side in linux windows; do
  sed -i '1,3d' "$work/$side/S01/CNT.TXT"
done
diff -r "$work/linux/S01" "$work/windows/S01"
echo "The Windows conversion of examples/sample matches the Linux one byte for byte."
rm -rf "$work"
