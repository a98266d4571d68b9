#!/usr/bin/env bash
# Runs the Windows installer under Wine as a user would, pressing Enter on
# each page, and saves a picture of every page (welcome, licence, folder,
# finish) to build-win/installer-pages/, to be looked at: NSIS's Japanese
# pages are drawn with the fonts the Wine set-up maps to ＭＳ Ｐゴシック and
# ＭＳ ゴシック. Builds the installer first (scripts/windows_package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
windows_build=${K2V_WINDOWS_BUILD:-build-win}

scripts/windows_package.sh >/dev/null
# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
scripts/install_packages.sh imagemagick xdotool

version=$(sed -n 's/^#define K2V_VERSION "\(.*\)"$/\1/p' "$windows_build/generated/version.hpp")
pages=$windows_build/installer-pages
rm -rf "$pages"
mkdir -p "$pages"
wine "$windows_build/kolbrix2vantor-$version-setup.exe" </dev/null >/dev/null 2>&1 &
setup=$!
for page in welcome licence folder finish; do
  sleep 6
  window=$(xdotool search --name 'セットアップ' | tail -1)
  [ -n "$window" ] || { echo "installer_pages.sh: no installer window for the $page page" >&2; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$pages/$page.png"
  echo "Saved $pages/$page.png"
  # Enter: 次へ, 同意する, インストール (the files page goes on by itself).
  [ "$page" = finish ] || xdotool key --window "$window" Return
done
kill "$setup" 2>/dev/null || true
