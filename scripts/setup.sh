#!/usr/bin/env bash
# Installs the Debian 12 packages Zelvano needs to build, test and run.
# Sourced by run.sh and test.sh; uses sudo when not run as root.
set -euo pipefail

# What building the program and its tests takes.
ZELVANO_BUILD_PACKAGES=(
  # lld links the test programs faster than the default linker
  build-essential cmake ninja-build ccache pkg-config lld
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6
  # Qt's own texts in Italian; Wayland when there is no X server to fall back on
  qt6-translations-l10n qt6-wayland
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core xdg-utils locales
  libxlsxwriter-dev libzip-dev
)
# What only the checks take: independent readers of the exports, a real X
# server, a print queue, and clang for the sanitizer pass.
ZELVANO_CHECK_PACKAGES=(
  python3-openpyxl python3-docx poppler-utils
  # LibreOffice reads every export back; a private print queue prints to PDF
  libreoffice-calc-nogui libreoffice-writer-nogui cups printer-driver-cups-pdf
  # the tests on a real X server (tests/x11)
  python3 xvfb openbox xdotool wmctrl xclip x11-apps x11-utils imagemagick
  # the sanitizer pass and the fuzz targets (clang, libFuzzer)
  clang libclang-rt-14-dev llvm
)
ZELVANO_PACKAGES=("${ZELVANO_BUILD_PACKAGES[@]}" "${ZELVANO_CHECK_PACKAGES[@]}")

# zelvano_install PACKAGE...: installs those not installed yet.
zelvano_install() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

zelvano_install_packages() { zelvano_install "${ZELVANO_PACKAGES[@]}"; }

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

# Installs the program files of the build folder BUILD into the program
# folder FOLDER, and the first password when FOLDER has no password store yet.
# Data already in the folder is never touched.
zelvano_install_folder() {
  local build=$1 folder=$2
  local stage="$build/stage"
  rm -rf "$stage"
  cmake --install "$build" --prefix "$stage" >/dev/null
  mkdir -p "$folder"
  # Program files are replaced; anything else in the folder is left alone.
  local f
  for f in "$stage"/*; do
    install -m 0755 -D "$f" "$folder/$(basename "$f")"
  done
  chmod 0644 "$folder"/Guida.pdf "$folder"/zelvano.png 2>/dev/null || true
  if [ ! -e "$folder/unins000.dll" ]; then
    printf 'ZELVANO\n' | "$folder/zelvano-cli" password "$folder" >/dev/null
    echo "Initial password: ZELVANO (change it from the login window, 'Cambia password')."
  fi
}
