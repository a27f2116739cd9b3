#!/usr/bin/env bash
# Installs what the program needs, builds it and starts the wizard
# tvverknuepfen on the user's X display ($DISPLAY). A default sendwacht.cfg
# is created in the program folder when there is none or the suite cannot
# use it (einrichter keeps an unusable one as sendwacht.cfg.bak first and
# never changes a usable one). Without a display, tvverknuepfen says so in
# German and ends with exit code 1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/abhaengigkeiten.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
build/bin/einrichter
exec build/bin/tvverknuepfen
