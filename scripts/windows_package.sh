#!/usr/bin/env bash
# Builds the Windows installer and the portable zip into build-win/ from the
# folder that `cmake --install` makes of the Windows build:
#   kolbrix2vantor-VERSION-setup.exe    (NSIS, per user, in Japanese)
#   kolbrix2vantor-VERSION-windows.zip  (the same files, no installation)
# Both hold the window and the command line, the licence, the README and the
# Japanese guide as HTML (rendered with cmark-gfm), the starter vocabulary
# (vocabulary\G10A.TXT and D12A.TXT), and the bundled sample and RADUDI
# example. VERSION is the project's version in CMake; the tests set
# K2V_PACKAGE_VERSION to build an installer of another version from the same
# files, and K2V_PACKAGE_OUT to build it into a folder of their own. The
# output folder keeps one installer and one zip: those of other versions are
# removed. Installs the Debian packages it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
windows_build=${K2V_WINDOWS_BUILD:-build-win}

scripts/install_packages.sh mingw-w64 icoutils nsis cmark-gfm zip python3 gettext

cmake -S . -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DK2V_BUILD_GUI=ON -DK2V_BUILD_BENCH=OFF >/dev/null
cmake --build "$windows_build" -j"$(nproc)" --target kolbrix2vantor kolbrix2vantor-gui k2v_documents
version_header="$windows_build/generated/version.hpp"
version=${K2V_PACKAGE_VERSION:-$(sed -n 's/^#define K2V_VERSION "\(.*\)"$/\1/p' "$version_header")}
[ -n "$version" ] || { echo "windows_package.sh: no version in $version_header" >&2; exit 1; }

build=$(cd "$windows_build" && pwd)
out=${K2V_PACKAGE_OUT:-$build}
mkdir -p "$out"
out=$(cd "$out" && pwd)
package="$out/package"
name="kolbrix2vantor-$version"
stage="$package/$name"
rm -rf "$package"
mkdir -p "$package"
# The installed tree is the package.
cmake --install "$windows_build" --prefix "$stage" --strip >/dev/null
cp "$build/kolbrix2vantor.ico" "$package/"
# The licence page wraps the text itself: each paragraph of the licence on
# one line.
awk 'BEGIN { RS = ""; ORS = "\r\n\r\n" } { gsub(/\n/, " "); print }' LICENSE >"$package/license-page.txt"

# The installer's file lists: every file and folder by name, so that the
# uninstaller removes exactly what was installed and nothing else.
(
  cd "$stage"
  {
    find . -type d | sort | while read -r dir; do
      rel=${dir#./}; rel=${rel#.}
      win=${rel//\//\\}
      echo "SetOutPath \"\$INSTDIR${win:+\\$win}\""
      find "$dir" -maxdepth 1 -type f | sort | while read -r file; do
        echo "File \"$stage/${file#./}\""
      done
    done
    echo 'SetOutPath "$INSTDIR"'
  } >"$package/install_files.nsh"
  {
    find . -type f | sort | sed 's|^\./||' | while read -r file; do
      echo "Delete \"\$INSTDIR\\${file//\//\\}\""
    done
    find . -mindepth 1 -type d | sort -r | sed 's|^\./||' | while read -r dir; do
      echo "RMDir \"\$INSTDIR\\${dir//\//\\}\""
    done
  } >"$package/uninstall_files.nsh"
)

rm -f "$out"/kolbrix2vantor-*-setup.exe "$out"/kolbrix2vantor-*-windows.zip
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DLISTS="$package" \
  -DOUTFILE="$out/$name-setup.exe" packaging/windows/kolbrix2vantor.nsi
(cd "$package" && zip -qr -X "$out/$name-windows.zip" "$name")
echo "Installer: $out/$name-setup.exe ($(du -k "$out/$name-setup.exe" | cut -f1) KiB)"
echo "Zip:       $out/$name-windows.zip ($(du -k "$out/$name-windows.zip" | cut -f1) KiB)"
