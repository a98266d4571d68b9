#!/usr/bin/env bash
# Converts the bundled sample boring into out/sample and lists what it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the command and the window: the tests and benchmarks are built by scripts/test.sh.
scripts/setup.sh kolbrix2vantor kolbrix2vantor-gui

# shellcheck source=scripts/common.sh
source scripts/common.sh
system_dir="$PWD/out/system"
mkdir -p "$system_dir"
write_radudi_ini "$system_dir" "$PWD/examples/RADUDI"

rm -rf out/sample
build/kolbrix2vantor --yes --system-dir "$system_dir" examples/sample out/sample
echo
echo "Written to out/sample:"
ls -l out/sample | tail -n +2
