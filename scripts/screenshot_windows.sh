#!/usr/bin/env bash
# Saves pictures of the Win32 windows under Wine: the main window
# (kolbrix2vantor-gui.exe) after it converted the bundled sample, to
# docs/window-windows.png, and the batch window after it converted a site of
# 30 borings, to docs/batch-window-windows.png; then checks that
# kolbrix2vantor.exe --batch converts the site into the same files byte for
# byte. Builds the Windows view into build-win/ first (see
# scripts/windows_test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
windows_build=${K2V_WINDOWS_BUILD:-build-win}
case $windows_build in /*) ;; *) windows_build=$root/$windows_build ;; esac

# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
scripts/install_packages.sh imagemagick

cmake -S . -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DK2V_BUILD_GUI=ON -DK2V_BUILD_BENCH=OFF >/dev/null
cmake --build "$windows_build" -j"$(nproc)" --target win32_window_shot win32_batch_window_shot kolbrix2vantor

# Neutral folders on drive C: of the Wine prefix, so that the pictures show
# no path of the build machine and do not change from one run to the next:
# the export in C:\Kolbrix\B02, the site in C:\Kolbrix\site17, Vantor's RADUDI
# and Radudi32.ini in C:\vantor, the destinations in Vantor's layout. The
# lists open on C:\Kolbrix, the folder the window starts in.
work=${TMPDIR:-/tmp}/kolbrix2vantor-shot
rm -rf "$work"
mkdir -p "$work"
trap 'cleanup; rm -rf "$work"' EXIT
drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/Kolbrix" "$drive_c/vantor"
cp -r "$root/examples/sample" "$drive_c/Kolbrix/B02"
cp -r "$root/examples/RADUDI" "$drive_c/vantor/RADUDI"
printf '[RADUDI]\r\nC:\\vantor\\RADUDI\\\r\n' >"$drive_c/vantor/Radudi32.ini"
# The site: 30 copies of the sample in two groups; south\B30 cannot be
# converted, a file stands where its folder goes.
for i in $(seq -w 1 30); do
  side=north; [ "$i" -gt 15 ] && side=south
  mkdir -p "$drive_c/Kolbrix/site17/$side"
  cp -r "$root/examples/sample" "$drive_c/Kolbrix/site17/$side/B$i"
done
reset_destination() {
  rm -rf "$drive_c/GANBAN/K002"
  mkdir -p "$drive_c/GANBAN/K002/S01/south"
  echo "not a folder" >"$drive_c/GANBAN/K002/S01/south/B30"
}

# shot PROGRAM PICTURE ARGUMENTS...: runs the picture program, which prints
# the window's place once it is ready, and saves that part of the screen.
shot() {
  local program=$1 picture=$2
  shift 2
  rm -f "$work/place"
  (cd "$drive_c/Kolbrix" && wine "$windows_build/$program" "$@" >"$work/place") &
  local running=$!
  for _ in $(seq 600); do [ -s "$work/place" ] && break; sleep 0.1; done
  sleep 2
  read -r left top width height <"$work/place"
  import -window root -crop "${width}x${height}+${left}+${top}" +repage "$picture"
  wait "$running" || true
  test -s "$picture"
  echo "Saved $picture"
}

shot win32_window_shot.exe "$root/docs/window-windows.png" 'C:\Kolbrix\B02' 'C:\GANBAN\K001\S01\B02' \
  'C:\vantor\RADUDI' 'C:\vantor' 6
reset_destination
shot win32_batch_window_shot.exe "$root/docs/batch-window-windows.png" 'C:\Kolbrix\site17' 'C:\GANBAN\K002\S01' \
  'C:\vantor' 6
mv "$drive_c/GANBAN/K002/S01" "$work/from-window"
reset_destination
wine "$windows_build/kolbrix2vantor.exe" --batch --yes --system-dir 'C:\vantor' 'C:\Kolbrix\site17' \
  'C:\GANBAN\K002\S01' </dev/null >/dev/null 2>&1 || true
diff -r "$work/from-window" "$drive_c/GANBAN/K002/S01"
echo "The batch window converted the 30 borings as kolbrix2vantor.exe --batch does, byte for byte."
