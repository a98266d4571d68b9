#!/usr/bin/env bash
# The Windows package under Wine, in a fresh Wine prefix of its own:
#   1. the installer, run silently: every file, the Start menu shortcuts and
#      the uninstall entry in place;
#   2. the installed command converts the installed sample as the Linux build
#      does, and the installed window starts and closes;
#   3. an installer of a raised version over it: one entry, and the file that
#      only the earlier version had is gone;
#   4. the uninstaller: the install folder, the shortcuts and the entry are
#      gone, the user's files and Radudi32.ini are not;
#   5. the zip, unpacked, converts the sample.
# Needs the Linux build (build/, or K2V_LINUX_BUILD) for the comparison.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
linux_build=${K2V_LINUX_BUILD:-build}
windows_build=${K2V_WINDOWS_BUILD:-build-win}

scripts/windows_package.sh
source scripts/wine_env.sh

version=$(sed -n 's/^#define K2V_VERSION "\(.*\)"$/\1/p' "$windows_build/generated/version.hpp")
out=$(cd "$windows_build" && pwd)
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
fail() { echo "windows_package_test.sh: $*" >&2; exit 1; }
unix_path() { winepath -u "$(wine cmd.exe /c echo "%$1%" </dev/null 2>/dev/null | tr -d '\r')" 2>/dev/null; }
# A value of the uninstall entry (reg writes in the console's code page, 932).
entry() {
  wine reg query "$key\\kolbrix2vantor" /v "$1" </dev/null 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

work=$(mktemp -d "${TMPDIR:-/tmp}/k2v-package.XXXXXX")
trap 'rm -rf "$work"; cleanup' EXIT
inst="$(unix_path LOCALAPPDATA)/Programs/kolbrix2vantor"
menu="$(unix_path APPDATA)/Microsoft/Windows/Start Menu/Programs/kolbrix2vantor"
mkdir -p "$work/linux-system" "$work/windows-system"
write_radudi_ini "$work/linux-system" "$root/examples/RADUDI"
write_radudi_ini "$work/windows-system" "$root/examples/RADUDI" windows
"$linux_build"/kolbrix2vantor --yes --system-dir "$work/linux-system" examples/sample "$work/linux/S01" >/dev/null 2>&1
sed -i '1,3d' "$work/linux/S01/CNT.TXT"
# Converts the sample with the command exe into $2/S01 and compares it with the Linux build's.
same_as_linux() {
  wine "$1" --yes --system-dir "Z:$work/windows-system" "$(winepath -w "$(dirname "$1")/examples/sample")" \
    "Z:$2/S01" </dev/null >/dev/null 2>&1 || fail "$1 did not convert the sample"
  sed -i '1,3d' "$2/S01/CNT.TXT"
  diff -r "$work/linux/S01" "$2/S01" || fail "$1 converts the sample otherwise than the Linux build"
}

echo "== 1. Silent install into $inst"
wine "$out/kolbrix2vantor-$version-setup.exe" /S </dev/null >/dev/null 2>&1
for f in kolbrix2vantor.exe kolbrix2vantor-gui.exe uninstall.exe LICENSE.txt README.html guide.ja.html \
  examples/README.html examples/sample/X1.TXT examples/RADUDI/kishitu.txt vocabulary/G10A.TXT vocabulary/D12A.TXT; do
  [ -f "$inst/$f" ] || fail "$f is not installed"
done
[ "$(cd "$out/package/kolbrix2vantor-$version" && find . -type f | wc -l)" -eq \
  "$(cd "$inst" && find . -type f ! -name uninstall.exe | wc -l)" ] || fail "the install folder holds other files than the package"
for link in "Kolbrix → Vantor 変換プログラム.lnk" "Kolbrix → Vantor 一括変換.lnk" "使い方の手引き.lnk" "アンインストール.lnk"; do
  [ -f "$menu/$link" ] || fail "no Start menu shortcut $link"
done
[ "$(entry DisplayName)" = "Kolbrix → Vantor 変換プログラム" ] || fail "DisplayName is '$(entry DisplayName)'"
[ "$(entry DisplayVersion)" = "$version" ] || fail "DisplayVersion is '$(entry DisplayVersion)'"
[ "$(entry Publisher)" = "The kolbrix2vantor developers" ] || fail "Publisher is '$(entry Publisher)'"
case "$(entry UninstallString)" in *'\uninstall.exe"') ;; *) fail "UninstallString is '$(entry UninstallString)'" ;; esac
case "$(entry DisplayIcon)" in *'\kolbrix2vantor-gui.exe,0') ;; *) fail "DisplayIcon is '$(entry DisplayIcon)'" ;; esac
[ -n "$(entry EstimatedSize)" ] || fail "no EstimatedSize"
echo "Installed: the files, four shortcuts and the uninstall entry."

echo "== 2. The installed programs"
[ "$(wine "$inst/kolbrix2vantor.exe" --version </dev/null 2>/dev/null | tr -d '\r')" = "kolbrix2vantor $version" ] ||
  fail "the installed command does not tell its version"
same_as_linux "$inst/kolbrix2vantor.exe" "$work/installed"
KOLBRIX2VANTOR_RADUDI="$(winepath -w "$inst/examples/RADUDI")" wine "$inst/kolbrix2vantor-gui.exe" </dev/null >/dev/null 2>&1 &
window=$!
sleep 5
kill -0 "$window" 2>/dev/null || fail "the installed window did not stay open"
# Without /F taskkill asks the window to close, as its close button does.
wine taskkill /im kolbrix2vantor-gui.exe </dev/null >/dev/null 2>&1
for _ in $(seq 100); do kill -0 "$window" 2>/dev/null || break; sleep 0.2; done
kill -0 "$window" 2>/dev/null && fail "the installed window did not close"
wait "$window" || fail "the installed window ended with status $?"
echo "The command converts the installed sample as the Linux build does; the window starts and closes."

echo "== 3. A raised version over it"
# The earlier installer again, with one more file that the raised version no
# longer has; then the raised one.
older="$work/older"
cp -r "$out/package" "$older"
echo "only in the earlier version" >"$older/old-only.txt"
printf 'SetOutPath "$INSTDIR"\nFile "%s"\n' "$older/old-only.txt" >>"$older/install_files.nsh"
sed -i "1i Delete \"\$INSTDIR\\\\old-only.txt\"" "$older/uninstall_files.nsh"
makensis -V1 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$older/kolbrix2vantor-$version" -DLISTS="$older" \
  -DOUTFILE="$work/older-setup.exe" packaging/windows/kolbrix2vantor.nsi
wine "$work/older-setup.exe" /S </dev/null >/dev/null 2>&1
[ -f "$inst/old-only.txt" ] || fail "the earlier version's own file is not installed"
raised=$(echo "$version" | awk -F. '{ printf "%d.%d.%d", $1, $2, $3 + 1 }')
# Built in the test's own folder: the build folder keeps its one installer.
K2V_PACKAGE_VERSION=$raised K2V_PACKAGE_OUT="$work/raised" scripts/windows_package.sh >/dev/null
wine "$work/raised/kolbrix2vantor-$raised-setup.exe" /S </dev/null >/dev/null 2>&1
[ ! -e "$inst/old-only.txt" ] || fail "a file of the earlier version stayed"
[ "$(wine reg query "$key" </dev/null 2>/dev/null | grep -ci kolbrix2vantor)" -eq 1 ] || fail "not one uninstall entry"
[ "$(entry DisplayVersion)" = "$raised" ] || fail "DisplayVersion is '$(entry DisplayVersion)' after the upgrade"
[ -f "$inst/kolbrix2vantor.exe" ] || fail "the upgrade lost the program"
echo "Upgraded to $raised: one entry, no file of the earlier version."

echo "== 4. Uninstall"
config="$(unix_path APPDATA)/kolbrix2vantor"
mkdir -p "$config"
printf '[RADUDI]\r\nC:\\RADUDI\\\r\n' >"$config/Radudi32.ini"
echo "the engineer's notes" >"$work/installed/S01/notes.txt"
# The uninstaller copies itself and returns at once, unless told its folder
# with _?=; then it cannot remove itself, which is left to its caller.
wine "$inst/uninstall.exe" /S "_?=$(winepath -w "$inst")" </dev/null >/dev/null 2>&1
[ "$(ls -A "$inst")" = uninstall.exe ] || fail "the uninstaller left: $(ls -A "$inst" | tr '\n' ' ')"
rm "$inst/uninstall.exe" && rmdir "$inst"
[ ! -e "$menu" ] || fail "the Start menu folder stayed"
wine reg query "$key\\kolbrix2vantor" </dev/null >/dev/null 2>&1 && fail "the uninstall entry stayed"
[ -f "$config/Radudi32.ini" ] || fail "Radudi32.ini was removed"
[ -f "$work/installed/S01/notes.txt" ] && [ -f "$work/installed/S01/D10.txt" ] || fail "the converted data was touched"
echo "Removed: the files, the shortcuts and the entry; the converted data and Radudi32.ini stay."

echo "== 5. The zip"
mkdir -p "$work/zip"
(cd "$work/zip" && unzip -q "$out/kolbrix2vantor-$version-windows.zip")
same_as_linux "$work/zip/kolbrix2vantor-$version/kolbrix2vantor.exe" "$work/unzipped"
echo "The unpacked zip converts the sample as the Linux build does."
[ "$(find "$out" -maxdepth 1 -name 'kolbrix2vantor-*-setup.exe' | wc -l)" -eq 1 ] &&
  [ "$(find "$out" -maxdepth 1 -name 'kolbrix2vantor-*-windows.zip' | wc -l)" -eq 1 ] ||
  fail "$out holds other than one installer and one zip"
echo "Installer $(du -k "$out/kolbrix2vantor-$version-setup.exe" | cut -f1) KiB, zip $(du -k "$out/kolbrix2vantor-$version-windows.zip" | cut -f1) KiB."
