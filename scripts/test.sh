#!/usr/bin/env bash
# Builds and runs the whole test suite, then again under ASan and UBSan, then
# the fuzz targets, the Debian package (built, installed, run, removed) and the
# Windows build. Every build treats a compiler warning as an error: GCC's here,
# clang's in the sanitizer build and the fuzz targets', mingw-w64's in the
# Windows build.
set -euo pipefail
cd "$(dirname "$0")/.."
export K2V_WERROR=ON

echo "== Format (.clang-format) of src/ and tests/"
scripts/install_packages.sh clang-format
find src tests \( -name '*.cpp' -o -name '*.hpp' \) -print0 | xargs -0 clang-format --dry-run --Werror

scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

echo "== Test suite"
(cd build && ctest --output-on-failure -j"$(nproc)")

echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer, built by clang"
scripts/install_packages.sh clang libclang-rt-dev
cmake --preset sanitize -DK2V_WERROR=ON
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
