#!/usr/bin/env bash
# Installs what is needed, builds Zelvano, installs the portable program
# folder and starts the program.
#   ./run.sh [--install-only] [FOLDER]     (FOLDER defaults to $HOME/Zelvano)
# Data already in the folder (archives, supplies, the password) is never
# overwritten; only the program files are refreshed.
set -euo pipefail
cd "$(dirname "$0")"
SOURCE=$(pwd)

INSTALL_ONLY=0
FOLDER="$HOME/Zelvano"
for arg in "$@"; do
  case "$arg" in
    --install-only) INSTALL_ONLY=1 ;;
    -h|--help) sed -n '2,6p' "$0"; exit 0 ;;
    -*) echo "Unknown option: $arg" >&2; exit 2 ;;
    *) FOLDER="$arg" ;;
  esac
done

source scripts/setup.sh
zelvano_install_packages

BUILD=build-release
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVANO_BUILD_TESTS=OFF -DZELVANO_BUILD_BENCH=OFF
cmake --build "$BUILD" -j "$(zelvano_jobs)"
zelvano_install_folder "$BUILD" "$FOLDER"
FOLDER=$(cd "$FOLDER" && pwd)

# A desktop menu entry pointing at this program folder. It sets no platform:
# the program itself prefers X11 (XWayland on a Wayland desktop) unless the
# session or the user chose one with QT_QPA_PLATFORM.
APPS="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$APPS"
cat > "$APPS/zelvano.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Zelvano
GenericName=Gestionale forniture
Comment=Clienti, prodotti e servizi, forniture
Exec="$FOLDER/zelvano"
Path=$FOLDER
Icon=$FOLDER/zelvano.png
Terminal=false
Categories=Office;Finance;
DESKTOP
command -v update-desktop-database >/dev/null && update-desktop-database "$APPS" 2>/dev/null || true

echo "Zelvano is installed in $FOLDER"
[ "$INSTALL_ONLY" -eq 1 ] && exit 0
exec "$FOLDER/zelvano"
