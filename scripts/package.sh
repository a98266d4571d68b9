#!/usr/bin/env bash
# Builds the Debian package build/kolbrix2vantor_<version>_<arch>.deb (the
# command, the window, desktop entry, icons, man pages, bash completion and
# documents; its dependencies come from dpkg-shlibdeps) and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh kolbrix2vantor kolbrix2vantor-gui man_pages
# cpack's dependency search needs dpkg-shlibdeps (dpkg-dev) and file.
scripts/install_packages.sh dpkg-dev file
rm -f build/kolbrix2vantor_*.deb
(cd build && cpack -G DEB >/dev/null)
ls build/kolbrix2vantor_*.deb
