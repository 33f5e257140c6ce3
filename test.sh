#!/usr/bin/env bash
# Installs what is needed, builds Zelvano with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
zelvano_install_packages
zelvano_italian_locale

BUILD=build-test
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j "$(zelvano_jobs)"
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(zelvano_jobs)"
