#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs (apt-get; as root, or
# through sudo). Only packages that are missing are installed.
#   scripts/abhaengigkeiten.sh          build and run the programs
#   scripts/abhaengigkeiten.sh --tests  also everything the tests need
set -euo pipefail

pakete=(cmake ninja-build g++ pkg-config
        qt6-base-dev qt6-translations-l10n libqt6sql6-sqlite
        libx11-dev libxtst-dev libxkbcommon-dev libasound2-dev libasound2-plugins
        fonts-dejavu-core fonts-arkpandora)
if [ "${1:-}" = --tests ]; then
    pakete+=(xvfb openbox x11-utils x11-xkb-utils xdotool xterm
             pulseaudio pulseaudio-utils alsa-utils
             clang-14 libclang-rt-14-dev
             desktop-file-utils libglib2.0-bin
             ffmpeg vlc mpv mplayer kaffeine kodi)
    # dbus-run-session: KDE programs such as Kaffeine start only with a
    # session bus, which the tests give them.
    pakete+=(dbus-daemon)
fi

fehlend=()
for p in "${pakete[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || fehlend+=("$p")
done
[ ${#fehlend[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
fi
echo "Installiere: ${fehlend[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${fehlend[@]}"
