#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get, runs both programs'
# --version, the command's Japanese and English help, both Japanese man pages,
# a conversion of the bundled sample with the installed command (compared byte
# for byte with the build's) and the guide's first conversion as the guide
# writes it (scripts/guide_example_test.sh), and removes the package again.
# Refuses to touch a kolbrix2vantor that is already installed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# shellcheck source=scripts/common.sh
source scripts/common.sh
# man -L ja renders the Japanese man pages.
scripts/install_packages.sh man-db

installed() { dpkg-query -W -f='${Status}' kolbrix2vantor 2>/dev/null | grep -q "install ok installed"; }

if installed; then
  echo "package_test.sh: kolbrix2vantor is already installed here; the test would replace and remove it." >&2
  echo "package_test.sh: remove it first (apt-get remove kolbrix2vantor)." >&2
  exit 1
fi

deb=$(scripts/package.sh | tail -n 1)
echo "Built $deb"
dpkg-deb --field "$deb" Package Version Depends Recommends

work=$(mktemp -d "${TMPDIR:-/tmp}/k2v-package.XXXXXX")
cleanup() {
  rm -rf "$work"
  if installed; then
    apt_get remove -y -qq kolbrix2vantor >/dev/null
  fi
}
trap cleanup EXIT

echo "== Installing $deb"
apt_get install -y -qq --no-install-recommends "$root/$deb" >/dev/null

echo "== The installed programs"
/usr/bin/kolbrix2vantor --version
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/kolbrix2vantor-gui --version
for f in /usr/share/applications/kolbrix2vantor.desktop /usr/share/icons/hicolor/scalable/apps/kolbrix2vantor.svg \
         /usr/share/man/man1/kolbrix2vantor.1.gz /usr/share/man/man1/kolbrix2vantor-gui.1.gz \
         /usr/share/man/ja/man1/kolbrix2vantor.1.gz /usr/share/man/ja/man1/kolbrix2vantor-gui.1.gz \
         /usr/share/locale/ja/LC_MESSAGES/kolbrix2vantor.mo \
         /usr/share/bash-completion/completions/kolbrix2vantor /usr/share/doc/kolbrix2vantor/copyright \
         /usr/share/doc/kolbrix2vantor/docs/guide.ja.md; do
  test -s "$f" || { echo "package_test.sh: $f is missing from the package" >&2; exit 1; }
done
# The starter vocabulary as the tree holds it (D12A.TXT is empty).
for f in G10A.TXT D12A.TXT; do
  cmp "/usr/share/kolbrix2vantor/$f" "vocabulary/$f" || { echo "package_test.sh: $f differs from vocabulary/$f" >&2; exit 1; }
done

echo "== Japanese: the command's own lines and the man pages"
# Japanese from LANG whether or not the locale is installed ("ja" names none).
for lang in ja_JP.UTF-8 ja; do
  env -u LC_ALL -u LC_MESSAGES LANG=$lang /usr/bin/kolbrix2vantor --help | grep -q '^使い方: kolbrix2vantor ' ||
    { echo "package_test.sh: LANG=$lang kolbrix2vantor --help is not Japanese" >&2; exit 1; }
done
env -u LC_ALL -u LC_MESSAGES LANG=C /usr/bin/kolbrix2vantor --help | grep -q '^Usage: kolbrix2vantor ' ||
  { echo "package_test.sh: LANG=C kolbrix2vantor --help is not English" >&2; exit 1; }
for page in kolbrix2vantor kolbrix2vantor-gui; do
  # Rendered by man itself, without a line groff cannot break.
  shown=$(MANWIDTH=80 man -L ja "$page" 2>"$work/man-warnings")
  grep -q '^名前' <<<"$shown" || { echo "package_test.sh: man -L ja $page is not the Japanese page" >&2; exit 1; }
  if [ -s "$work/man-warnings" ]; then cat "$work/man-warnings" >&2; exit 1; fi
done
echo "kolbrix2vantor --help speaks Japanese under LANG=ja_JP.UTF-8 and LANG=ja, English under LANG=C;"
echo "man -L ja shows both Japanese pages."

echo "== The bundled sample, converted by the installed command and by the build"
mkdir -p "$work/system"
write_radudi_ini "$work/system" /usr/share/doc/kolbrix2vantor/examples/RADUDI
# The same destination path for both runs: CNT.TXT names its folders.
/usr/bin/kolbrix2vantor --yes --system-dir "$work/system" /usr/share/doc/kolbrix2vantor/examples/sample \
  "$work/out/S01" >/dev/null
mv "$work/out" "$work/installed"
build/kolbrix2vantor --yes --system-dir "$work/system" examples/sample "$work/out/S01" >/dev/null
diff -r "$work/installed" "$work/out"
echo "The installed command converts examples/sample as the build does, byte for byte."

echo "== The guide's first conversion, as the guide writes it, with the installed package"
scripts/guide_example_test.sh linux

echo "== Removing the package"
apt_get remove -y -qq kolbrix2vantor >/dev/null
if installed || [ -e /usr/bin/kolbrix2vantor ]; then
  echo "package_test.sh: /usr/bin/kolbrix2vantor is still there after the removal" >&2
  exit 1
fi
echo "Installed, ran and removed $deb."
