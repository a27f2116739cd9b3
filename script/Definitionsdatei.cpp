#include "script/Definitionsdatei.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include <QDir>
#include <QFileInfo>

#include "script/Skriptfelder.h"
#include "system/AnsiText.h"
#include "system/Fehler.h"
#include "system/Grundbefehle.h"
#include "system/Programmordner.h"
#include "system/TextZeile2Collection.h"
#include "system/Textdatei.h"

using namespace Qt::StringLiterals;

namespace {

QString dateiImProgrammordner(const QString& datei)
{
    return AppPfad() + DateinameAusPfad(datei);
}

bool istLeerraum(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString leerraumEntfernen(QStringView text)
{
    qsizetype anfang = 0;
    qsizetype ende = text.size();
    while (anfang < ende && istLeerraum(text[anfang]))
        ++anfang;
    while (ende > anfang && istLeerraum(text[ende - 1]))
        --ende;
    return text.sliced(anfang, ende - anfang).toString();
}

// A line break inside a value would end the line early and break the file.
// The hint text keeps it as "[Enter]", which the wizard turns back into a
// line break after reading; any other value gets a blank in its place.
QString einzeilig(QString wert, const QString& ersatz)
{
    wert.replace(u"\r\n"_s, ersatz);
    wert.replace(QLatin1Char('\r'), ersatz);
    wert.replace(QLatin1Char('\n'), ersatz);
    return wert;
}

QString inAnfuehrungszeichen(const QString& wert)
{
    return QLatin1Char('"') + einzeilig(wert, u" "_s) + QLatin1Char('"');
}

} // namespace

QString KommentarEntfernen(const QString& zeile)
{
    qsizetype anfuehrungszeichen = 0;
    for (qsizetype i = 0; i < zeile.size(); ++i) {
        const QChar c = zeile[i];
        if (c == QLatin1Char('"'))
            ++anfuehrungszeichen;
        else if (c == QLatin1Char('\'') && anfuehrungszeichen % 2 == 0)
            return zeile.left(i);
    }
    return zeile;
}

QString ZeilenSchluessel(const QString& zeile)
{
    const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
    if (gleich < 0)
        return QString();
    return leerraumEntfernen(QStringView(zeile).left(gleich)).toLower();
}

QString ZeilenWert(const QString& zeile)
{
    const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
    if (gleich < 0)
        return QString();
    QString wert = leerraumEntfernen(QStringView(zeile).sliced(gleich + 1));
    if (wert.startsWith(QLatin1Char('"'))) {
        wert.remove(0, 1);
        if (wert.endsWith(QLatin1Char('"')))
            wert.chop(1);
    }
    return wert;
}

void SkriptEinladen(Skriptfelder& felder)
{
    const QString quelle = u"SkriptEinladen"_s;
    felder.Beschreibung.clear();
    felder.TVAnwendungdatei.clear();
    felder.TVAnwendungtitel.clear();
    felder.BefehleAnwendungStarten.clear();
    felder.BefehleKanalWechseln.clear();
    felder.BefehleAufnahmeStarten.clear();
    felder.BefehleAufnahmeBeenden.clear();
    felder.BefehleAnwendungBeenden.clear();

    const QString pfad = dateiImProgrammordner(felder.SkriptDateiname);
    if (!DateiExistiert(pfad))
        return;

    const QStringList zeilen = TextdateiLesen(pfad, quelle);
    // The header is compared as it stands: neither trimmed nor stripped of
    // a comment, so a blank before or after it makes the file invalid.
    const QString kopf = zeilen.isEmpty() ? QString() : zeilen.first();
    if (kopf.toLower() != QLatin1String("<sendaro aufzeichnungsskript 1.0>"))
        throw Fehler(1, quelle, u"Das Format oder die Version der Skriptdatei ist ungültig."_s);

    // The header line itself has no "=" and so no key: it falls through.
    Skriptfelder gelesen;
    for (const QString& zeile : zeilen) {
        const QString ohneKommentar = KommentarEntfernen(zeile);
        const QString schluessel = ZeilenSchluessel(ohneKommentar);
        if (schluessel.isEmpty())
            continue;
        if (schluessel == QLatin1String("beschreibung"))
            gelesen.Beschreibung = ZeilenWert(ohneKommentar);
        else if (schluessel == QLatin1String("tvanwendungdatei"))
            gelesen.TVAnwendungdatei = ZeilenWert(ohneKommentar);
        else if (schluessel == QLatin1String("tvanwendungtitel"))
            gelesen.TVAnwendungtitel = ZeilenWert(ohneKommentar);
        else if (schluessel == QLatin1String("befehlanwendungstarten"))
            gelesen.BefehleAnwendungStarten.append(ZeilenWert(ohneKommentar));
        else if (schluessel == QLatin1String("befehlkanalwechseln"))
            gelesen.BefehleKanalWechseln.append(ZeilenWert(ohneKommentar));
        else if (schluessel == QLatin1String("befehlaufnahmestarten"))
            gelesen.BefehleAufnahmeStarten.append(ZeilenWert(ohneKommentar));
        else if (schluessel == QLatin1String("befehlaufnahmebeenden"))
            gelesen.BefehleAufnahmeBeenden.append(ZeilenWert(ohneKommentar));
        else if (schluessel == QLatin1String("befehlanwendungbeenden"))
            gelesen.BefehleAnwendungBeenden.append(ZeilenWert(ohneKommentar));
    }

    felder.Beschreibung = gelesen.Beschreibung;
    felder.TVAnwendungdatei = gelesen.TVAnwendungdatei;
    felder.TVAnwendungtitel = gelesen.TVAnwendungtitel;
    felder.BefehleAnwendungStarten = gelesen.BefehleAnwendungStarten;
    felder.BefehleKanalWechseln = gelesen.BefehleKanalWechseln;
    felder.BefehleAufnahmeStarten = gelesen.BefehleAufnahmeStarten;
    felder.BefehleAufnahmeBeenden = gelesen.BefehleAufnahmeBeenden;
    felder.BefehleAnwendungBeenden = gelesen.BefehleAnwendungBeenden;
}

Skriptdateiliste SkriptdateienAuflisten(const QString& ordner)
{
    const QString quelle = u"SkriptdateienAuflisten"_s;
    const QString mitTrenner = PfadMitBackslash(ordner);
    Skriptdateiliste liste;

    const QDir verzeichnis(mitTrenner);
    if (!verzeichnis.exists())
        return liste;
    if (!QFileInfo(mitTrenner).isReadable())
        throw Fehler(75, quelle, u"Der Ordner \"%1\" kann nicht gelesen werden."_s.arg(mitTrenner));

    // Hidden files count as well; folders, pipes and devices do not (a pipe
    // would block the reader, a device may never end), nor links to them:
    // QDir lists a link to a pipe among the files. Names are matched without
    // regard to case, as the suite's files come from Windows.
    const QStringList namen =
        verzeichnis.entryList({u"*.azs"_s}, QDir::Files | QDir::Hidden, QDir::Unsorted);
    for (const QString& name : namen) {
        if (!QFileInfo(mitTrenner + name).isFile())
            continue;
        QString beschreibung;
        QString standardverzeichnis;
        for (const QString& zeile : TextdateiLesen(mitTrenner + name, quelle)) {
            const QString ohneKommentar = KommentarEntfernen(zeile);
            const QString schluessel = ZeilenSchluessel(ohneKommentar);
            if (schluessel == QLatin1String("beschreibung"))
                beschreibung = ZeilenWert(ohneKommentar);
            else if (schluessel == QLatin1String("standardverzeichnis"))
                standardverzeichnis = ZeilenWert(ohneKommentar);
            else if (schluessel == QLatin1String("befehlanwendungstarten"))
                break; // the general settings stand before the command lists
        }
        liste.dateinamen.append(name);
        liste.beschreibungen.append(beschreibung);
        liste.standardverzeichnisse.append(standardverzeichnis);
    }

    // Sorted by description: ordinal and stable, so files with equal
    // descriptions keep the order in which the folder listed them. A stable
    // sort of the positions, not pairwise swaps: a folder may hold a
    // thousand files.
    std::vector<qsizetype> folge(static_cast<size_t>(liste.beschreibungen.size()));
    std::iota(folge.begin(), folge.end(), qsizetype(0));
    std::stable_sort(folge.begin(), folge.end(), [&liste](qsizetype a, qsizetype b) {
        return liste.beschreibungen[a] < liste.beschreibungen[b];
    });
    Skriptdateiliste sortiert;
    for (const qsizetype i : folge) {
        sortiert.dateinamen.append(liste.dateinamen[i]);
        sortiert.beschreibungen.append(liste.beschreibungen[i]);
        sortiert.standardverzeichnisse.append(liste.standardverzeichnisse[i]);
    }
    return sortiert;
}

QString SchluesselwertLesen(const QString& datei, const QString& schluessel)
{
    const QString quelle = u"SchluesselwertLesen"_s;
    const QString gesucht = LeerzeichenEntfernen(schluessel).toLower();
    // A missing file is an error here, as opening it for reading always was.
    for (const QString& zeile : TextdateiLesen(dateiImProgrammordner(datei), quelle)) {
        const QString ohneKommentar = KommentarEntfernen(zeile);
        if (ZeilenSchluessel(ohneKommentar) == gesucht)
            return ZeilenWert(ohneKommentar);
    }
    return QString();
}

QString BefehlsparameterLesen(const QString& datei, const QString& schluessel,
                              const QString& befehl, int index)
{
    const QString quelle = u"BefehlsparameterLesen"_s;
    const QString gesuchterSchluessel = LeerzeichenEntfernen(schluessel).toLower();
    const QString gesuchterBefehl = LeerzeichenEntfernen(befehl).toLower();
    const QStringList zeilen = TextdateiLesen(dateiImProgrammordner(datei), quelle);
    if (index < 0)
        return QString();
    for (const QString& zeile : zeilen) {
        const QString ohneKommentar = KommentarEntfernen(zeile);
        if (ZeilenSchluessel(ohneKommentar) != gesuchterSchluessel)
            continue;
        const QStringList teile =
            TextZeile2Collection(ZeilenWert(ohneKommentar), u","_s, QString(), true, false, false);
        if (teile.size() >= qsizetype(index) + 1 && teile.first().toLower() == gesuchterBefehl)
            return teile[index];
    }
    return QString();
}

void DefinitionSchreiben(const QString& dateiname, const Definition& definition)
{
    const QString pfad = dateiImProgrammordner(dateiname);
    QStringList zeilen = {
        u"<Sendaro Aufzeichnungsskript 1.0>"_s,
        QString(),
        u"'***Allgemeine Einstellungen***"_s,
        u"Beschreibung="_s + inAnfuehrungszeichen(definition.Beschreibung),
        u"TVAnwendungdatei="_s + inAnfuehrungszeichen(definition.TVAnwendungdatei),
        u"TVAnwendungtitel="_s + inAnfuehrungszeichen(definition.TVAnwendungtitel),
        u"Standardverzeichnis="_s + inAnfuehrungszeichen(definition.Standardverzeichnis),
        u"AuswahlInfo=\""_s + einzeilig(definition.AuswahlInfo, u"[Enter]"_s) + u"\""_s,
        QString(),
    };
    const struct
    {
        QString kommentar;
        QString praefix;
        const QStringList& befehle;
    } listen[] = {
        {u"'***Befehle um die TV-Anwendung zu starten"_s, u"BefehlAnwendungStarten="_s,
         definition.BefehleAnwendungStarten},
        {u"'***Befehle um den Kanal zu wechseln"_s, u"BefehlKanalWechseln="_s,
         definition.BefehleKanalWechseln},
        {u"'***Befehle um die Aufnahme zu starten"_s, u"BefehlAufnahmeStarten="_s,
         definition.BefehleAufnahmeStarten},
        {u"'***Befehle um die Aufnahme zu beenden"_s, u"BefehlAufnahmeBeenden="_s,
         definition.BefehleAufnahmeBeenden},
        {u"'***Befehle um die TV-Anwendung zu schließen***"_s, u"BefehlAnwendungBeenden="_s,
         definition.BefehleAnwendungBeenden},
    };
    for (const auto& liste : listen) {
        zeilen.append(liste.kommentar);
        for (const QString& befehl : liste.befehle)
            zeilen.append(liste.praefix + einzeilig(befehl, u" "_s));
        zeilen.append(QString());
    }

    QByteArray inhalt;
    for (const QString& zeile : zeilen)
        inhalt += zuAnsi(zeile) + "\r\n";

    // Written as a whole new file that replaces the old one, so a failed
    // write never leaves a half-written definition behind.
    if (!DateiErsetzen(pfad, inhalt))
        throw Fehler(75, u"DefinitionSchreiben"_s,
                     u"Die Datei \"%1\" kann nicht geschrieben werden."_s.arg(pfad));
}
