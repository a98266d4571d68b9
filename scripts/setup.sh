#!/usr/bin/env bash
# Installs what the build needs (Debian 12), configures and builds into build/.
# Usage: scripts/setup.sh [TARGET...]: only those targets (default: everything).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev libxkbcommon-dev
          xvfb xauth fonts-ipafont-gothic imagemagick gettext)
scripts/install_packages.sh "${packages[@]}"

cmake --preset release -DK2V_WERROR="${K2V_WERROR:-OFF}"
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
