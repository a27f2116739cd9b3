#!/usr/bin/env bash
# Per-user installation, run on an X server of its own by tests/mit-x.sh.
# An ordinary user with a fresh home (a space in its path) installs with
# scripts/installieren.sh from what `cmake --install` put into a prefix,
# starts the wizard through the desktop entry's Exec line, calls
# aufzeichnen through ~/.local/bin, edits and adds files, installs a newer
# release over it and removes it again, with and without --alles.
#   installation.sh BAUORDNER INSTALLIEREN.SH FENSTERBLICK ORDNER
# Run as root, the test makes a user of its own for the run and removes it
# afterwards. ORDNER is made afresh and keeps the logs and a picture of the
# wizard's first page.
set -u
if [ $# -ne 4 ]; then
    echo "usage: $0 BAUORDNER INSTALLIEREN.SH FENSTERBLICK ORDNER" >&2
    exit 2
fi
bauordner=$1 skript=$2 blick=$3 ergebnis=$4

rm -rf "$ergebnis"
mkdir -p "$ergebnis"
tmp=$(mktemp -d)
chmod 755 "$tmp"
heim="$tmp/Heim von Test"
mkdir "$heim"
benutzer="" wizard_pid=""

aufraeumen() {
    # The wizard, also one the desktop entry started that the test never saw:
    # every process running a program from the installation.
    local pids=() exe
    [ -n "$wizard_pid" ] && pids+=("$wizard_pid")
    for exe in $(find /proc/[0-9]*/exe -maxdepth 0 -lname "$heim/*" 2>/dev/null); do
        exe=${exe#/proc/}
        pids+=("${exe%/exe}")
    done
    if [ ${#pids[@]} -gt 0 ]; then
        kill "${pids[@]}" 2>/dev/null
        local p lebt
        for _ in $(seq 1 100); do
            lebt=""
            for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && lebt=1; done
            [ -z "$lebt" ] && break
            sleep 0.05
        done
    fi
    # userdel refuses while another test holds the lock on /etc/passwd.
    if [ -n "$benutzer" ]; then
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            userdel "$benutzer" 2>/dev/null && break
            sleep 0.5
        done
    fi
    rm -rf "$tmp"
}
trap aufraeumen EXIT

fehler() {
    echo "FEHLER: $*" >&2
    exit 1
}

# ---- The user -----------------------------------------------------------------

if [ "$(id -u)" -eq 0 ]; then
    # useradd refuses while another test holds the lock on /etc/passwd.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        useradd --no-create-home --home-dir "$heim" --shell /bin/bash --user-group \
            "sdinst$$" 2>"$ergebnis/useradd.txt" && { benutzer=sdinst$$; break; }
        sleep 0.5
    done
    [ -n "$benutzer" ] || fehler "useradd: $(cat "$ergebnis/useradd.txt")"
    chown "$benutzer:" "$heim"
fi
chmod 700 "$heim"

# A login's environment and nothing more: of the XDG variables only the
# runtime folder a login session gets, PATH with ~/.local/bin as Debian's
# profile sets it.
laufzeit=$tmp/laufzeit
mkdir -m 700 "$laufzeit"
[ -n "$benutzer" ] && chown "$benutzer:" "$laufzeit"
als_benutzer() {
    local umgebung=(HOME="$heim" PATH="$heim/.local/bin:/usr/local/bin:/usr/bin:/bin"
        XDG_RUNTIME_DIR="$laufzeit"
        LANG=C.UTF-8 DISPLAY="${DISPLAY:-}" ASAN_OPTIONS="${ASAN_OPTIONS:-}"
        LSAN_OPTIONS="${LSAN_OPTIONS:-}")
    if [ -n "$benutzer" ]; then
        runuser -u "$benutzer" -- env -i "${umgebung[@]}" "$@"
    else
        env -i "${umgebung[@]}" "$@"
    fi
}

# The script, the prefix and the test's files must be readable by the user
# wherever the clone lies; so must a sanitizer build's suppressions.
cp "$skript" "$tmp/installieren.sh"
chmod 755 "$tmp/installieren.sh"
if [[ "${LSAN_OPTIONS:-}" =~ suppressions=([^:]*) ]] && [ -f "${BASH_REMATCH[1]}" ]; then
    cp "${BASH_REMATCH[1]}" "$tmp/lsan.supp"
    chmod 644 "$tmp/lsan.supp"
    LSAN_OPTIONS=${LSAN_OPTIONS/"${BASH_REMATCH[1]}"/"$tmp/lsan.supp"}
fi

ordner="$heim/.local/share/sendaro"
bin="$heim/.local/bin"
eintrag="$heim/.local/share/applications/tvverknuepfen.desktop"
symbole="$heim/.local/share/icons/hicolor"

# ---- Two releases ---------------------------------------------------------------

stufe1=$tmp/stufe1
cmake --install "$bauordner" --prefix "$stufe1" >"$ergebnis/cmake-install.txt" 2>&1 ||
    fehler "cmake --install: $(cat "$ergebnis/cmake-install.txt")"
q1=$stufe1/share/sendaro
for p in tvverknuepfen einrichter aufzeichnen; do
    [ -x "$q1/$p" ] || fehler "cmake --install legt $p nicht in share/sendaro"
    [ "$(readlink -f "$stufe1/bin/$p")" = "$(readlink -f "$q1/$p")" ] ||
        fehler "bin/$p im Präfix führt nicht zu share/sendaro/$p"
done
[ -f "$q1/sendwacht.hlp" ] || fehler "cmake --install legt sendwacht.hlp nicht in share/sendaro"
for datei in "$bauordner"/bin/*.azs; do
    [ -f "$datei" ] || continue
    cmp -s "$datei" "$q1/${datei##*/}" || fehler "die mitgelieferte ${datei##*/} fehlt im Präfix"
done
# A definition file as the wizard writes it, for the program $2 in a folder $3.
definition() {
    printf "<Sendaro Aufzeichnungsskript 1.0>\r\n\r\n'***Allgemeine Einstellungen***\r\n\
Beschreibung=\" %s \"\r\nTVAnwendungdatei=\"%s\"\r\nTVAnwendungtitel=\"%s\"\r\n\
Standardverzeichnis=\"[ProgrammeOrdner]/%s\"\r\nAuswahlInfo=\"\"\r\n\r\n\
'***Befehle um die TV-Anwendung zu starten\r\n\r\n'***Befehle um den Kanal zu wechseln\r\n\r\n\
'***Befehle um die Aufnahme zu starten\r\n\r\n'***Befehle um die Aufnahme zu beenden\r\n\r\n\
'***Befehle um die TV-Anwendung zu schlie\xdfen***\r\n\r\n" "$2" "$2" "$2" "$3" >"$1"
}

# Shipped definitions of the test's own beside the real ones, so that every
# case of an update is met whatever the project ships.
definition "$q1/test-eins.azs" "Eins" "eins"
definition "$q1/test-zwei.azs" "Zwei" "zwei"
definition "$q1/test-drei.azs" "Drei" "drei"
definition "$q1/test-sechs.azs" "Sechs" "sechs"
definition "$q1/test-sieben.azs" "Sieben" "sieben"

# The next release: eins and zwei changed, drei and sechs no longer
# shipped, vier and fuenf new, sieben the same; a newer help file and
# aufzeichnen.
stufe2=$tmp/stufe2
cp -a "$stufe1" "$stufe2"
q2=$stufe2/share/sendaro
definition "$q2/test-eins.azs" "Eins 2" "eins"
definition "$q2/test-zwei.azs" "Zwei 2" "zwei"
rm "$q2/test-drei.azs" "$q2/test-sechs.azs"
definition "$q2/test-vier.azs" "Vier" "vier"
definition "$q2/test-fuenf.azs" "Fuenf" "fuenf"
printf '<p>Neue Fassung</p>\n' >>"$q2/sendwacht.hlp"
# Bytes after the end of a program do not keep it from running.
printf 'zweite Fassung' >>"$q2/aufzeichnen"
chmod -R a+rX "$stufe1" "$stufe2"

# ---- Wrong calls leave no trace -------------------------------------------------

als_benutzer "$tmp/installieren.sh" --alles >"$ergebnis/falsch.txt" 2>&1
[ $? -eq 2 ] || fehler "--alles ohne --entfernen endet nicht mit 2"
als_benutzer "$tmp/installieren.sh" --aus "$tmp" >>"$ergebnis/falsch.txt" 2>&1
[ $? -eq 1 ] || fehler "--aus mit einem Ordner ohne Programme endet nicht mit 1"
grep -q "kein mit cmake --install gefüllter Ordner" "$ergebnis/falsch.txt" ||
    fehler "keine deutsche Meldung für einen falschen Präfix: $(cat "$ergebnis/falsch.txt")"
[ -z "$(find "$heim" -mindepth 1 -print -quit)" ] || fehler "ein falscher Aufruf schreibt in den persönlichen Ordner"

# ---- First installation ---------------------------------------------------------

touch "$tmp/vorher"
als_benutzer "$tmp/installieren.sh" --aus "$stufe1" >"$ergebnis/installieren-1.txt" 2>&1 ||
    fehler "erste Installation: $(cat "$ergebnis/installieren-1.txt")"

for p in tvverknuepfen einrichter aufzeichnen; do
    cmp -s "$q1/$p" "$ordner/$p" || fehler "$p fehlt im Programmordner"
    [ "$(readlink -f "$bin/$p")" = "$ordner/$p" ] || fehler "$bin/$p führt nicht zu $ordner/$p"
done
for datei in "$q1"/*.azs "$q1/sendwacht.hlp"; do
    cmp -s "$datei" "$ordner/${datei##*/}" || fehler "${datei##*/} fehlt im Programmordner"
done
# einrichter was called through its link and still wrote beside itself.
[ -f "$ordner/sendwacht.cfg" ] || fehler "keine sendwacht.cfg im Programmordner"
[ ! -e "$bin/sendwacht.cfg" ] || fehler "sendwacht.cfg liegt in ~/.local/bin"
als_benutzer "$bin/einrichter" --zeigen >"$ergebnis/einstellungen.txt" 2>&1 ||
    fehler "einrichter --zeigen über den Verweis: $(cat "$ergebnis/einstellungen.txt")"

# Nothing outside the home; everything inside it belongs to the user.
[ -z "$(find "$tmp" -newer "$tmp/vorher" -not -path "$heim*" -not -path "$laufzeit*" -print -quit)" ] ||
    fehler "die Installation schreibt außerhalb des persönlichen Ordners"
if [ -n "$benutzer" ]; then
    fremd=$(find "$heim" -not -user "$benutzer" -print -quit)
    [ -z "$fremd" ] || fehler "$fremd gehört nicht dem Benutzer"
fi

# The desktop entry.
[ -f "$eintrag" ] || fehler "kein Menüeintrag $eintrag"
desktop-file-validate "$eintrag" >"$ergebnis/validate.txt" 2>&1 ||
    fehler "desktop-file-validate: $(cat "$ergebnis/validate.txt")"
grep -E ': (error|warning):' "$ergebnis/validate.txt" >&2 && fehler "desktop-file-validate meldet Fehler"
grep -qx 'Name=TV-Anwendung verknüpfen' "$eintrag" || fehler "der Menüeintrag heißt nicht \"TV-Anwendung verknüpfen\""
grep -qx 'Icon=tvverknuepfen' "$eintrag" || fehler "der Menüeintrag nennt das Symbol nicht"
grep -q '^Categories=.*TV;' "$eintrag" && grep -q '^Categories=.*Settings;' "$eintrag" ||
    fehler "der Menüeintrag steht nicht unter TV und Einstellungen"

# Icons: PNGs whose size is the one their folder names.
groessen=0
for png in "$symbole"/*/apps/tvverknuepfen.png; do
    [ -f "$png" ] || continue
    g=${png#"$symbole/"}
    g=${g%%/*}
    read -r b1 b2 b3 b4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
    breite=$(((b1 << 24) | (b2 << 16) | (b3 << 8) | b4))
    hoehe=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fehler "$png ist kein PNG"
    [ "${breite}x$hoehe" = "$g" ] || fehler "$png ist ${breite}x$hoehe groß"
    groessen=$((groessen + 1))
done
[ $groessen -ge 4 ] || fehler "nur $groessen Symbolgrößen installiert"
for g in 16x16 48x48; do
    [ -f "$symbole/$g/apps/tvverknuepfen.png" ] || fehler "kein Symbol in $g"
done

# aufzeichnen through ~/.local/bin, by its name alone.
als_benutzer aufzeichnen --prozesse >"$ergebnis/prozesse.txt" 2>&1 ||
    fehler "aufzeichnen --prozesse: $(cat "$ergebnis/prozesse.txt")"
grep -q aufzeichnen "$ergebnis/prozesse.txt" || fehler "aufzeichnen --prozesse nennt sich nicht selbst"
# Called through the link, it looks for definitions in the real program folder.
als_benutzer aufzeichnen gibt-es-nicht.azs >"$ergebnis/fehlt.txt" 2>&1
[ $? -eq 1 ] || fehler "aufzeichnen mit einer fehlenden Definition endet nicht mit 1"
grep -qF "im Programmordner \"$ordner/\"" "$ergebnis/fehlt.txt" ||
    fehler "aufzeichnen sucht nicht im Programmordner: $(cat "$ergebnis/fehlt.txt")"

# ---- The desktop entry's Exec line starts the wizard -----------------------------

# gio launches the entry as a desktop's menu does: it parses the Exec line.
als_benutzer gio launch "$eintrag" >"$ergebnis/gio.txt" 2>&1 ||
    fehler "gio launch: $(cat "$ergebnis/gio.txt")"
wiz=""
ende=$((SECONDS + 60))
while [ $SECONDS -lt $ende ]; do
    wiz=$(xdotool search --onlyvisible --name '^TV-Anwendung verkn' 2>/dev/null | head -n1)
    [ -n "$wiz" ] && break
    sleep 0.05
done
[ -n "$wiz" ] || fehler "kein Fenster des Assistenten nach dem Start über den Menüeintrag"
wizard_pid=$(xdotool getwindowpid "$wiz") || fehler "das Fenster nennt keinen Prozess"
[ "$(readlink "/proc/$wizard_pid/exe")" = "$ordner/tvverknuepfen" ] ||
    fehler "das Fenster gehört nicht dem installierten Assistenten"
"$blick" bild "$wiz" "$ergebnis/erste-seite.png"
# An error box at the start would carry the same title; only a page of the
# wizard goes on to another page on Return.
for _ in $(seq 1 200); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$wiz" ] && break
    sleep 0.05
done
alt=$("$blick" kennung "$wiz") || fehler "das Fenster des Assistenten ist nicht lesbar"
xdotool key Return
"$blick" warten "$wiz" "$alt" 20000 >/dev/null || fehler "die erste Seite führt nicht weiter"
kill "$wizard_pid"
for _ in $(seq 1 200); do
    kill -0 "$wizard_pid" 2>/dev/null || break
    sleep 0.05
done
wizard_pid=""

# ---- The user's work --------------------------------------------------------------

printf "'Vom Benutzer ergänzt\r\n" >>"$ordner/test-zwei.azs"
definition "$ordner/test-vier.azs" "Meine Vier" "meine"
definition "$ordner/meine.azs" "Meine" "meine"
printf "'Vom Benutzer ergänzt\r\n" >>"$ordner/test-sechs.azs"
rm "$ordner/test-sieben.azs"
# A settings file einrichter would not accept: an update must not touch it either.
printf 'nicht lesbar\0\1\2' >"$ordner/sendwacht.cfg"
eigene="test-zwei.azs test-vier.azs meine.azs test-sechs.azs sendwacht.cfg"
[ -n "$benutzer" ] && chown "$benutzer:" "$ordner"/*
mkdir "$ergebnis/eigene"
for d in $eigene; do cp -p "$ordner/$d" "$ergebnis/eigene/$d"; done
cfg_stat=$(stat -c '%i %Y' "$ordner/sendwacht.cfg")

# ---- Second installation ---------------------------------------------------------

als_benutzer "$tmp/installieren.sh" --aus "$stufe2" >"$ergebnis/installieren-2.txt" 2>&1 ||
    fehler "zweite Installation: $(cat "$ergebnis/installieren-2.txt")"
for d in $eigene; do
    cmp -s "$ergebnis/eigene/$d" "$ordner/$d" || fehler "$d des Benutzers ist verändert"
done
[ "$(stat -c '%i %Y' "$ordner/sendwacht.cfg")" = "$cfg_stat" ] || fehler "sendwacht.cfg wurde neu geschrieben"
[ ! -e "$ordner/sendwacht.cfg.bak" ] || fehler "sendwacht.cfg wurde gesichert und ersetzt"
cmp -s "$q2/test-eins.azs" "$ordner/test-eins.azs" || fehler "die unveränderte test-eins.azs ist nicht aktualisiert"
cmp -s "$q2/test-fuenf.azs" "$ordner/test-fuenf.azs" || fehler "die neue test-fuenf.azs fehlt"
cmp -s "$q2/test-zwei.azs" "$ordner/test-zwei.azs.neu" || fehler "die neue test-zwei.azs liegt nicht als test-zwei.azs.neu daneben"
cmp -s "$q2/test-vier.azs" "$ordner/test-vier.azs.neu" || fehler "die neue test-vier.azs liegt nicht als test-vier.azs.neu daneben"
[ ! -e "$ordner/test-drei.azs" ] || fehler "die nicht mehr mitgelieferte, unveränderte test-drei.azs bleibt"
[ ! -e "$ordner/test-eins.azs.neu" ] || fehler "neben der aktualisierten test-eins.azs liegt eine .neu"
cmp -s "$q2/test-sieben.azs" "$ordner/test-sieben.azs" || fehler "die gelöschte mitgelieferte test-sieben.azs ist nicht wieder da"
for datei in "$q2"/*.azs "$q2/sendwacht.hlp" "$q2/aufzeichnen" "$q2/tvverknuepfen"; do
    name=${datei##*/}
    case " $eigene " in *" $name "*) continue ;; esac
    cmp -s "$datei" "$ordner/$name" || fehler "$name ist nicht die neue Fassung"
done
als_benutzer aufzeichnen --prozesse >"$ergebnis/prozesse-2.txt" 2>&1 ||
    fehler "aufzeichnen --prozesse nach der zweite Installation: $(cat "$ergebnis/prozesse-2.txt")"

# A third run of the same release changes nothing of the user's either.
als_benutzer "$tmp/installieren.sh" --aus "$stufe2" >"$ergebnis/installieren-3.txt" 2>&1 ||
    fehler "dritte Installation: $(cat "$ergebnis/installieren-3.txt")"
for d in $eigene; do
    cmp -s "$ergebnis/eigene/$d" "$ordner/$d" || fehler "$d des Benutzers ist nach der dritten Installation verändert"
done

# ---- Removal ----------------------------------------------------------------------

als_benutzer "$tmp/installieren.sh" --entfernen >"$ergebnis/entfernen.txt" 2>&1 ||
    fehler "--entfernen: $(cat "$ergebnis/entfernen.txt")"
for d in $eigene; do
    cmp -s "$ergebnis/eigene/$d" "$ordner/$d" || fehler "$d des Benutzers ist nach dem Entfernen nicht mehr da"
done
rest=$(cd "$ordner" && find . -mindepth 1 | sed 's|^\./||' | sort | tr '\n' ' ')
[ "$rest" = "$(echo $eigene | tr ' ' '\n' | sort | tr '\n' ' ')" ] ||
    fehler "im Programmordner bleibt nach dem Entfernen: $rest"
# The folders the installation fills hold nothing of it any more.
nichts_mehr_da() {
    local d
    for d in "$bin" "$heim/.local/share/applications" "$symbole" "$heim/.cache/sendaro"; do
        [ -z "$(find "$d" -mindepth 1 -not -type d -print -quit 2>/dev/null)" ] ||
            fehler "nach dem Entfernen bleibt $(find "$d" -mindepth 1 -not -type d | head -n1)"
    done
}
nichts_mehr_da

# Installed again over the user's files, then removed with everything.
als_benutzer "$tmp/installieren.sh" --aus "$stufe2" >"$ergebnis/installieren-4.txt" 2>&1 ||
    fehler "Installation nach dem Entfernen: $(cat "$ergebnis/installieren-4.txt")"
cmp -s "$ergebnis/eigene/sendwacht.cfg" "$ordner/sendwacht.cfg" || fehler "sendwacht.cfg nach erneuter Installation verändert"
als_benutzer "$tmp/installieren.sh" --entfernen --alles >"$ergebnis/entfernen-alles.txt" 2>&1 ||
    fehler "--entfernen --alles: $(cat "$ergebnis/entfernen-alles.txt")"
[ ! -e "$ordner" ] || fehler "--alles lässt den Programmordner stehen"
nichts_mehr_da

echo "Installation, Menüeintrag, Aktualisierung und Entfernen in Ordnung."
exit 0
