#!/usr/bin/env bash
# Installs the Debian 12 packages Zelvano needs to build, test and run.
# Sourced by run.sh and test.sh; uses sudo when not run as root.
set -euo pipefail

ZELVANO_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core xdg-utils locales
  libxlsxwriter-dev libzip-dev python3-openpyxl python3-docx poppler-utils
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

# The tests also run under a locale whose decimal separator is a comma, to
# prove that numbers never depend on the system locale.
zelvano_italian_locale() {
  locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$' && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" sed -i 's/^# *\(it_IT.UTF-8 UTF-8\)/\1/' /etc/locale.gen 2>/dev/null || true
  grep -q '^it_IT.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'it_IT.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen >/dev/null || echo "warning: could not generate it_IT.UTF-8" >&2
}

zelvano_jobs() { nproc 2>/dev/null || echo 2; }
