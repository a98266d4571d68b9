#!/usr/bin/env bash
# The Windows build: cross-builds the command, the window
# (kolbrix2vantor-gui.exe) and the tests with Debian's mingw-w64 into
# build-win/, runs the tests under Wine on a virtual X display, converts the
# bundled sample with kolbrix2vantor.exe and with the window, and compares
# both outputs with the Linux build's (build/, made by scripts/setup.sh) byte
# for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# The Linux build to compare with, and the folder of the Windows build.
linux_build=${K2V_LINUX_BUILD:-build}
windows_build=${K2V_WINDOWS_BUILD:-build-win}

# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh

echo "== Windows build (mingw-w64)"
cmake --preset windows -B "$windows_build" -DK2V_WERROR="${K2V_WERROR:-OFF}"
cmake --build "$windows_build" -j"$(nproc)"

work=$(mktemp -d "${TMPDIR:-/tmp}/k2v-sample.XXXXXX")
mkdir -p "$work/linux-system" "$work/windows-system" "$work/linux" "$work/windows" "$work/window"

echo "== Test suite under Wine"
# The window's run test converts the sample into this folder.
export K2V_GUI_SAMPLE_OUT="Z:$work/window/S01"
(cd "$windows_build" && ctest --output-on-failure -j"$(nproc)")

echo "== The sample converted by kolbrix2vantor.exe and by the window, against the Linux build"
# Radudi32.ini names the same pattern-data folder to each build, in its own form.
write_radudi_ini "$work/linux-system" "$root/examples/RADUDI"
write_radudi_ini "$work/windows-system" "$root/examples/RADUDI" windows
"$linux_build"/kolbrix2vantor --yes --system-dir "$work/linux-system" examples/sample "$work/linux/S01" >/dev/null
wine "$windows_build"/kolbrix2vantor.exe --yes --system-dir "Z:$work/windows-system" "Z:$root/examples/sample" \
  "Z:$work/windows/S01" >/dev/null
# CNT.TXT lines 1 to 3 are the destination's folder names.
for side in linux windows window; do
  sed -i '1,3d' "$work/$side/S01/CNT.TXT"
done
diff -r "$work/linux/S01" "$work/windows/S01"
diff -r "$work/linux/S01" "$work/window/S01"
echo "The Windows conversions of examples/sample (command and window) match the Linux one byte for byte."
rm -rf "$work"

echo "== The guide's first conversion at the command prompt, as the guide writes it"
scripts/guide_example_test.sh windows

echo "== The Windows package: installer and zip, installed, used, upgraded and removed under Wine"
scripts/windows_package_test.sh
