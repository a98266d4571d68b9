#!/usr/bin/env bash
# Converts the bundled sample boring into out/sample and lists what it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the command and the window: the tests and benchmarks are built by scripts/test.sh.
scripts/setup.sh kolbrix2vantor kolbrix2vantor-gui

# The X6 conversion reads Radudi32.ini from the system folder; its line 2 names
# the pattern-data folder with L9.txt and L22.txt.
system_dir="$PWD/out/system"
mkdir -p "$system_dir"
printf '[RADUDI]\r\n%s/\r\n' "$PWD/examples/RADUDI" > "$system_dir/Radudi32.ini"

rm -rf out/sample
build/kolbrix2vantor --yes --system-dir "$system_dir" examples/sample out/sample
echo
echo "Written to out/sample:"
ls -l out/sample | tail -n +2
