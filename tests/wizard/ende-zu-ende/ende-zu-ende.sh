#!/usr/bin/env bash
# End-to-end test of tvverknuepfen, run on an X server of its own by
# tests/mit-x.sh. A user at the keyboard (xdotool, keys only) defines a new
# TV application for our testfernseher, saves the definition, closes the TV
# program as the saving message suggests, runs the test recording and
# finishes the wizard. Then the definition file is compared byte for byte,
# the TV program's log must show the channel digits, the recording keys and
# the close, and the settings file may differ only in the elements the
# wizard writes (10, 11, 15).
#   ende-zu-ende.sh TVVERKNUEPFEN EINRICHTER TESTFERNSEHER FENSTERBLICK ERWARTET.azs ORDNER
# ORDNER is made afresh; it keeps the program folder, the logs and pictures
# of some pages (ORDNER/bilder) for a look afterwards.
set -u
if [ $# -ne 6 ]; then
    echo "usage: $0 TVVERKNUEPFEN EINRICHTER TESTFERNSEHER FENSTERBLICK ERWARTET.azs ORDNER" >&2
    exit 2
fi
tvverknuepfen=$1 einrichter=$2 testfernseher=$3 blick=$4 erwartet=$5 ordner=$6
mit_wm=${SENDARO_TEST_WM:-1}

rm -rf "$ordner"
prog=$ordner/programm
tv=$ordner/tv
bilder=$ordner/bilder
mkdir -p "$prog" "$tv" "$bilder"
# A hard link where the file system allows it: the programs find their folder
# through their own path, so a symbolic link would not do.
kopieren() { cp -l "$1" "$2" 2>/dev/null || cp "$1" "$2"; }
kopieren "$tvverknuepfen" "$prog/tvverknuepfen"
kopieren "$einrichter" "$prog/einrichter"
# A name of its own: the wizard takes any process of the TV program's name on
# the machine for the TV program, also one of a test running beside this one.
programm=testfernseher-$$
kopieren "$testfernseher" "$tv/$programm"
hilfe=$(dirname "$tvverknuepfen")/sendwacht.hlp
[ -f "$hilfe" ] && cp "$hilfe" "$prog/"
"$prog/einrichter" || { echo "FEHLER: einrichter" >&2; exit 1; }
"$prog/einrichter" --zeigen >"$ordner/einstellungen-vorher.txt"
protokoll=$tv/testfernseher.log

wizard_pid="" titel_pid=""
aufraeumen() {
    [ -n "$wizard_pid" ] && kill "$wizard_pid" 2>/dev/null
    [ -n "$titel_pid" ] && kill "$titel_pid" 2>/dev/null
    for w in $(xdotool search --name '^Testfernseher' 2>/dev/null); do
        p=$(xdotool getwindowpid "$w" 2>/dev/null) && kill "$p" 2>/dev/null
    done
}
trap aufraeumen EXIT

schritt="Start"
fehler() {
    echo "FEHLER bei \"$schritt\": $*" >&2
    if [ -n "${wiz:-}" ]; then
        "$blick" bild "$wiz" "$bilder/fehler.png" 2>/dev/null
        echo "Fenstertitel: $(xdotool getwindowname "$wiz" 2>/dev/null)" >&2
    fi
    echo "Fenster:" >&2
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        echo "  $w $(xdotool getwindowname "$w" 2>/dev/null)" >&2
    done
    echo "Ausgabe von tvverknuepfen:" >&2
    cat "$ordner/tvverknuepfen.txt" >&2 2>/dev/null
    [ -f "$protokoll" ] && { echo "Protokoll des Testfernsehers:" >&2; cat "$protokoll" >&2; }
    echo "Prozesse:" >&2
    ps -eo pid,ppid,etime,stat,args | grep -E "[t]estfernseher|[t]vverknuepfen" >&2
    exit 1
}

# Waits (polling every 50 ms) until a visible window whose title matches the
# pattern exists, or with a third argument "auch-minimiert" any such window;
# prints its id.
fenster_abwarten() {
    local muster=$1 sekunden=$2 w sichtbar=--onlyvisible
    [ "${3:-}" = auch-minimiert ] && sichtbar=""
    local ende=$((SECONDS + sekunden))
    while [ $SECONDS -lt $ende ]; do
        w=$(xdotool search $sichtbar --name "$muster" 2>/dev/null | head -n1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.05
    done
    return 1
}

fenster_weg_abwarten() {
    local muster=$1 sekunden=$2
    local ende=$((SECONDS + sekunden))
    while [ $SECONDS -lt $ende ]; do
        xdotool search --onlyvisible --name "$muster" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    return 1
}

# The keys go where the X server sends them: to the window with the focus.
# A user looks before typing; so does the test.
fokus_abwarten() {
    local w=$1 i
    for i in $(seq 1 200); do
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$w" ] && return 0
        sleep 0.05
    done
    return 1
}

# Presses keys on the wizard and waits until it shows its next page.
weiter() {
    schritt=$1
    shift
    fokus_abwarten "$wiz" || fehler "der Assistent hat den Fokus nicht"
    local alt
    alt=$("$blick" kennung "$wiz") || fehler "Fenster nicht lesbar"
    xdotool key --delay 30 "$@"
    seite=$("$blick" warten "$wiz" "$alt" 20000) || fehler "keine neue Seite nach $*"
}

tippen() {
    fokus_abwarten "$wiz" || fehler "der Assistent hat den Fokus nicht"
    xdotool type --delay 20 "$1"
}

# ---- The wizard, page by page ---------------------------------------------

LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 "$prog/tvverknuepfen" >"$ordner/tvverknuepfen.txt" 2>&1 &
wizard_pid=$!

schritt="Willkommen"
wiz=$(fenster_abwarten '^TV-Anwendung verkn' 60) || fehler "kein Assistentenfenster"
[ "$(xdotool getwindowpid "$wiz")" = "$wizard_pid" ] || fehler "das Fenster gehört nicht dem Assistenten"
fokus_abwarten "$wiz" || fehler "der Assistent hat den Fokus nicht"
"$blick" bild "$wiz" "$bilder/seite-willkommen.png"

# Enter presses the default button, Weiter.
weiter "erkannte Anwendungen" Return
# "(keine von diesen)" is the first entry of both lists; nothing is chosen
# yet, and space chooses the entry under the cursor.
weiter "bekannte Anwendungen" Home space alt+w
weiter "neue Anwendung" Home space alt+w
weiter "Name" alt+w
tippen "Testfernseher Studio"
weiter "Start-Datei" alt+w
tippen "$tv/$programm"
weiter "Standard-Verzeichnis" alt+w
# The box is unticked for a new application; space ticks it.
weiter "Anwendung starten" space alt+w

# Weiter starts the TV program minimised, and the wizard waits for its window.
weiter "Prozessname" alt+w
tvfenster=$(fenster_abwarten '^Testfernseher - Kanal 01$' 10 auch-minimiert) || fehler "kein Fenster des Testfernsehers"
if [ "$mit_wm" = 1 ]; then
    xprop -id "$tvfenster" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN ||
        fehler "der Testfernseher wurde nicht minimiert gestartet"
fi
"$blick" bild "$wiz" "$bilder/seite-prozessname.png"
# Typing a name selects the first entry that begins with it.
tippen "$programm"
weiter "Fenstertitel" alt+w
tippen "Testfernseher"
weiter "Befehle: Anwendung starten" alt+w
weiter "Befehle: Kanal wechseln" alt+w
"$blick" bild "$wiz" "$bilder/seite-kanal-wechseln.png"
weiter "Befehle: Aufnahme starten" alt+w
weiter "Befehle: Aufnahme beenden" alt+w
weiter "Befehle: Anwendung beenden" alt+w
weiter "Hinweistext" alt+w
weiter "Dateiname" alt+w

schritt="Datei gespeichert"
fokus_abwarten "$wiz" || fehler "der Assistent hat den Fokus nicht"
xdotool key alt+w
box=$(fenster_abwarten '^Datei gespeichert\.$' 20) || fehler "keine Meldung \"Datei gespeichert.\""
fokus_abwarten "$box" || fehler "die Meldung hat den Fokus nicht"
xdotool key Return
fenster_weg_abwarten '^Datei gespeichert\.$' 10 || fehler "die Meldung bleibt"
definition=$prog/link-testfernseher-studio.azs
[ -f "$definition" ] || fehler "keine Datei link-testfernseher-studio.azs"

# "Sie können Ihre TV-Anwendung jetzt wieder schließen.": with Alt+F4.
schritt="Testfernseher schließen"
if [ "$mit_wm" = 1 ]; then
    xdotool windowactivate --sync "$tvfenster" || fehler "Testfernseher nicht aktivierbar"
else
    xdotool windowfocus --sync "$tvfenster" || fehler "Testfernseher nicht fokussierbar"
fi
fokus_abwarten "$tvfenster" || fehler "der Testfernseher hat den Fokus nicht"
tv_pid=$(xdotool getwindowpid "$tvfenster") || fehler "keine Prozessnummer des Testfernsehers"
xdotool key alt+F4
fenster_weg_abwarten '^Testfernseher - ' 10 || fehler "der Testfernseher schließt nicht"
# The wizard asks the process list whether the TV program still runs.
for _ in $(seq 1 200); do
    kill -0 "$tv_pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$tv_pid" 2>/dev/null && fehler "der Testfernseher endet nicht"
if [ "$mit_wm" = 1 ]; then
    xdotool windowactivate --sync "$wiz"
else
    xdotool windowfocus --sync "$wiz"
fi

# ---- The test recording ----------------------------------------------------

schritt="Testaufzeichnung"
# The status pages name each phase in the window's title; every title the
# window gets is written down as it comes.
titel=$ordner/titel.txt
"$blick" titel "$wiz" >"$titel" &
titel_pid=$!
fokus_abwarten "$wiz" || fehler "der Assistent hat den Fokus nicht"
xdotool key alt+w
ende=$((SECONDS + 120))
bild_gemacht=""
while [ $SECONDS -lt $ende ]; do
    xdotool search --name '^Test der Aufzeichnung$' >/dev/null 2>&1 &&
        fehler "Test abgebrochen (Meldung \"Test der Aufzeichnung\")"
    if [ -z "$bild_gemacht" ] && grep -q '^12,0 Sek\.$' "$titel"; then
        "$blick" bild "$wiz" "$bilder/seite-testaufzeichnung.png"
        bild_gemacht=1
    fi
    [ "$(tail -n2 "$titel" | head -n1)" = "PC nicht mehr stumm schalten" ] &&
        [ "$(tail -n1 "$titel")" = "TV-Anwendung verknüpfen" ] && break
    sleep 0.1
done
kill "$titel_pid" 2>/dev/null
wait "$titel_pid" 2>/dev/null
kanal=$(sed -n 's/^Kanal "\(0[123]\)" wird aktiviert$/\1/p' "$titel")
{
    echo "TV-Anwendung verknüpfen"
    echo "PC stumm schalten"
    echo "TV-Anwendung wird gestartet"
    echo "Kanal \"$kanal\" wird aktiviert"
    echo "Aufzeichnung wird gestartet"
    echo "15 Sekunden aufzeichnen"
    # The countdown in the German number format, from 14,9 down to 0,0.
    for ((i = 149; i >= 0; i--)); do echo "$((i / 10)),$((i % 10)) Sek."; done
    echo "Aufzeichnung beenden"
    echo "TV-Anwendung schließen"
    echo "PC nicht mehr stumm schalten"
    echo "TV-Anwendung verknüpfen"
} >"$ordner/titel-erwartet.txt"
diff "$ordner/titel-erwartet.txt" "$titel" >&2 ||
    fehler "andere Fenstertitel während des Tests (- erwartet, + gesehen)"
[ -n "$kanal" ] || fehler "kein Testkanal 01 bis 03"

# The result page waits for the user; Weiter writes the settings and shows
# the last page, whose default button is Fertig stellen.
weiter "Abschluss" alt+w
schritt="Fertig stellen"
fokus_abwarten "$wiz" || fehler "der Assistent hat den Fokus nicht"
xdotool key Return
for _ in $(seq 1 200); do
    kill -0 "$wizard_pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$wizard_pid" 2>/dev/null && fehler "tvverknuepfen endet nicht"
wait "$wizard_pid"
rc=$?
wizard_pid=""
[ "$rc" = 0 ] || fehler "tvverknuepfen endet mit $rc"

# ---- What was written and received -----------------------------------------

schritt="Prüfung"
sed -e "s|@TVORDNER@|$tv|" -e "s|@PROGRAMM@|$programm|g" "$erwartet" >"$ordner/erwartet.azs"
cmp "$ordner/erwartet.azs" "$definition" ||
    fehler "Definitionsdatei weicht ab: diff <(cat -A $ordner/erwartet.azs) <(cat -A $definition)"

{
    echo "gestartet"
    [ "$mit_wm" = 1 ] || echo "Taste Alt+F4"
    echo "geschlossen"
    echo "gestartet"
    echo "Taste ${kanal:0:1}"
    echo "Taste ${kanal:1:1}"
    echo "Kanal $kanal"
    echo "Taste Alt+R"
    echo "Aufnahme gestartet"
    echo "Taste Esc"
    echo "Aufnahme beendet"
    [ "$mit_wm" = 1 ] || echo "Taste Alt+F4"
    echo "geschlossen"
} >"$ordner/protokoll-erwartet.txt"
diff "$ordner/protokoll-erwartet.txt" "$protokoll" >&2 ||
    fehler "der Testfernseher hat anderes empfangen (- erwartet, + empfangen)"

"$prog/einrichter" --zeigen >"$ordner/einstellungen-nachher.txt"
vorher=$ordner/einstellungen-vorher.txt nachher=$ordner/einstellungen-nachher.txt
# Elements 10, 11 and 15 hold the definition, the TV program's folder and the
# mute choice (true for a new application); nothing else may change.
diff <(grep -vE $'^(10|11|15)\t' "$vorher") <(grep -vE $'^(10|11|15)\t' "$nachher") >&2 ||
    fehler "andere Einstellungen als 10, 11 und 15 geändert"
for zeile in $'10\t8\t"link-testfernseher-studio.azs"' $'11\t8\t"'"$tv"'"' $'15\t11\tWahr'; do
    grep -qxF "$zeile" "$nachher" || fehler "Einstellung fehlt: $zeile"
done
echo "Ende zu Ende: Testkanal $kanal, alles wie erwartet"
