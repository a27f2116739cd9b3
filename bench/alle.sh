#!/usr/bin/env bash
# Runs every benchmark and prints its figures; each X11 benchmark gets an X
# server of its own, with and without a window manager. Nothing is asserted.
#   bench/alle.sh [BUILD-ORDNER]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -x "$build/bench/bench_prozessliste" ]; then
    echo "Erst bauen: cmake -S . -B $build -G Ninja && cmake --build $build" >&2
    exit 1
fi

echo "== Prozessliste gegen ps -e"
"$build/bench/bench_prozessliste"
for art in --wm --ohne-wm; do
    echo "== Fenstersuche und Aktivierung ($art)"
    tests/mit-x.sh "$art" "$build/bench/bench_fenstersuche"
    if [ -x "$build/bench/tippen" ]; then
        echo "== 1000 Zeichen tippen gegen xdotool type ($art)"
        tests/mit-x.sh "$art" "$build/bench/tippen"
    fi
    echo "== Assistent: Leerlauf und Start mit 1000 Definitionsdateien ($art)"
    tests/mit-x.sh "$art" "$build/bench/bench_assistent"
done
