#!/usr/bin/env bash
# Installs the Debian 12 packages Zelvano needs to build, test and run.
# Sourced by run.sh and test.sh; uses sudo when not run as root.
set -euo pipefail

ZELVANO_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core xdg-utils
)

zelvano_install_packages() {
  local missing=()
  for p in "${ZELVANO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

zelvano_jobs() { nproc 2>/dev/null || echo 2; }
