#!/usr/bin/env bash
# Records real TV streams with a real TV program through a shipped definition
# file, run on an X server of its own by tests/mit-x.sh. ffmpeg sends three
# live MPEG-TS streams over the loopback interface, each with its own service
# name ("Kanal 01" .. "Kanal 03") and its own picture size; kanaele.m3u in
# the program folder names them in order. For each channel asked for,
# `aufzeichnen PROGRAMM.azs --kanal NR --dauer 5 --aufnahmeordner DIR` runs
# as an ordinary user (VLC refuses root), and ffprobe must find exactly one
# new recording in DIR: a decodable MPEG-TS of 4 to 8 seconds with that
# channel's picture, and its service name where the program keeps the stream
# as it came. The TV program must be gone afterwards.
#   aufnahme.sh AZS AUFZEICHNEN EINRICHTER ORDNER MIT_SENDERNAME KANAL...
# MIT_SENDERNAME: ja (the recording carries the service name) or nein.
# ORDNER is made afresh and keeps the logs for a look afterwards.
set -u
if [ $# -lt 7 ]; then
    echo "usage: $0 AZS AUFZEICHNEN EINRICHTER ORDNER MIT_SENDERNAME ERSATZ KANAL..." >&2
    exit 2
fi
azs=$1 aufzeichnen=$2 einrichter=$3 ordner=$4 mit_sendername=$5 ersatz=$6
shift 6
kanaele=("$@")
if [ "$(id -u)" -ne 0 ]; then
    echo "Übersprungen: der Test legt einen Benutzer an und braucht dafür root." >&2
    exit 77
fi
for p in ffmpeg ffprobe runuser useradd userdel; do
    command -v "$p" >/dev/null || { echo "FEHLER: $p fehlt" >&2; exit 1; }
done

name=$(basename "$azs" .azs)
programm=$(sed -n 's/^TVAnwendungdatei="\(.*\)"\r$/\1/p' "$azs")
command -v "$programm" >/dev/null || { echo "FEHLER: $programm ist nicht installiert" >&2; exit 1; }

# The build tree may lie where the test user cannot go; the run gets a
# folder of its own under /tmp, and its logs are copied to ORDNER.
rm -rf "$ordner"
mkdir -p "$ordner"
lauf=$(mktemp -d /tmp/sendaro-aufnahme.XXXXXX)
chmod 755 "$lauf"
prog=$lauf/programm
mkdir -p "$prog" "$lauf/heim"
cp "$aufzeichnen" "$einrichter" "$azs" "$prog/"
"$prog/einrichter" >/dev/null || { echo "FEHLER: einrichter" >&2; exit 1; }

# A user of its own per run: tests of the other programs run at the same time.
benutzer=sendaro-$name-$$
benutzer=${benutzer:0:31}
sender_pids=()
aufraeumen() {
    # Whatever of the TV program this run's user still has running ends here.
    pkill -KILL -u "$benutzer" 2>/dev/null
    for p in "${sender_pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${sender_pids[@]}"; do wait "$p" 2>/dev/null; done
    cp -r "$lauf"/*.log "$lauf/aufnahmen" "$ordner/" 2>/dev/null
    for _ in 1 2 3 4 5; do userdel "$benutzer" 2>/dev/null && break; sleep 1; done
    rm -rf "$lauf"
}
trap aufraeumen EXIT
trap 'exit 130' INT TERM

# useradd locks /etc/passwd; another test may hold it for a moment.
for _ in 1 2 3 4 5 6 7 8 9 10; do
    useradd -M -d "$lauf/heim" -s /usr/sbin/nologin "$benutzer" 2>"$lauf/useradd.log" && break
    sleep 1
done
id "$benutzer" >/dev/null 2>&1 || { echo "FEHLER: Benutzer nicht angelegt:" >&2; cat "$lauf/useradd.log" >&2; exit 1; }

# Ports of this run's own, so that runs side by side do not receive each
# other's streams.
basis=$((20000 + ($$ % 1000) * 30))
groessen=(320x240 352x288 416x320)
bilder=(testsrc smptebars rgbtestsrc)
{
    printf '#EXTM3U\r\n'
    for k in 1 2 3; do
        printf '#EXTINF:-1,Kanal 0%s\r\nudp://@127.0.0.1:%s\r\n' "$k" $((basis + k))
    done
} >"$prog/kanaele.m3u"
for k in 1 2 3; do
    ffmpeg -nostdin -loglevel error -re \
        -f lavfi -i "${bilder[k-1]}=size=${groessen[k-1]}:rate=25" \
        -f lavfi -i "sine=frequency=$((300 + 100 * k))" \
        -c:v mpeg2video -g 12 -b:v 600k -c:a mp2 -b:a 64k \
        -metadata service_name="Kanal 0$k" -metadata service_provider=Sendaro-Test \
        -f mpegts "udp://127.0.0.1:$((basis + k))?pkt_size=1316" >"$lauf/sender$k.log" 2>&1 &
    sender_pids+=($!)
done
chown -R "$benutzer" "$prog" "$lauf/heim"

fehler=0
pruefen() { # pruefen BEDINGUNG-ERFÜLLT TEXT
    if [ "$1" != ja ]; then
        echo "FEHLER ($name, Kanal $kanal): $2" >&2
        fehler=1
    fi
}
laeuft_noch() { pgrep -u "$benutzer" -x "$programm" >/dev/null; }
# A recording that begins mid-packet makes the decoders complain; only the
# values count. Streams inside programs are listed twice: the first counts.
probe() { ffprobe -v quiet "$@" -of default=nw=1:nk=1 "$datei" 2>/dev/null | head -n 1; }
aufnehmen() { # aufnehmen ARGUMENT... (uses $kanal for the log's name)
    runuser -u "$benutzer" -- env -i HOME="$lauf/heim" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin \
        LANG=C.UTF-8 "$prog/aufzeichnen" "$name.azs" "$@" >"$lauf/aufzeichnen-$kanal.log" 2>&1
    local code=$?
    pruefen "$([ $code -eq 0 ] && echo ja)" "aufzeichnen endete mit $code: $(cat "$lauf/aufzeichnen-$kanal.log")"
    # The close list has ended the program, or ends it within a few seconds.
    for _ in $(seq 1 50); do laeuft_noch || break; sleep 0.1; done
    pruefen "$(laeuft_noch || echo ja)" "$programm läuft nach dem Schließen noch"
    pkill -KILL -u "$benutzer" -x "$programm" 2>/dev/null
}

for kanal in "${kanaele[@]}"; do
    k=$((10#$kanal))
    ziel=$lauf/aufnahmen/kanal-$kanal
    mkdir -p "$ziel"
    chown "$benutzer" "$ziel"
    aufnehmen --kanal "$kanal" --dauer 5 --aufnahmeordner "$ziel"

    mapfile -t dateien < <(find "$ziel" -mindepth 1)
    pruefen "$([ ${#dateien[@]} -eq 1 ] && echo ja)" "${#dateien[@]} Aufnahmen statt einer: ${dateien[*]}"
    [ ${#dateien[@]} -eq 1 ] || continue
    datei=${dateien[0]}
    format=$(probe -show_entries format=format_name)
    dauer=$(probe -show_entries format=duration)
    groesse=$(probe -select_streams v:0 -show_entries stream=width)x$(probe -select_streams v:0 -show_entries stream=height)
    bilder_gelesen=$(probe -count_frames -select_streams v:0 -show_entries stream=nb_read_frames)
    dienst=$(probe -show_entries program_tags=service_name)
    echo "$name Kanal $kanal: $(basename "$datei") $format ${dauer}s $groesse $bilder_gelesen Bilder Dienst \"$dienst\""
    pruefen "$([ "$format" = mpegts ] && echo ja)" "Format \"$format\" statt mpegts"
    pruefen "$(awk -v d="$dauer" 'BEGIN { if (d + 0 >= 4 && d + 0 <= 8) print "ja" }')" "Dauer \"$dauer\" nicht zwischen 4 und 8 Sekunden"
    pruefen "$([ "$groesse" = "${groessen[k-1]}" ] && echo ja)" "Bildgröße \"$groesse\" statt ${groessen[k-1]} (Bild eines anderen Kanals)"
    # 25 pictures a second: at least three seconds of them must decode.
    pruefen "$([ "${bilder_gelesen:-0}" -ge 75 ] 2>/dev/null && echo ja)" "nur \"$bilder_gelesen\" Bilder lesbar"
    if [ "$mit_sendername" = ja ]; then
        pruefen "$([ "$dienst" = "Kanal $kanal" ] && echo ja)" "Dienst \"$dienst\" statt \"Kanal $kanal\""
    fi
done

kanal=01
case "$ersatz" in programm) ersatzordner=$prog ;; *) ersatzordner=$lauf/heim ;; esac
aufnehmen --kanal "$kanal" --dauer 3
mapfile -t dateien < <(find "$ersatzordner" -maxdepth 1 -type f -name '*.ts')
pruefen "$([ ${#dateien[@]} -eq 1 ] && echo ja)" "ohne Aufnahmeordner ${#dateien[@]} Aufnahmen in $ersatzordner statt einer"
if [ ${#dateien[@]} -eq 1 ]; then
    datei=${dateien[0]}
    format=$(probe -show_entries format=format_name)
    groesse=$(probe -select_streams v:0 -show_entries stream=width)x$(probe -select_streams v:0 -show_entries stream=height)
    echo "$name ohne Aufnahmeordner: $datei $format $groesse"
    pruefen "$([ "$format" = mpegts ] && [ "$groesse" = "${groessen[0]}" ] && echo ja)" "ohne Aufnahmeordner: \"$format\" $groesse"
fi
exit $fehler
