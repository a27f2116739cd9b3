#include "wizard/Assistent.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "script/Aufzeichnungskript.h"
#include "script/Definitionsdatei.h"
#include "script/JokerErsetzen.h"
#include "system/Einstellungsarray.h"
#include "system/Fehler.h"
#include "system/Grundbefehle.h"
#include "system/Programmordner.h"
#include "system/TextZeile2Collection.h"
#include "wizard/Seiten.h"
#include "wizard/Umgebung.h"
#include "wizard_dialog/ComboTextTabelle.h"

using namespace Qt::StringLiterals;

namespace {
const QString kCrLf = u"\r\n"_s;
const QString kKeineVonDiesen = u"(keine von diesen)"_s;

// Button states of an ordinary page and of the welcome page.
constexpr int kAn = 1;
constexpr int kGrau = 2;
constexpr int kAus = 0;

constexpr int kEditorzeilen = 12;
} // namespace

Assistent::Assistent(Seiten& seiten, Umgebung& umgebung)
    : m_seiten(seiten)
    , m_umgebung(umgebung)
{}

QString Assistent::serviceadresse()
{
    return u"service@sendaro.de"_s;
}

int Zahlwert(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    qint64 wert = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        wert = wert * 10 + (text[i].unicode() - u'0');
        if (wert > 1'000'000'000)
            return 1'000'000'000;
    }
    return static_cast<int>(wert);
}

Assistent::Knopf Assistent::gedrueckt() const
{
    if (m_seiten.blnBenutzerAbbrechenGedrückt())
        return Knopf::Abbrechen;
    if (m_seiten.blnBenutzerZurückGedrückt())
        return Knopf::Zurueck;
    return Knopf::Weiter;
}

Assistent::Schritt Assistent::navigation(Schritt zurueck, Schritt weiter) const
{
    switch (gedrueckt()) {
    case Knopf::Abbrechen:
        return Schritt::Ende;
    case Knopf::Zurueck:
        return zurueck;
    case Knopf::Weiter:
        break;
    }
    return weiter;
}

void Assistent::ausfuehren()
{
    startlesung();

    // The step table: each step shows its page and names the next one.
    Schritt s = Schritt::S1;
    while (s != Schritt::Ende) {
        switch (s) {
        case Schritt::S1:
            s = s1();
            break;
        case Schritt::S2:
            s = s2();
            break;
        case Schritt::S3:
            s = s3();
            break;
        case Schritt::S4:
            s = s4();
            break;
        case Schritt::S5:
            s = s5();
            break;
        case Schritt::S6:
            s = s6();
            break;
        case Schritt::S7:
            s = s7();
            break;
        case Schritt::S8:
            s = s8();
            break;
        case Schritt::S9:
            s = s9();
            break;
        case Schritt::S10:
            s = s10();
            break;
        case Schritt::S11:
            s = s11();
            break;
        case Schritt::S12:
            s = s12();
            break;
        case Schritt::S13:
            s = s13();
            break;
        case Schritt::S14:
            s = s14();
            break;
        case Schritt::S15:
            s = befehlsseite(1);
            break;
        case Schritt::S16:
            s = befehlsseite(2);
            break;
        case Schritt::S17:
            s = befehlsseite(3);
            break;
        case Schritt::S18:
            s = befehlsseite(4);
            break;
        case Schritt::S19:
            s = befehlsseite(5);
            break;
        case Schritt::S20:
            s = s20();
            break;
        case Schritt::S21:
            s = s21();
            break;
        case Schritt::Testfrage:
            s = testfrage();
            break;
        case Schritt::Testlauf:
            s = testlauf();
            break;
        case Schritt::Ergebnis:
            s = ergebnis();
            break;
        case Schritt::Abschluss:
            s = abschluss();
            break;
        case Schritt::Ende:
            break;
        }
    }
    m_seiten.schliessen();
}

void Assistent::WerteEinsetzen()
{
    Desktop& d = m_umgebung.desktop();
    QString& t = z.Arbeitstext;
    t = JokerErsetzen(t, u"[ProgrammeOrdner]"_s, GetSonderOrdner(d, 38));
    t = JokerErsetzen(t, u"[WindowsOrdner]"_s, GetSonderOrdner(d, 36));
    t = JokerErsetzen(t, u"[System32Ordner]"_s, GetSonderOrdner(d, 37));
    t = JokerErsetzen(t, u"[TVSoftwarePfad]"_s, z.Programmordner);
    t = JokerErsetzen(t, u"[TVAnwendungtitel]"_s, z.TVAnwendungtitel);
}

// ---- S1 to S3, S6 to S8: choosing the TV application -------------------

Assistent::Schritt Assistent::s1()
{
    m_seiten.ShowShapeNurAnzeige(
        kAn, kGrau, kAn, kAus, z.Assistententitel,
        u"Dieser Assistent unterstützt Sie dabei, Ihre TV-Anwendung an den Sendaro anzubinden. "
        u"Der Sendaro kann dann Sendungen im TV zeitgesteuert für Sie mitschneiden. Achten Sie "
        u"darauf, dass Ihre TV-Anwendung generell Sendungen aufzeichnen kann und so voreingestellt "
        u"ist, dass sie der Sendaro nur noch zu laden braucht und die Aufzeichnung dann direkt "
        u"starten und stoppen kann. Klicken Sie auf (Weiter), wenn Sie beginnen möchten."_s,
        u"TV-Anwendung verknüpfen"_s);
    // Zurück is greyed on this page; should it still report, stay here.
    return navigation(Schritt::S1, Schritt::S2);
}

Assistent::Schritt Assistent::s2()
{
    return listenseite(true);
}

Assistent::Schritt Assistent::s3()
{
    return listenseite(false);
}

Assistent::Schritt Assistent::listenseite(bool erkannte)
{
    const QStringList& dateien = erkannte ? z.ErkannteDateien : z.AlleDateien;
    const QStringList& beschreibungen = erkannte ? z.ErkannteBeschreibungen : z.AlleBeschreibungen;
    const QStringList& verzeichnisse = erkannte ? z.ErkannteVerzeichnisse : z.AlleVerzeichnisse;
    int& auswahl = erkannte ? z.AuswahlErkannt : z.AuswahlBekannt;

    QString liste = kKeineVonDiesen;
    const QString gesucht = z.Beschreibung.trimmed().toLower();
    for (qsizetype i = 0; i < beschreibungen.size(); ++i) {
        // The last match wins; without one the previous choice stays.
        if (beschreibungen[i].trimmed().toLower() == gesucht)
            auswahl = static_cast<int>(i) + 2;
        liste += kCrLf + beschreibungen[i];
    }

    const QString text =
        erkannte
            ? u"Folgende kompatibele TV-Anwendungen wurden auf Ihrem System automatisch erkannt. "
              u"Bitte wählen Sie eine aus, wenn Sie diese verwenden möchten. Wählen Sie "
              u"andernfalls \"(keine von diesen)\" und klicken Sie auf weiter."_s
            : u"Folgende TV-Anwendungen sind dem Sendaro bekannt. Diese Anwendungen konnten "
              u"jedoch nicht automatisch auf Ihrem System erkannt werden. Ist eine von diesem "
              u"TV-Anwendungen installiert und möchten Sie diese verwenden?"_s;
    const QString ergebnis =
        m_seiten.ShowShapeAusListeAuswählen(kAn, kAn, kAn, kAus, z.Assistententitel, text, liste,
                                            QString::number(auswahl), true, false);
    const Knopf knopf = gedrueckt();
    if (knopf == Knopf::Abbrechen)
        return Schritt::Ende;
    if (knopf == Knopf::Zurueck)
        return erkannte ? Schritt::S1 : Schritt::S2;

    auswahl = Zahlwert(ergebnis);
    const qsizetype p = auswahl;
    if (p > 1 && p - 2 < dateien.size()) {
        z.Definitionsdatei = dateien[p - 2];
        z.Beschreibung = beschreibungen[p - 2];
        z.Standardverzeichnis = verzeichnisse[p - 2];
        if (GetEinstellung(kElementDefinition).alsText() != z.Definitionsdatei)
            hinweisZeigen();
        return Schritt::S4;
    }
    if (erkannte)
        return Schritt::S3;
    z.Definitionsdatei.clear();
    z.Beschreibung.clear();
    z.Standardverzeichnis.clear();
    return Schritt::S6;
}

void Assistent::hinweisZeigen()
{
    QString hinweis = SchluesselwertLesen(AppPfad() + z.Definitionsdatei, u"AuswahlInfo"_s);
    hinweis = JokerErsetzen(hinweis, u"[Enter]"_s, kCrLf);
    hinweis = JokerErsetzen(hinweis, u"{Enter}"_s, kCrLf);
    if (LeerzeichenEntfernen(hinweis).isEmpty())
        return;
    m_seiten.meldung(u"Hinweis:"_s + kCrLf + hinweis, z.Beschreibung, Seiten::Symbol::Information,
                     Seiten::Knoepfe::OK);
}

Assistent::Schritt Assistent::s6()
{
    m_seiten.ShowShapeNurAnzeige(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Ihre TV-Applikation ist dem Sendaro noch nicht bekannt. In den folgenden Schritten, "
        u"können Sie alle Einstellungen vornehmen die für die Steuerung Ihrer TV-Applikation nötig "
        u"sind. Klicken Sie auf (Weiter), um mit dem Definieren einer neuen Schnittstellendatei zu "
        u"beginnen."_s,
        QString());
    const Schritt weiter =
        navigation(z.Definitionsdatei.isEmpty() ? Schritt::S3 : Schritt::S7, Schritt::S9);
    if (weiter != Schritt::S9)
        return weiter;
    if (z.DefinitionÄndern != 1) {
        z.Definitionsdatei.clear();
        z.Standardverzeichnis.clear();
        z.Beschreibung.clear();
        z.Programmordner.clear();
        z.StartDatei.clear();
        z.TVAnwendungdatei.clear();
        z.TVAnwendungtitel.clear();
        z.AuswahlInfo.clear();
        z.Stummschaltung = true;
        z.ListeAnwendungStarten.reset();
        z.ListeKanalWechseln.reset();
        z.ListeAufnahmeStarten.reset();
        z.ListeAufnahmeBeenden.reset();
        z.ListeAnwendungBeenden.reset();
    }
    return Schritt::S9;
}

Assistent::Schritt Assistent::s7()
{
    const int antwort = m_seiten.ShowShapeOptionAuswählen(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Möchten Sie die Definition zur Anwendung \""_s + z.Beschreibung +
            u"\" vor dem Aufzeichnungstest noch einmal ändern?"_s,
        u"ja"_s + kCrLf + u"nein"_s, z.DefinitionÄndern);
    const Schritt weiter = navigation(Schritt::S5, Schritt::S8);
    if (weiter != Schritt::S8)
        return weiter;
    z.DefinitionÄndern = antwort;
    return antwort == 1 ? Schritt::S8 : Schritt::Testfrage;
}

Assistent::Schritt Assistent::s8()
{
    m_seiten.ShowShapeNurAnzeige(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"In den folgenden Schritten können Sie die aktuell eingestellte "
        u"Schnittstellendefinition zur Anwendung \""_s +
            z.Beschreibung +
            u"\" verändern. Klicken Sie auf (Weiter), um die Änderung der Schnittstellendatei zu "
            u"beginnen."_s,
        QString());
    const Schritt weiter = navigation(Schritt::S7, Schritt::S9);
    if (weiter == Schritt::S9)
        definitionLaden();
    return weiter;
}

void Assistent::definitionLaden()
{
    const QString datei = AppPfad() + z.Definitionsdatei;
    f.SkriptDateiname = datei;
    SkriptEinladen(f);

    z.Arbeitstext = SchluesselwertLesen(datei, u"Standardverzeichnis"_s);
    WerteEinsetzen();
    z.Standardverzeichnis = z.Arbeitstext;
    z.Beschreibung = SchluesselwertLesen(datei, u"Beschreibung"_s);
    z.Arbeitstext = BefehlsparameterLesen(z.Definitionsdatei, u"BefehlAnwendungStarten"_s,
                                          u"AnwendungStarten"_s, 1);
    WerteEinsetzen();
    z.StartDatei = z.Arbeitstext;
    z.TVAnwendungdatei = SchluesselwertLesen(datei, u"TVAnwendungdatei"_s);
    z.TVAnwendungtitel = SchluesselwertLesen(datei, u"TVAnwendungtitel"_s);

    const auto uebernehmen = [this](std::optional<QStringList>& ziel, const QStringList& quelle) {
        ziel.emplace();
        for (const QString& zeile : quelle) {
            z.Arbeitstext = zeile;
            WerteEinsetzen();
            ziel->append(z.Arbeitstext);
        }
    };
    uebernehmen(z.ListeAnwendungStarten, f.BefehleAnwendungStarten);
    uebernehmen(z.ListeAnwendungBeenden, f.BefehleAnwendungBeenden);
    uebernehmen(z.ListeAufnahmeStarten, f.BefehleAufnahmeStarten);
    uebernehmen(z.ListeAufnahmeBeenden, f.BefehleAufnahmeBeenden);
    uebernehmen(z.ListeKanalWechseln, f.BefehleKanalWechseln);

    z.AuswahlInfo = SchluesselwertLesen(datei, u"AuswahlInfo"_s);
}

// ---- S4, S5, S9 to S14: the application's folder, name, files, window ---

Assistent::Schritt Assistent::s4()
{
    z.Arbeitstext = z.Programmordner.isEmpty() ? z.Standardverzeichnis : z.Programmordner;
    z.Arbeitstext = OrdnerJokerErsetzen(m_umgebung.desktop(), z.Arbeitstext);
    f.SkriptDateiname = z.Definitionsdatei;
    SkriptEinladen(f);

    const QString ergebnis = m_seiten.ShowShapeDateiAuswählen(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Bitte geben Sie an, in welchem Ordner sich Ihre TV-Anwendung befindet."_s,
        u"Programmordner der TV-Anwendung"_s, z.Arbeitstext, 999,
        u"TV-Anwendung ("_s + f.TVAnwendungdatei + u")|"_s + f.TVAnwendungdatei, false, false,
        true);
    const Schritt weiter = navigation(Schritt::S2, Schritt::S5);
    if (weiter != Schritt::S5)
        return weiter;
    z.Arbeitstext = ergebnis;

    const bool istOrdner = OrdnerExistiert(z.Arbeitstext);
    if (!istOrdner && !DateiExistiert(z.Arbeitstext)) {
        m_seiten.meldung(u"\""_s + z.Arbeitstext + u"\" kann nicht gefunden werden."_s,
                         u"TV-Anwendung nicht gefunden"_s, Seiten::Symbol::Kritisch,
                         Seiten::Knoepfe::OK);
        return Schritt::S4;
    }
    z.Programmordner = istOrdner ? z.Arbeitstext : OrdnerAusPfad(z.Arbeitstext);

    if (!f.TVAnwendungdatei.isEmpty() &&
        !DateiExistiert(PfadMitBackslash(z.Programmordner) + f.TVAnwendungdatei)) {
        const auto antwort = m_seiten.meldung(
            u"Die Datei \""_s + f.TVAnwendungdatei + u"\" kann in dem Ordner \""_s +
                z.Programmordner + u"\" nicht gefunden werden."_s + kCrLf + kCrLf +
                u"Möchten Sie dennoch fortsetzen?"_s,
            u"TV-Anwendung nicht gefunden"_s, Seiten::Symbol::Warnung,
            Seiten::Knoepfe::JaNeinNeinVorgabe);
        if (antwort != Seiten::Antwort::Ja)
            return Schritt::S4;
    }
    return Schritt::S5;
}

Assistent::Schritt Assistent::s5()
{
    const bool stumm = m_seiten.ShowShapeHäkchenSetzen(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Möchten Sie, dass während der Aufnahme Ihr PC stumm geschaltet wird? Die Aufzeichnung "
        u"erfolgt weiterhin mit Ton, der PC bleibt aber während der Aufnahme stumm."_s,
        u"Stummschaltung (Mute)"_s, z.Stummschaltung, false);
    const Schritt weiter = navigation(Schritt::S4, Schritt::S7);
    if (weiter == Schritt::S7)
        z.Stummschaltung = stumm;
    return weiter;
}

Assistent::Schritt Assistent::s9()
{
    const QString name = m_seiten.ShowShapeTextzeileEingeben(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Bitte geben Sie den Namen Ihrer TV-Anwendung an. Verwenden Sie dazu möglichst die "
        u"Bezeichnung der originalen Verknüpfung unter Start-Programme. Geben Sie auch möglichst "
        u"den Namen des Herstellers an. Zum Beispiel \"Hauppauge WinTV2000\"."_s,
        z.Beschreibung, true);
    const Schritt weiter =
        navigation(z.Definitionsdatei.isEmpty() ? Schritt::S6 : Schritt::S8, Schritt::S10);
    if (weiter == Schritt::S10)
        z.Beschreibung = name;
    return weiter;
}

Assistent::Schritt Assistent::s10()
{
    const QString datei = m_seiten.ShowShapeDateiAuswählen(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Bitte geben Sie die Datei an, die gestartet werden muss, um Ihre TV-Anwendung zu "
        u"starten."_s,
        u"Start-Datei der TV-Anwendung"_s, z.StartDatei, 1, QString(), false, false, true);
    const Schritt weiter = navigation(Schritt::S9, Schritt::S11);
    if (weiter == Schritt::S11) {
        z.StartDatei = datei;
        z.Programmordner = OrdnerAusPfad(z.StartDatei);
    }
    return weiter;
}

Assistent::Schritt Assistent::s11()
{
    const QString vorschlag =
        z.Standardverzeichnis.isEmpty() ? OrdnerAusPfad(z.StartDatei) : z.Standardverzeichnis;
    z.IstStandardverzeichnis = z.Standardverzeichnis == vorschlag;
    const bool haekchen = m_seiten.ShowShapeHäkchenSetzen(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Ist der Pfad \""_s + vorschlag +
            u"\" das Verzeichnis, indem die TV-Anwendung standardmäßig vom Setup der Anwendung "
            u"installiert wird?"_s,
        u"Pfad ist Standard-Verzeichnis"_s, z.IstStandardverzeichnis, false);
    const Schritt weiter = navigation(Schritt::S10, Schritt::S12);
    if (weiter == Schritt::S12) {
        z.IstStandardverzeichnis = haekchen;
        z.Standardverzeichnis = haekchen ? vorschlag : QString();
    }
    return weiter;
}

Assistent::Schritt Assistent::s12()
{
    const bool starten = m_seiten.ShowShapeHäkchenSetzen(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Die TV-Anwendung wird jetzt minimiert gestartet. Stellen Sie diese gegebenenfalls auf "
        u"stumm, um die nächsten Schritte in Ruhe ausführen zu können. Deaktivieren Sie die untere "
        u"Einstellung, wenn die Anwendung bereits geladen ist."_s,
        u"Gestartet wird: "_s + z.StartDatei, z.JetztStarten, false);
    const Schritt weiter = navigation(Schritt::S11, Schritt::S13);
    if (weiter != Schritt::S13)
        return weiter;
    z.JetztStarten = starten;
    if (!z.JetztStarten)
        return Schritt::S13;

    // The new application's window is waited for, so that its process is in
    // the snapshot of the next page.
    constexpr int kFensterAbwartenMs = 10'000;
    if (!m_umgebung.anwendungMinimiertStarten(z.StartDatei, kFensterAbwartenMs)) {
        const bool fehlt = !QFileInfo::exists(z.StartDatei);
        const Fehler fehler = fehlt
                                  ? Fehler(53, u"Shell"_s, u"Datei nicht gefunden"_s)
                                  : Fehler(75, u"Shell"_s, u"Fehler beim Zugriff auf Pfad/Datei"_s);
        m_seiten.meldung(fehler.anzeigetext() + u":"_s + kCrLf + z.StartDatei,
                         u"TV-Anwendung starten"_s, Seiten::Symbol::Kritisch, Seiten::Knoepfe::OK);
        return Schritt::S12;
    }
    return Schritt::S13;
}

Assistent::Schritt Assistent::s13()
{
    const Prozessliste prozesse = m_umgebung.prozessliste();
    const qsizetype n = prozesse.size();
    const auto nameAn = [&](qsizetype i) { // i counts from 1
        const QString name = DateinameAusPfad(prozesse.wert(i - 1));
        return name.left(name.indexOf(u'|') < 0 ? name.size() : name.indexOf(u'|'));
    };

    z.AuswahlProzess = z.Definitionsdatei.isEmpty() ? 1 : 0;
    const QString gesucht = z.TVAnwendungdatei.trimmed().toLower();
    QStringList namen;
    for (qsizetype i = n; i >= 1; --i) {
        const QString name = nameAn(i);
        namen << name;
        if (name.trimmed().toLower() == gesucht)
            z.AuswahlProzess = static_cast<int>(n - i + 1);
    }
    const QString ergebnis = m_seiten.ShowShapeAusListeAuswählen(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Bitte geben Sie den Prozessnamen an, unter dem die TV-Anwendung jetzt in der Liste der "
        u"geladenen Programme zu finden ist."_s,
        namen.join(kCrLf), QString::number(z.AuswahlProzess), true, false);
    const Schritt weiter = navigation(Schritt::S12, Schritt::S14);
    if (weiter != Schritt::S14)
        return weiter;
    // Position 0 (nothing chosen) or one past the end would address no
    // entry of the snapshot.
    z.AuswahlProzess =
        static_cast<int>(std::clamp<qsizetype>(Zahlwert(ergebnis), 1, std::max<qsizetype>(n, 1)));
    if (n > 0)
        z.TVAnwendungdatei = nameAn(n - z.AuswahlProzess + 1);
    return Schritt::S14;
}

Assistent::Schritt Assistent::s14()
{
    const QString titel = m_seiten.ShowShapeTextzeileEingeben(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Bitte geben Sie jetzt den Fenstertitel der TV-Anwendung an. Sie finden diesen Text im "
        u"Tooltipp des Eintrags momentan in Ihrer Taskleiste oder in der blauen Titelleiste des "
        u"geöffneten Fensters Ihrer TV-Anwendung. Achten Sie dabei auf korrekte Groß- und "
        u"Kleinschreibung."_s,
        z.TVAnwendungtitel, true);
    const Schritt weiter = navigation(Schritt::S13, Schritt::S15);
    if (weiter == Schritt::S15)
        z.TVAnwendungtitel = titel;
    return weiter;
}

// ---- S15 to S20: the command lists and the hint ------------------------

ComboTextTabelle ListeAlsTabelle(const QStringList& liste)
{
    ComboTextTabelle tabelle(std::max<int>(kEditorzeilen, static_cast<int>(liste.size())));
    for (qsizetype r = 0; r < liste.size(); ++r) {
        const QStringList teile =
            TextZeile2Collection(liste[r], u","_s, QString(), true, true, false);
        // A line without a parameter ("Beep") leaves its row empty.
        if (teile.size() >= 2) {
            tabelle.setzen(static_cast<int>(r) + 1, 1, teile[0]);
            tabelle.setzen(static_cast<int>(r) + 1, 2, teile[1]);
        }
    }
    return tabelle;
}

QStringList TabelleAlsListe(const ComboTextTabelle& tabelle)
{
    QStringList liste;
    for (int r = 1; r <= tabelle.zeilen(); ++r) {
        const QString befehl = LeerzeichenEntfernen(tabelle.text(r, 1));
        if (befehl.isEmpty())
            continue;
        liste << befehl + u",\""_s + LeerzeichenEntfernen(tabelle.text(r, 2)) + u'"';
    }
    return liste;
}

Assistent::Schritt Assistent::befehlsseite(int nummer)
{
    struct Seite
    {
        std::optional<QStringList> Assistentenzustand::*liste;
        QString text;
        QString zusatz;
        QStringList vorgaben;
    };
    const QString aktivieren = u"FensterAktivieren,\""_s + z.TVAnwendungtitel + u'"';
    const Seite seiten[] = {
        {&Assistentenzustand::ListeAnwendungStarten,
         u"Geben Sie jetzt die einzelnen Schritte an, die nötig sind, um Ihre TV-Anwendung zu "
         u"starten."_s,
         u"Einige Schritte, die zum Starten der Anwendung erforderlich sind, sind bereits "
         u"vordefiniert. Sie können diese ändern oder weitere Schritte hinzufügen."_s,
         {u"AnwendungStarten,\""_s + PfadMitBackslash(z.Programmordner) + z.TVAnwendungdatei + u'"',
          aktivieren}},
        {&Assistentenzustand::ListeKanalWechseln,
         u"Bitte geben Sie jetzt an, wie vor der Aufzeichnung zum richtigen Kanal gewechselt "
         u"werden kann. Verwenden Sie den Platzhalter \"[Kanal]\". Dieser Platzhalter wird bei der "
         u"Ausführung durch die tatsächliche Programmplatznummer des Senders ersetzt. Zum Beispiel "
         u"durch \"02\" für \"ZDF\"."_s,
         u"In der Regel reicht es, bei der laufenden TV-Anwendung, zweistellig die "
         u"Programmplatznummer einzutippen. Passen Sie, falls nötig, die Befehle an Ihre "
         u"TV-Anwendung an."_s,
         {aktivieren, u"TastenSenden,\"[Kanal]\""_s, u"Warten,3"_s}},
        {&Assistentenzustand::ListeAufnahmeStarten,
         u"Bestimmen Sie jetzt, wie die Aufzeichnung bei der geladenen TV-Anwendung gestartet "
         u"werden kann."_s,
         u"Meist kann die Aufzeichnung durch Drücken einer bestimmten Tastenkombination gestartet "
         u"werden. Voreingestellt ist, das Aktivieren der TV-Anwendung und das Senden der Tasten "
         u"\"[Alt]r\". Stellen Sie stattdessen die richtige Tastenkombination ein."_s,
         {aktivieren, u"TastenSenden,\"[Alt]r\""_s, u"Warten,3"_s}},
        {&Assistentenzustand::ListeAufnahmeBeenden,
         u"Bestimmen Sie nun, wie eine laufende Aufzeichnung beendet werden kann."_s,
         u"Voreingestellt ist das Senden der Taste \"[ESC]\". Ändern Sie diese Tastenkombination "
         u"entsprechend ab."_s,
         {aktivieren, u"TastenSenden,\"[ESC]\""_s, u"Warten,3"_s}},
        {&Assistentenzustand::ListeAnwendungBeenden,
         u"Bestimmen Sie abschließend, wie die geladene TV-Anwendung, die zu diesem Zeitpunkt "
         u"nicht mehr aufzeichnet, beendet werden kann."_s,
         u"Voreingestellt ist das Senden der Tastenkombination \"[Alt][F4]\". Ändern Sie diese "
         u"Tastenkombination entsprechend ab, falls nötig."_s,
         {aktivieren, u"TastenSenden,\"[Alt][F4]\""_s, u"Warten,3"_s}},
    };
    const Seite& seite = seiten[nummer - 1];
    const Schritt zurueck = nummer == 1 ? Schritt::S14 : Schritt(int(Schritt::S15) + nummer - 2);
    const Schritt weiter = Schritt(int(Schritt::S15) + nummer);

    std::optional<QStringList>& liste = z.*seite.liste;
    if (!liste)
        liste.emplace();
    const bool neu = z.Definitionsdatei.isEmpty();
    if (neu && liste->isEmpty())
        *liste = seite.vorgaben;

    // A hand-written definition may hold more lines than the editor has
    // rows; such a list is kept as it is rather than cut.
    if (liste->size() > kEditorzeilen) {
        const auto antwort = m_seiten.meldung(
            u"Diese Befehlsliste enthält %1 Befehle, der Editor kann aber nur %2 anzeigen."_s.arg(
                QString::number(liste->size()), QString::number(kEditorzeilen)) +
                kCrLf + kCrLf +
                u"Möchten Sie die Liste unverändert übernehmen? Mit \"Nein\" kehren Sie zur "
                u"vorigen Seite zurück; ändern Sie eine so lange Liste bitte in der "
                u"Definitionsdatei selbst."_s,
            z.Assistententitel, Seiten::Symbol::Warnung, Seiten::Knoepfe::JaNein);
        return antwort == Seiten::Antwort::Ja ? weiter : zurueck;
    }

    const QString text = neu ? seite.text + kCrLf + kCrLf + seite.zusatz : seite.text;
    const ComboTextTabelle ergebnis = m_seiten.ShowShapeComboTextEingeben(
        kAn, kAn, kAn, kAus, z.Assistententitel, text,
        u",AnwendungStarten,FensterAktivieren,Warten,TastenSenden,Terminieren,Beep"_s,
        ListeAlsTabelle(*liste));
    const Schritt naechster = navigation(zurueck, weiter);
    if (naechster == weiter)
        *liste = TabelleAlsListe(ergebnis);
    return naechster;
}

Assistent::Schritt Assistent::s20()
{
    const QString hinweis = m_seiten.ShowShapeTextzeileEingeben(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Bestimmen Sie jetzt, falls erforderlich, noch einen Hinweistext, der immer dann "
        u"angezeigt wird, wenn Ihre TV-Anwendung später im Einstellungsbereich des Sendaros, zur "
        u"Aufzeichnung ausgewählt wird. Bei diesem Text können Sie auf Besonderheiten hinweisen, "
        u"die zur Nutzung im Sendaro beachtet werden müssen."_s,
        z.AuswahlInfo, false);
    const Schritt weiter = navigation(Schritt::S19, Schritt::S21);
    if (weiter == Schritt::S21) {
        z.AuswahlInfo = hinweis;
        // The name proposed on the file-name page, made once on the way in.
        z.Fehlerort = u"AZSDateiname"_s;
        m_vorgeschlagenerName = DateinameAusPfad(z.Definitionsdatei);
        if (m_vorgeschlagenerName.isEmpty())
            m_vorgeschlagenerName =
                u"link-"_s + QString(z.Beschreibung).replace(u' ', u'-').toLower() + u".azs"_s;
    }
    return weiter;
}

// ---- S21: the file name and saving ---------------------------------------

namespace {
/// Whether a file of this name can be made in the folder: it is created
/// (empty) when it does not exist and left as it is when it does.
bool dateinameBrauchbar(const QString& ordner, const QString& name)
{
    // The file is written beside itself under its name and a suffix of 7
    // characters first, then renamed; that name must fit the 255 bytes too.
    constexpr qsizetype kLaengsterName = 255 - 7;
    if (name.isEmpty() || name == u"."_s || name == u".."_s || name.contains(QChar(0)) ||
        QFile::encodeName(name).size() > kLaengsterName)
        return false;
    QFile datei(ordner + name);
    // A folder, a pipe or a device of that name cannot become the file (and
    // opening a pipe would block).
    const QFileInfo info(datei);
    if (info.exists() && !info.isFile())
        return false;
    return datei.open(QIODevice::WriteOnly | QIODevice::Append);
}
} // namespace

Assistent::Schritt Assistent::s21()
{
    z.Fehlerort = u"AZSDateinameNochmal"_s;
    const QString eingabe = m_seiten.ShowShapeTextzeileEingeben(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Die Definition der Verknüpfung Ihrer TV-Anwendung mit dem Sendaro ist nun "
        u"abgeschlossen."_s +
            kCrLf + kCrLf +
            u"Bitte geben Sie einen Dateinamen an, unter dem Sie Ihre eben erstellte Definition "
            u"speichern möchten."_s,
        m_vorgeschlagenerName, true);
    const Schritt weiter = navigation(Schritt::S20, Schritt::Testfrage);
    if (weiter != Schritt::Testfrage)
        return weiter;
    // Shown again after a refusal, the page offers what was typed.
    m_vorgeschlagenerName = eingabe;
    // A folder typed in front of the name is dropped: the file always goes
    // into the program's folder.
    z.Arbeitstext = DateinameAusPfad(eingabe);

    const QFileInfo vorhanden(AppPfad() + z.Arbeitstext);
    if (!z.Arbeitstext.isEmpty() && vorhanden.isFile()) {
        const auto antwort = m_seiten.meldung(
            u"Die Datei \""_s + z.Arbeitstext + u"\" existiert bereits."_s + kCrLf +
                u"Möchten Sie diese überschreiben?"_s,
            u"Datei existiert bereits"_s, Seiten::Symbol::Frage, Seiten::Knoepfe::JaNein);
        if (antwort != Seiten::Antwort::Ja)
            return Schritt::S21;
    }

    z.Fehlerort = u"Dateiname testen"_s;
    if (!dateinameBrauchbar(AppPfad(), z.Arbeitstext)) {
        m_seiten.meldung(
            u"Der Dateiname ist ungültig. Prüfen Sie eventuell auf nicht zulässige Zeichen."_s,
            u"Dateiname ungültig"_s, Seiten::Symbol::Kritisch, Seiten::Knoepfe::OK);
        return Schritt::S21;
    }
    return speichern();
}

Assistent::Schritt Assistent::speichern()
{
    try {
        z.Fehlerort = u"Datei öffnen"_s;
        z.Definitionsdatei = z.Arbeitstext;
        Desktop& d = m_umgebung.desktop();
        Definition def;
        def.Beschreibung = z.Beschreibung;
        def.TVAnwendungdatei = z.TVAnwendungdatei;
        def.TVAnwendungtitel = z.TVAnwendungtitel;
        def.Standardverzeichnis = SonderOrdnerPlatzhalterEinsetzen(d, z.Standardverzeichnis);
        def.AuswahlInfo = z.AuswahlInfo;

        const std::pair<const std::optional<QStringList>*, QStringList*> listen[] = {
            {&z.ListeAnwendungStarten, &def.BefehleAnwendungStarten},
            {&z.ListeKanalWechseln, &def.BefehleKanalWechseln},
            {&z.ListeAufnahmeStarten, &def.BefehleAufnahmeStarten},
            {&z.ListeAufnahmeBeenden, &def.BefehleAufnahmeBeenden},
            {&z.ListeAnwendungBeenden, &def.BefehleAnwendungBeenden},
        };
        int nummer = 0;
        for (const auto& [quelle, ziel] : listen) {
            z.Fehlerort = u"Befehle speichern (%1)"_s.arg(++nummer);
            if (!*quelle)
                continue;
            for (const QString& zeile : **quelle) {
                z.Arbeitstext = zeile;
                z.Arbeitstext =
                    PlatzhalterEinsetzen(d, z.Arbeitstext, z.Programmordner, z.TVAnwendungtitel);
                ziel->append(z.Arbeitstext);
            }
        }
        // The file is written as a whole and replaces the old one on closing.
        z.Fehlerort = u"Datei schließen"_s;
        DefinitionSchreiben(z.Definitionsdatei, def);
    } catch (const Fehler& fehler) {
        m_seiten.meldung(fehler.anzeigetext(), z.Fehlerort, Seiten::Symbol::Kritisch,
                         Seiten::Knoepfe::OK);
        m_umgebung.pcStummschaltungZuruecksetzen();
        return Schritt::Ende;
    }

    m_seiten.meldung(u"Ihre Definition wurde gespeichert. "_s +
                         u"Sie können Ihre TV-Anwendung jetzt wieder schließen."_s + kCrLf + kCrLf +
                         u"Tipp: Wenn Sie mit Ihrer Definition eine uns noch nicht bekannte "_s +
                         u"TV-Anwendung an den Sendaro angebunden haben und "_s +
                         u"diese einwandfrei funktioniert, schreiben wir Ihnen "_s +
                         u"3 Extra-Monate auf Ihr Premium-Benutzerkonto gut, wenn Sie uns "_s +
                         u"die erstellte AZS-Datei zusenden und wir diese bei zukünftigen "_s +
                         u"Sendaro-Versionen mit veröffentlichen. Senden Sie dazu Ihre "_s +
                         u"Datei an "_s + serviceadresse() + u'.',
                     u"Datei gespeichert."_s, Seiten::Symbol::Information, Seiten::Knoepfe::OK);
    return Schritt::Testfrage;
}

// ---- The test recording ----------------------------------------------------

Assistent::Schritt Assistent::testfrage()
{
    const bool testen = m_seiten.ShowShapeHäkchenSetzen(
        kAn, kAn, kAn, kAus, z.Assistententitel,
        u"Dieser Assistent hat nun alle erforderlichen Einstellungen, um einen Test durchführen "
        u"zu können. Möchten Sie jetzt eine 15 Sekunden lange Testaufzeichnung durchführen?"_s,
        u"Testaufzeichnung durchführen"_s, z.Testen, false);
    const Schritt weiter = navigation(Schritt::S7, Schritt::Testlauf);
    if (weiter != Schritt::Testlauf)
        return weiter;
    z.Testen = testen;
    return z.Testen ? Schritt::Testlauf : Schritt::Abschluss;
}

void Assistent::statusseite(const QString& beschriftung, const QString& statuszeile)
{
    m_seiten.ShowShapeNurAnzeige(
        kGrau, kGrau, kGrau, kAus, beschriftung,
        statuszeile.isEmpty() ? m_testtext : m_testtext + kCrLf + kCrLf + statuszeile, QString());
}

Assistent::Schritt Assistent::testlauf()
{
    try {
        m_testtext =
            u"Der Aufzeichnungstest wird nun durchgeführt. Warten Sie etwa 15 Sekunden ab und "
            u"beobachten Sie, ob alles erwartungsgemäß abläuft. Klicken Sie auf (Weiter) wenn sich "
            u"nach diesem Test im Aufzeichnungsordner Ihrer TV-Anwendung eine aufrufbare "
            u"Videodatei befindet. Klicken Sie andernfalls auf (Zurück) und korrigieren Sie die "
            u"aktuellen Einstellungen."_s;
        const int kanal = std::clamp(static_cast<int>(m_umgebung.zufall() * 3) + 1, 1, 3);
        const QString k = u"%1"_s.arg(kanal, 2, 10, QLatin1Char('0'));

        statusseite(z.Assistententitel, QString());
        m_umgebung.schlafen(500);
        statusseite(z.Assistententitel, u"Status: AZS-Datei wird eingeladen"_s);
        f.SkriptDateiname = z.Definitionsdatei;
        SkriptEinladen(f);
        f.PCStummschaltenAktiv = z.Stummschaltung;
        f.Titel = u"Beispielsendung"_s;
        f.Kanal = k;
        f.TVSoftwarePfad = z.Programmordner;

        Desktop& d = m_umgebung.desktop();
        const auto phase = [this](const QString& beschriftung) {
            statusseite(beschriftung, u"Status: "_s + beschriftung);
            m_umgebung.schlafen(200);
        };
        const auto laeuft = [this] {
            return !f.TVAnwendungdatei.isEmpty() &&
                   m_umgebung.prozessliste().enthaelt(f.TVAnwendungdatei.toLower());
        };

        if (z.Stummschaltung) {
            phase(u"PC stumm schalten"_s);
            m_umgebung.pcStummschalten();
        }
        if (!laeuft()) {
            phase(u"TV-Anwendung wird gestartet"_s);
            AnwendungStarten(f, d);
        }
        if (laeuft()) {
            phase(u"Kanal \""_s + k + u"\" wird aktiviert"_s);
            KanalWechseln(f, d);
        }
        if (laeuft()) {
            phase(u"Aufzeichnung wird gestartet"_s);
            AufzeichnungStarten(f, d);
        }
        if (laeuft()) {
            phase(u"15 Sekunden aufzeichnen"_s);
            const QLocale zahlformat;
            for (int i = 1; i <= 150; ++i) {
                const QString r = zahlformat.toString(15.0 - i / 10.0, 'f', 1);
                statusseite(r + u" Sek."_s,
                            u"Status: 15 Sekunden aufzeichnen ("_s + r + u" Sek.)"_s);
                m_umgebung.schlafen(100);
                m_umgebung.ereignisseVerarbeiten();
            }
        }
        if (laeuft()) {
            phase(u"Aufzeichnung beenden"_s);
            AufzeichnungBeenden(f, d);
        }
        if (laeuft()) {
            phase(u"TV-Anwendung schließen"_s);
            AnwendungBeenden(f, d);
        }
        if (z.Stummschaltung) {
            phase(u"PC nicht mehr stumm schalten"_s);
            m_umgebung.pcStummschaltungZuruecksetzen();
        }
    } catch (const Fehler& fehler) {
        m_seiten.meldung(u"Der Test wurde abgebrochen, da ein Fehler auftrat."_s + kCrLf + kCrLf +
                             fehler.anzeigetext(),
                         u"Test der Aufzeichnung"_s, Seiten::Symbol::Kritisch, Seiten::Knoepfe::OK);
        m_umgebung.pcStummschaltungZuruecksetzen();
        return Schritt::Testfrage;
    }
    return Schritt::Ergebnis;
}

Assistent::Schritt Assistent::ergebnis()
{
    m_seiten.ShowShapeNurAnzeige(kAn, kAn, kAn, kAus, z.Assistententitel,
                                 u"Der Aufzeichnungstest ist beendet."_s + kCrLf +
                                     u"Prüfen Sie jetzt, ob Ihre TV-Anwendung die 15 Sekunden "
                                     u"erfolgreich aufgezeichnet hat."_s,
                                 QString());
    return navigation(Schritt::Testfrage, Schritt::Abschluss);
}

Assistent::Schritt Assistent::abschluss()
{
    Einstellungsarray einstellungen = GetEinstellungsarray();
    einstellungen.textSetzen(kElementDefinition, z.Definitionsdatei);
    einstellungen.textSetzen(kElementProgrammordner, z.Programmordner);
    einstellungen.wahrheitswertSetzen(kElementStummschaltung, z.Stummschaltung);
    PutEinstellungsarray(einstellungen);

    m_seiten.ShowShapeNurAnzeige(kGrau, kAn, kAus, kAn, z.Assistententitel,
                                 u"Es sind nun alle erforderlichen Einstellungen bekannt. Sie "
                                 u"können alle TV- und Aufzeichnungsfunktionen des Sendaros jetzt "
                                 u"verwenden."_s,
                                 QString());
    return navigation(Schritt::Testfrage, Schritt::Ende);
}
