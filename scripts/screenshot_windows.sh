#!/usr/bin/env bash
# Saves pictures of the Win32 windows under Wine: the main window
# (kolbrix2vantor-gui.exe) after it converted the bundled sample, to
# docs/window-windows.png; the two message boxes of a conversion without
# Radudi32.ini, the folder question and the data that could not be
# converted, to docs/folder-question-windows.png and
# docs/result-box-windows.png; the batch window after it converted a site of
# 30 borings, to docs/batch-window-windows.png, then checks that
# kolbrix2vantor.exe --batch converts the site into the same files byte for
# byte; and the first page of the installer, to docs/installer-windows.png.
# Builds the Windows view into build-win/ first (see scripts/windows_test.sh),
# and the installer with scripts/windows_package.sh when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
windows_build=${K2V_WINDOWS_BUILD:-build-win}
case $windows_build in /*) ;; *) windows_build=$root/$windows_build ;; esac

# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
scripts/install_packages.sh imagemagick

cmake --preset windows -B "$windows_build" >/dev/null
cmake --build "$windows_build" -j"$(nproc)" --target win32_window_shot win32_batch_window_shot \
  win32_message_box_shot kolbrix2vantor

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

# The message boxes of a conversion into a new folder, with no Radudi32.ini
# in the system folder given: each is pictured where the program says it is.
for name in folder-question-windows result-box-windows; do rm -f "$root/docs/$name.png"; done
(cd "$drive_c/Kolbrix" && wine "$windows_build"/win32_message_box_shot.exe 'C:\Kolbrix\B02' \
  'C:\GANBAN\K001\S01\B03' 'C:\vantor\RADUDI' 'C:\Kolbrix' 3 >"$work/boxes") &
shot=$!
n=0
for name in folder-question-windows result-box-windows; do
  n=$((n + 1))
  for _ in $(seq 300); do [ "$(wc -l <"$work/boxes" 2>/dev/null || echo 0)" -ge $n ] && break; sleep 0.1; done
  read -r left top width height < <(sed -n "${n}p" "$work/boxes")
  sleep 1
  import -window root -crop "${width}x${height}+${left}+${top}" +repage "$root/docs/$name.png"
  echo "Saved $root/docs/$name.png"
done
wait "$shot" || true
test -s "$root/docs/folder-question-windows.png" && test -s "$root/docs/result-box-windows.png"

# The installer's first page (ようこそ), as the user meets it.
installer=$(ls "$windows_build"/kolbrix2vantor-*-setup.exe 2>/dev/null | head -n 1 || true)
if [ -z "$installer" ]; then
  # The installer carries the guide with its pictures; the first time, the
  # window's picture stands in for the one taken below.
  [ -e "$root/docs/installer-windows.png" ] || cp "$root/docs/window-windows.png" "$root/docs/installer-windows.png"
  scripts/windows_package.sh >/dev/null
  installer=$(ls "$windows_build"/kolbrix2vantor-*-setup.exe | head -n 1)
fi
wine "$installer" &
setup=$!
# Its window, by the program's name and not the 1x1 window of the input method.
installer_window() {
  xwininfo -root -tree 2>/dev/null | awk '/-setup\.exe"/ && $0 !~ / 1x1\+/ {
    for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+[0-9-]+\+[0-9-]+$/) { print $i; exit } }'
}
geometry=
for _ in $(seq 150); do
  geometry=$(installer_window)
  [ -n "$geometry" ] && break
  sleep 0.2
done
[ -n "$geometry" ] || { echo "screenshot_windows.sh: the installer showed no window" >&2; exit 1; }
# The page is drawn once its fonts and picture are in.
sleep 3
import -window root -crop "$geometry" +repage "$root/docs/installer-windows.png"
kill "$setup" 2>/dev/null || true
wait "$setup" 2>/dev/null || true
test -s "$root/docs/installer-windows.png"
echo "Saved $root/docs/installer-windows.png"
