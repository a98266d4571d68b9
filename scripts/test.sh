#!/usr/bin/env bash
# Builds and runs the whole test suite, then again under ASan and UBSan, then
# the fuzz targets, the Debian package (built, installed, run, removed) and the
# Windows build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

echo "== Test suite"
(cd build && ctest --output-on-failure -j"$(nproc)")

echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DK2V_SANITIZE=ON -DK2V_BUILD_BENCH=OFF
cmake --build build-sanitize -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-sanitize && ctest --output-on-failure -j"$(nproc)")

echo "== Fuzz targets (libFuzzer under ASan and UBSan), ${FUZZ_SECONDS:-60} s each"
FUZZ_SECONDS="${FUZZ_SECONDS:-60}" scripts/fuzz.sh

echo "== The Debian package: built, installed with apt-get, run, removed"
scripts/package_test.sh

echo "== Windows build: the tests under Wine and the sample against the Linux build"
scripts/windows_test.sh
