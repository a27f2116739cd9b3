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

# A display number of our own, away from :0 and tried at random: a server
# that is just shutting down for a test run in parallel removes its lock and
# socket files, and would take a new server on the same number with them.
# -displayfd tells when the server is ready.
display=""
for _ in 1 2 3 4 5 6 7 8 9 10; do
    nr=$((100 + RANDOM % 800))
    : >"$tmp/display"
    Xvfb ":$nr" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    pid=$!
    for _ in $(seq 1 100); do
        [ -s "$tmp/display" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if [ -s "$tmp/display" ] && xprop -display ":$nr" -root >/dev/null 2>&1; then
        pids+=("$pid")
        display=":$nr"
        break
    fi
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
done
if [ -z "$display" ]; then
    echo "Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1
fi
export DISPLAY="$display"
export QT_QPA_PLATFORM=xcb
setxkbmap -display "$DISPLAY" us 2>/dev/null

if [ "$art" = --wm ]; then
    export SENDARO_TEST_WM=1
    # openbox is ready once it has announced itself on the root window; one
    # that ends or stays silent is started again, and a test without the
    # window manager it asked for is not run at all.
    bereit=""
    for _ in 1 2 3; do
        openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
        pid=$!
        for _ in $(seq 1 200); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && bereit=1 && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        [ -n "$bereit" ] && { pids+=("$pid"); break; }
        kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    done
    if [ -z "$bereit" ]; then
        echo "openbox did not start:" >&2; cat "$tmp/openbox.log" >&2; exit 1
    fi
else
    export SENDARO_TEST_WM=0
fi

"$@"
rc=$?
exit $rc
