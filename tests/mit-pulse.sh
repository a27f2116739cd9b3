#!/usr/bin/env bash
# Runs one command with a PulseAudio server of its own that has a null sink
# "nullsink" as default sink; ALSA's "default" device reaches it through the
# pulse plugin (libasound2-plugins). The server ends with the command.
#   tests/mit-pulse.sh COMMAND [ARG...]
set -u
tmp=$(mktemp -d)
export XDG_RUNTIME_DIR="$tmp"
export PULSE_RUNTIME_PATH="$tmp/pulse"
export HOME="$tmp"
pid=""
aufraeumen() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    rm -rf "$tmp"
}
trap aufraeumen EXIT
trap 'exit 130' INT TERM

pulseaudio --daemonize=no --exit-idle-time=-1 -n --disallow-exit \
    --load="module-null-sink sink_name=nullsink" \
    --load=module-native-protocol-unix --load=module-always-sink \
    >"$tmp/pulse.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
    pactl get-sink-mute nullsink >/dev/null 2>&1 && break
    sleep 0.05
done
if ! pactl get-sink-mute nullsink >/dev/null 2>&1; then
    echo "PulseAudio did not start:" >&2; cat "$tmp/pulse.log" >&2; exit 1
fi
pactl set-default-sink nullsink

"$@"
