#!/usr/bin/env bash
# Installs what is needed, builds Zelvano with its tests and runs every test.
#
# Two builds. The first is the program as ./run.sh builds it (GCC,
# optimised): it is installed and driven on a real X server, and its
# benchmarks run once. The second, by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer (any report fails its test), runs every other
# test: the core's and the windows' suites, the exports read back by
# LibreOffice, the include check, and the fuzz targets, each briefly from
# its seeds. Each test runs once, under the stricter build where it can.
# ZELVANO_SANITIZERS=0 ./test.sh skips the second build and runs everything
# in the first.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
zelvano_install "${ZELVANO_BUILD_PACKAGES[@]}"
zelvano_italian_locale
SANITIZERS=${ZELVANO_SANITIZERS:-1}

# What only the checks need (LibreOffice, the X server, the print queue,
# clang) is installed while the first build compiles.
BUILD=build-test
mkdir -p "$BUILD"
zelvano_install "${ZELVANO_CHECK_PACKAGES[@]}" > "$BUILD/check-packages.log" 2>&1 &
CHECK_PACKAGES=$!
check_packages_installed() {
  if ! wait "$CHECK_PACKAGES"; then
    cat "$BUILD/check-packages.log" >&2
    echo "installing the packages of the checks failed" >&2
    exit 1
  fi
}

# Line tables are all the debug information a failing test needs (a
# backtrace or a sanitizer report with files and lines); the full debug
# information of the Qt headers costs about a quarter of each window file's
# compile time and most of the link time.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
FIRST_PASS_TESTS='^(x11_scenarios|bench_smoke)$'
if [ "$SANITIZERS" != 0 ]; then
  cmake --build "$BUILD" -j "$(zelvano_jobs)" --target program-folder benchmarks
else
  cmake --build "$BUILD" -j "$(zelvano_jobs)"
  FIRST_PASS_TESTS='.'
fi
check_packages_installed
(cd "$BUILD" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(zelvano_jobs)" -R "$FIRST_PASS_TESTS")
[ "$SANITIZERS" != 0 ] || exit 0

# The tests on a real X server drive the installed program of the first build.
SANITIZED=build-asan
cmake -S . -B "$SANITIZED" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DZELVANO_SANITIZE=ON -DZELVANO_FUZZ=ON -DZELVANO_BUILD_BENCH=OFF
cmake --build "$SANITIZED" -j "$(zelvano_jobs)"
cd "$SANITIZED"
export LSAN_OPTIONS="use_tls=0:suppressions=$(pwd)/../tests/lsan.supp"
# A failed test runs once more and fails the suite only if it fails again:
# the leak checker, which cannot read thread-local storage here, now and then
# reports a block of Qt's own that only such storage holds, when one of Qt's
# threads is still alive as the test's process ends. Every failure stays in
# the log.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(zelvano_jobs)" -E '^x11_scenarios$' \
  --repeat until-pass:2
