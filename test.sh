#!/usr/bin/env bash
# Installs what is needed, builds Zelvano with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
zelvano_install_packages
zelvano_italian_locale

# Line tables are all the debug information a failing test needs (a
# backtrace or a sanitizer report with files and lines); the full debug
# information of the Qt headers costs about a quarter of each window file's
# compile time and most of the link time.
BUILD=build-test
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
cmake --build "$BUILD" -j "$(zelvano_jobs)"
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(zelvano_jobs)"
cd ..

# The same suite again, built by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer (any report fails its test), together with the
# fuzz targets, each run briefly from its seeds. The tests on a real X server
# drive the installed program and are left to the first pass.
# ZELVANO_SANITIZERS=0 ./test.sh skips this pass.
if [ "${ZELVANO_SANITIZERS:-1}" != 0 ]; then
  SANITIZED=build-asan
  cmake -S . -B "$SANITIZED" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DZELVANO_SANITIZE=ON -DZELVANO_FUZZ=ON -DZELVANO_BUILD_BENCH=OFF
  cmake --build "$SANITIZED" -j "$(zelvano_jobs)"
  cd "$SANITIZED"
  export LSAN_OPTIONS="use_tls=0:suppressions=$(pwd)/../tests/lsan.supp"
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(zelvano_jobs)" -E '^x11_scenarios$'
fi
