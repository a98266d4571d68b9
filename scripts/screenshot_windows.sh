#!/usr/bin/env bash
# Saves a picture of the Win32 window (kolbrix2vantor-gui.exe under Wine),
# after it converted the bundled sample, to docs/window-windows.png. Builds
# the Windows view into build-win/ first (see scripts/windows_test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
windows_build=${K2V_WINDOWS_BUILD:-build-win}
case $windows_build in /*) ;; *) windows_build=$root/$windows_build ;; esac

# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
scripts/install_packages.sh imagemagick

cmake --preset windows -B "$windows_build" >/dev/null
cmake --build "$windows_build" -j"$(nproc)" --target win32_window_shot

# Neutral folders on drive C: of the Wine prefix, so that the picture shows
# no path of the build machine and does not change from one run to the next:
# the export in C:\Kolbrix\B02, Vantor's RADUDI and Radudi32.ini in C:\vantor,
# the destination in Vantor's layout. The lists open on C:\Kolbrix, the folder
# the window starts in.
work=${TMPDIR:-/tmp}/kolbrix2vantor-shot
rm -rf "$work"
mkdir -p "$work"
trap 'cleanup; rm -rf "$work"' EXIT
drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/Kolbrix" "$drive_c/vantor"
cp -r "$root/examples/sample" "$drive_c/Kolbrix/B02"
cp -r "$root/examples/RADUDI" "$drive_c/vantor/RADUDI"
printf '[RADUDI]\r\nC:\\vantor\\RADUDI\\\r\n' >"$drive_c/vantor/Radudi32.ini"
out=$root/docs/window-windows.png
(cd "$drive_c/Kolbrix" && wine "$windows_build"/win32_window_shot.exe 'C:\Kolbrix\B02' 'C:\GANBAN\K001\S01\B02' \
  'C:\vantor\RADUDI' 'C:\vantor' 6 >"$work/place") &
shot=$!
for _ in $(seq 100); do [ -s "$work/place" ] && break; sleep 0.1; done
sleep 2
read -r left top width height <"$work/place"
import -window root -crop "${width}x${height}+${left}+${top}" +repage "$out"
wait "$shot" || true
test -s "$out"
echo "Saved $out"
