#!/usr/bin/env bash
# Installs the programs for the user who runs it, updates that installation,
# or removes it. Everything lands in the user's home; no root rights.
#   scripts/installieren.sh                       build (Release) and install
#   scripts/installieren.sh --aus PRAEFIX         install what `cmake --install`
#                                                 put into PRAEFIX, without building
#   scripts/installieren.sh --entfernen [--alles] remove the installation
#
# An update replaces the programs, the help file, the desktop entry and the
# icons. sendwacht.cfg is never touched once it exists. A shipped definition
# file is replaced only while it still holds a version we shipped under its
# name (the checksums of every shipped version are kept in the program
# folder); one the user changed or made stays, and the new version goes
# beside it as NAME.azs.neu, which the wizard does not list.
set -euo pipefail

programm=installieren.sh
aufruf="Aufruf: $programm [--aus PRAEFIX] | --entfernen [--alles]"

fehler() {
    echo "$programm: $*" >&2
    exit 1
}

modus=installieren aus="" alles=""
while [ $# -gt 0 ]; do
    case "$1" in
    --aus)
        [ $# -ge 2 ] || { echo "$programm: Zu --aus fehlt der Ordner." >&2; echo "$aufruf" >&2; exit 2; }
        aus=$2
        shift 2
        ;;
    --entfernen) modus=entfernen; shift ;;
    --alles) alles=1; shift ;;
    -h|--hilfe|--help) echo "$aufruf"; exit 0 ;;
    *) echo "$programm: Unbekanntes Argument \"$1\"." >&2; echo "$aufruf" >&2; exit 2 ;;
    esac
done
if [ -n "$alles" ] && [ "$modus" != entfernen ]; then
    echo "$programm: --alles gilt nur zusammen mit --entfernen." >&2; echo "$aufruf" >&2; exit 2
fi
if [ -n "$aus" ] && [ "$modus" = entfernen ]; then
    echo "$programm: --aus gilt nicht zusammen mit --entfernen." >&2; echo "$aufruf" >&2; exit 2
fi

# ---- Where everything lands ------------------------------------------------

[ -n "${HOME:-}" ] && [ "${HOME:0:1}" = / ] && [ -d "$HOME" ] ||
    fehler "HOME ist nicht gesetzt oder kein Ordner."
case "$HOME" in *$'\n'*) fehler "Der Pfad des persönlichen Ordners enthält einen Zeilenumbruch." ;; esac
# Run through sudo, the files would belong to root and the user could not
# update or remove them later.
[ "$(stat -c %u "$HOME")" = "$(id -u)" ] ||
    fehler "Der persönliche Ordner $HOME gehört nicht dem Benutzer $(id -un). Bitte als der Benutzer selbst aufrufen, nicht mit sudo."

# XDG base directories: relative values are to be ignored.
daten=${XDG_DATA_HOME:-}
[ "${daten:0:1}" = / ] || daten=$HOME/.local/share
zwischenspeicher=${XDG_CACHE_HOME:-}
[ "${zwischenspeicher:0:1}" = / ] || zwischenspeicher=$HOME/.cache

ordner=$daten/sendaro
bin=$HOME/.local/bin
anwendungen=$daten/applications
symbole=$daten/icons/hicolor
bauordner=$zwischenspeicher/sendaro
liste=$ordner/.installiert
geschichte=$ordner/.mitgeliefert.sha256
eintrag=tvverknuepfen.desktop

pruefsumme() { sha256sum <"$1" | cut -d' ' -f1; }

# Writes a file beside its target first and renames it then, so that neither
# a failed copy nor a running program sees half a file.
ablegen() {
    local quelle=$1 ziel=$2
    mkdir -p "$(dirname "$ziel")"
    cp -- "$quelle" "$ziel.installieren-$$"
    chmod "$(stat -c %a "$quelle")" "$ziel.installieren-$$"
    mv -f -T -- "$ziel.installieren-$$" "$ziel"
}

# Removes one file an installation placed; a link only while it is one.
weg() {
    local pfad=$1
    if [ -L "$pfad" ] || [ -f "$pfad" ]; then
        rm -f -- "$pfad"
    fi
    case "$pfad" in
    "$symbole"/*/apps/*)
        rmdir --ignore-fail-on-non-empty -- "$(dirname "$pfad")" "$(dirname "$(dirname "$pfad")")" 2>/dev/null || true
        ;;
    esac
}

# Whether the definition NAME holds a version we shipped under that name.
mitgeliefert() {
    local name=$1 summe=$2 h n
    [ -f "$geschichte" ] || return 1
    while read -r h n; do
        [ "$h" = "$summe" ] && [ "$n" = "$name" ] && return 0
    done <"$geschichte"
    return 1
}

# ---- Removal ---------------------------------------------------------------

entfernen() {
    if [ -f "$liste" ]; then
        local pfad
        while IFS= read -r pfad; do
            [ -n "$pfad" ] && weg "$pfad"
        done <"$liste"
        local h n
        if [ -f "$geschichte" ]; then
            while read -r h n; do
                if [ -f "$ordner/$n" ] && [ ! -L "$ordner/$n" ] &&
                    mitgeliefert "$n" "$(pruefsumme "$ordner/$n")"; then
                    rm -f -- "$ordner/$n"
                fi
            done <"$geschichte"
        fi
        rm -f -- "$liste" "$geschichte"
        echo "Programme, Verknüpfungen, Menüeintrag und Symbole sind entfernt."
    elif [ ! -d "$ordner" ]; then
        echo "Es ist nichts installiert ($ordner fehlt)."
    fi
    rm -rf -- "$bauordner"
    if [ -d "$ordner" ]; then
        if [ -n "$alles" ]; then
            rm -rf -- "$ordner"
            echo "Der Programmordner $ordner ist mit allen Einstellungen und Definitionen entfernt."
        elif rmdir -- "$ordner" 2>/dev/null; then
            :
        else
            echo "Im Programmordner $ordner bleiben die Einstellungen und die eigenen Definitionen:"
            (cd "$ordner" && ls -A)
            echo "Mit --entfernen --alles wird auch er entfernt."
        fi
    fi
}

# One run at a time per program folder: two would mix their lists.
sperren() {
    exec 9<"$ordner"
    flock -n 9 || fehler "In $ordner läuft gerade eine andere Installation oder Entfernung."
}

if [ "$modus" = entfernen ]; then
    [ -d "$ordner" ] && sperren
    entfernen
    exit 0
fi

# ---- Building ----------------------------------------------------------------

if [ -n "$aus" ]; then
    stufe=$aus
else
    quelle=$(cd "$(dirname "$0")/.." && pwd)
    fehlend=()
    command -v cmake >/dev/null || fehlend+=(cmake)
    command -v c++ >/dev/null || fehlend+=(g++)
    [ ${#fehlend[@]} -eq 0 ] ||
        fehler "Zum Bauen fehlt: ${fehlend[*]}. Bitte einmal als root $quelle/scripts/abhaengigkeiten.sh ausführen."
    bau=$bauordner/bau
    stufe=$bauordner/stufe
    erzeuger=()
    [ ! -f "$bau/CMakeCache.txt" ] && command -v ninja >/dev/null && erzeuger=(-G Ninja)
    echo "== Bauen (Release) in $bau"
    cmake -S "$quelle" -B "$bau" "${erzeuger[@]}" -DCMAKE_BUILD_TYPE=Release -DWITH_TESTS=OFF ||
        fehler "cmake konnte den Bau nicht einrichten (fehlen Pakete? scripts/abhaengigkeiten.sh)."
    cmake --build "$bau" -j "$(nproc)" || fehler "Das Bauen ist fehlgeschlagen."
    rm -rf -- "$stufe"
    cmake --install "$bau" --prefix "$stufe" >/dev/null || fehler "cmake --install ist fehlgeschlagen."
fi

quellordner=$stufe/share/sendaro
for p in tvverknuepfen einrichter aufzeichnen; do
    [ -f "$quellordner/$p" ] && [ -x "$quellordner/$p" ] ||
        fehler "In $stufe fehlt share/sendaro/$p: kein mit cmake --install gefüllter Ordner."
done
[ -f "$stufe/share/applications/$eintrag" ] ||
    fehler "In $stufe fehlt share/applications/$eintrag: kein mit cmake --install gefüllter Ordner."

# ---- Installing --------------------------------------------------------------

mkdir -p "$ordner"
sperren
alte_liste=()
[ -f "$liste" ] && mapfile -t alte_liste <"$liste"
neue_liste=()

# Whatever the run placed is on the list even when it breaks off, so that
# --entfernen finds it.
liste_schreiben() {
    local -A gesehen=()
    local p
    {
        for p in "${neue_liste[@]}" "$@"; do
            [ -n "$p" ] && [ -z "${gesehen[$p]:-}" ] && { gesehen[$p]=1; printf '%s\n' "$p"; }
        done
    } >"$liste.installieren-$$"
    mv -f -T -- "$liste.installieren-$$" "$liste"
}
abbruch() {
    rm -f -- "$ordner"/*.installieren-$$ "$anwendungen"/*.installieren-$$ \
        "$symbole"/*/apps/*.installieren-$$
    liste_schreiben "${alte_liste[@]}"
    echo "$programm: Die Installation ist abgebrochen." >&2
}
trap 'rc=$?; [ $rc -eq 0 ] || abbruch' EXIT
trap 'exit 130' INT TERM HUP

# Programs, help file and whatever else is shipped except definitions.
for datei in "$quellordner"/*; do
    [ -f "$datei" ] || continue
    name=${datei##*/}
    case "$name" in *.azs|sendwacht.cfg|sendwacht.cfg.*) continue ;; esac
    ablegen "$datei" "$ordner/$name"
    neue_liste+=("$ordner/$name")
done

# Shipped definitions.
declare -A geliefert=()
for datei in "$quellordner"/*.azs; do
    [ -f "$datei" ] || continue
    name=${datei##*/}
    geliefert[$name]=1
    neu=$(pruefsumme "$datei")
    ziel=$ordner/$name
    if [ ! -e "$ziel" ] && [ ! -L "$ziel" ]; then
        ablegen "$datei" "$ziel"
    elif [ -f "$ziel" ] && [ ! -L "$ziel" ] && [ "$(pruefsumme "$ziel")" = "$neu" ]; then
        :
    elif [ -f "$ziel" ] && [ ! -L "$ziel" ] && mitgeliefert "$name" "$(pruefsumme "$ziel")"; then
        ablegen "$datei" "$ziel"
        echo "Aktualisiert: $name"
    else
        ablegen "$datei" "$ziel.neu"
        neue_liste+=("$ziel.neu")
        echo "Geändert oder eigen, bleibt: $name; die mitgelieferte Fassung liegt daneben als $name.neu"
    fi
    mitgeliefert "$name" "$neu" || printf '%s %s\n' "$neu" "$name" >>"$geschichte"
done

# Definitions we shipped before but no longer do go, unless the user changed them.
if [ -f "$geschichte" ]; then
    while read -r h n; do
        [ -n "${geliefert[$n]:-}" ] && continue
        if [ -f "$ordner/$n" ] && [ ! -L "$ordner/$n" ] && [ "$(pruefsumme "$ordner/$n")" = "$h" ]; then
            rm -f -- "$ordner/$n"
            echo "Nicht mehr mitgeliefert, entfernt: $n"
        fi
    done <"$geschichte"
fi

# The desktop entry, pointing to the wizard in the program folder. Exec takes
# the path as one quoted argument (\ " ` $ escaped, % doubled); like every
# value, its backslashes are then doubled once more.
wizard=$ordner/tvverknuepfen
arg=${wizard//\\/\\\\}
arg=${arg//\"/\\\"}
arg=${arg//\`/\\\`}
arg=${arg//\$/\\\$}
arg=${arg//%/%%}
arg=${arg//\\/\\\\}
mkdir -p "$anwendungen"
while IFS= read -r zeile || [ -n "$zeile" ]; do
    case "$zeile" in
    Exec=*) printf 'Exec="%s"\n' "$arg" ;;
    TryExec=*) printf 'TryExec=%s\n' "${wizard//\\/\\\\}" ;;
    *) printf '%s\n' "$zeile" ;;
    esac
done <"$stufe/share/applications/$eintrag" >"$anwendungen/$eintrag.installieren-$$"
mv -f -T -- "$anwendungen/$eintrag.installieren-$$" "$anwendungen/$eintrag"
neue_liste+=("$anwendungen/$eintrag")

# Icons.
if [ -d "$stufe/share/icons/hicolor" ]; then
    while IFS= read -r -d '' datei; do
        ziel=$symbole/${datei#"$stufe/share/icons/hicolor/"}
        ablegen "$datei" "$ziel"
        neue_liste+=("$ziel")
    done < <(find "$stufe/share/icons/hicolor" -type f -print0)
    # A user-level icon cache that is not renewed hides new icons.
    if [ -f "$symbole/icon-theme.cache" ] && command -v gtk-update-icon-cache >/dev/null; then
        gtk-update-icon-cache -q -t -f "$symbole" || true
    fi
    touch "$symbole"
fi

# Links in ~/.local/bin; a file of the user's own by that name stays.
mkdir -p "$bin"
for p in tvverknuepfen einrichter aufzeichnen; do
    if [ -e "$bin/$p" ] && [ ! -L "$bin/$p" ]; then
        echo "$bin/$p ist eine eigene Datei und bleibt; $p liegt in $ordner." >&2
        continue
    fi
    ln -sfn -- "$ordner/$p" "$bin/$p"
    neue_liste+=("$bin/$p")
done

# What the last installation placed and this one no longer does goes.
declare -A bleibt=()
for p in "${neue_liste[@]}"; do bleibt[$p]=1; done
for alt in "${alte_liste[@]}"; do
    [ -n "$alt" ] && [ -z "${bleibt[$alt]:-}" ] && weg "$alt"
done
liste_schreiben
trap - EXIT

# The settings file once: an existing one, even one the suite cannot read,
# is the user's and stays as it is.
if [ ! -e "$ordner/sendwacht.cfg" ]; then
    einrichter=$bin/einrichter
    [ -L "$einrichter" ] || einrichter=$ordner/einrichter
    "$einrichter" || fehler "einrichter konnte $ordner/sendwacht.cfg nicht anlegen."
fi

echo "Installiert in $ordner"
echo "Menüeintrag: $anwendungen/$eintrag"
case ":${PATH:-}:" in
*":$bin:"*) ;;
*) echo "Hinweis: $bin steht nicht im Suchpfad (PATH); nach der nächsten Anmeldung meist schon." ;;
esac
