#!/usr/bin/env bash
# Runs one command on an X server of its own (Xvfb), with openbox as window
# manager (--wm) or without any (--ohne-wm). Everything started here is ended
# by its own process id when the command ends.
#   tests/mit-x.sh --wm|--ohne-wm COMMAND [ARG...]
set -u
art=$1; shift
case "$art" in --wm|--ohne-wm) ;; *) echo "usage: $0 --wm|--ohne-wm COMMAND..." >&2; exit 2;; esac

tmp=$(mktemp -d)
pids=()
aufraeumen() {
    for ((i=${#pids[@]}-1; i>=0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
    rm -rf "$tmp"
}
trap aufraeumen EXIT
trap 'exit 130' INT TERM

# -displayfd lets the server pick a free display and tell us which.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -nolisten unix-abstract 3>"$tmp/display" 2>"$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 1 100); do
    [ -s "$tmp/display" ] && break
    sleep 0.05
done
if [ ! -s "$tmp/display" ]; then
    echo "Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1
fi
export DISPLAY=":$(head -n1 "$tmp/display")"
export QT_QPA_PLATFORM=xcb
setxkbmap -display "$DISPLAY" us 2>/dev/null

if [ "$art" = --wm ]; then
    export SENDARO_TEST_WM=1
    openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
    pids+=($!)
    # openbox is ready once it has announced itself on the root window.
    for _ in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
else
    export SENDARO_TEST_WM=0
fi

"$@"
rc=$?
exit $rc
