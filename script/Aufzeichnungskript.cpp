#include "script/Aufzeichnungskript.h"

#include "script/Desktop.h"
#include "script/JokerErsetzen.h"
#include "script/Skriptfelder.h"
#include "script/Statusanzeige.h"
#include "script/Tastennamen.h"
#include "script/ZahlLesen.h"
#include "system/Fehler.h"
#include "system/Grundbefehle.h"
#include "system/Prozessliste.h"
#include "system/TextZeile2Collection.h"

using namespace Qt::StringLiterals;

namespace {
const QString kQuelle = u"BefehlAusführen"_s;
constexpr QChar kAnf = u'"';

// Pause after a successful activation, so the window is in front before the
// next command sends keys; pause after keystrokes; one tick of Warten.
constexpr int kNachAktivierungMs = 200;
constexpr int kNachTastenMs = 100;
constexpr int kTaktMs = 100;
// Longest stretch the window search sleeps between tries. The back-end
// wakes it at once on every window change, so this only bounds how late the
// clock is checked and how often a refused activation is retried.
constexpr int kFenstersucheSchrittMs = 250;
// How long a window search tries, as a difference of whole-second readings.
constexpr qint64 kFenstersucheSekunden = 15;

QString inAnfuehrung(const QString& text)
{
    return kAnf + text + kAnf;
}

class Bericht
{
public:
    explicit Bericht(const Skriptfelder& felder)
        : m_an(felder.StatusAnzeigen)
    {}

    void melden(const QString& text) const
    {
        if (Statusanzeige* a = anzeige())
            a->ShowDebugInfo(text);
    }
    void ok() const
    {
        if (Statusanzeige* a = anzeige())
            a->ShowDebugInfoAddOk();
    }

private:
    Statusanzeige* anzeige() const { return m_an ? AktuelleStatusanzeige() : nullptr; }
    bool m_an;
};

/// A key parameter counts as one key when it is one character or one
/// bracketed name such as "[ESC]".
bool einzelneTaste(const QString& p)
{
    if (p.size() == 1)
        return true;
    return p.startsWith(u'[') && p.endsWith(u']') && p.count(u'[') == 1;
}

void anwendungStartenBefehl(Desktop& desktop, const Bericht& bericht, const QString& parameter)
{
    bericht.melden(u"Starte "_s + inAnfuehrung(DateinameAusPfad(parameter)));
    const bool gestartet = desktop.programmStarten(parameter, Desktop::Fensterart::Normal);
    desktop.ereignisseVerarbeiten();
    if (!gestartet)
        throw Fehler(1, kQuelle,
                     u"Die Anwendung "_s + inAnfuehrung(parameter) +
                         u" konnte nicht gestartet werden."_s);
    bericht.ok();
}

void fensterAktivierenBefehl(const Skriptfelder& felder, Desktop& desktop, const Bericht& bericht,
                             const QString& befehl, const QString& parameter)
{
    bericht.melden(u"Aktiviere "_s + inAnfuehrung(parameter));
    desktop.fensterZeigen(parameter);

    // Measured as the difference of whole-second clock readings.
    const qint64 anfang = desktop.jetzt().toSecsSinceEpoch();
    bool aktiviert = false;
    for (;;) {
        aktiviert = desktop.fensterAktivieren(parameter, felder.TVAnwendungdatei);
        desktop.ereignisseVerarbeiten();
        if (aktiviert || desktop.jetzt().toSecsSinceEpoch() - anfang >= kFenstersucheSekunden)
            break;
        // Sleep until a window appears or changes its title instead of
        // trying again at once.
        desktop.aufFensteraenderungWarten(kFenstersucheSchrittMs);
    }
    if (!aktiviert)
        throw Fehler(1, kQuelle,
                     u"Der Befehl "_s + inAnfuehrung(befehl) +
                         u" schlug fehl, da ein Fenster mit dem Titel "_s +
                         inAnfuehrung(parameter) +
                         u" 15 Sekunden lang nicht gefunden werden konnte."_s);
    bericht.ok();
    desktop.ereignisseVerarbeiten();
    desktop.warten(kNachAktivierungMs);
}

void tastenSendenBefehl(Desktop& desktop, const Bericht& bericht, const QString& parameter)
{
    bericht.melden((einzelneTaste(parameter) ? u"Sende Taste "_s : u"Sende Tasten "_s) +
                   inAnfuehrung(parameter));
    const bool gesendet = desktop.tastenSenden(TastennamenUebersetzen(parameter));
    desktop.ereignisseVerarbeiten();
    desktop.warten(kNachTastenMs);
    if (!gesendet)
        throw Fehler(1, kQuelle,
                     u"Die Tastenkombination "_s + inAnfuehrung(parameter) +
                         u" enthält ungültige Werte."_s);
    bericht.ok();
}

void wartenBefehl(Desktop& desktop, const Bericht& bericht, const QString& parameter)
{
    bericht.melden(u"Warte "_s + parameter + u" Sekunden"_s);
    const std::optional<qint32> takte = WartetakteLesen(parameter);
    if (!takte)
        throw Fehler(6, kQuelle, u"Überlauf"_s);
    for (qint32 i = 0; i < *takte; ++i) {
        desktop.warten(kTaktMs);
        desktop.ereignisseVerarbeiten();
    }
    bericht.ok();
}

void terminierenBefehl(Desktop& desktop, const Bericht& bericht, const QString& parameter)
{
    bericht.melden(u"Terminiere "_s + inAnfuehrung(parameter));
    // A program that does not run is no error.
    ProzessBeenden(parameter);
    desktop.ereignisseVerarbeiten();
    bericht.ok();
}

void beepBefehl(Desktop& desktop, const Bericht& bericht)
{
    bericht.melden(u"Beep"_s);
    desktop.beep();
    desktop.ereignisseVerarbeiten();
    bericht.ok();
}

void phaseAusfuehren(const Skriptfelder& felder, Desktop& desktop, const QStringList& befehle,
                     const QString& name, const QString& meldung)
{
    // The count is taken once, as the list was when the phase began.
    const qsizetype anzahl = befehle.size();
    for (qsizetype i = 0; i < anzahl; ++i) {
        try {
            BefehlAusführen(felder, desktop, befehle.at(i));
        } catch (const Fehler& f) {
            throw Fehler(f.nummer(), name, meldung + u"\r\n"_s + f.meldung());
        }
    }
}
} // namespace

void BefehlAusführen(const Skriptfelder& felder, Desktop& desktop, const QString& befehlszeile)
{
    const QString zeile = JokerFuerAusfuehrungErsetzen(felder, desktop, befehlszeile);
    QStringList teile = TextZeile2Collection(zeile, u","_s, QString(), true, false, false);
    const QString befehl = teile.isEmpty() ? QString() : teile.takeFirst();
    const QString wort = befehl.toLower();
    const Bericht bericht(felder);

    const auto parameter = [&]() -> QString {
        if (teile.isEmpty())
            throw Fehler(5, kQuelle, u"Ungültiger Prozeduraufruf oder ungültiges Argument"_s);
        return teile.first();
    };

    if (wort == u"anwendungstarten"_s) {
        anwendungStartenBefehl(desktop, bericht, parameter());
    } else if (wort == u"fensteraktivieren"_s) {
        fensterAktivierenBefehl(felder, desktop, bericht, befehl, parameter());
    } else if (wort == u"tastensenden"_s) {
        tastenSendenBefehl(desktop, bericht, parameter());
    } else if (wort == u"warten"_s) {
        wartenBefehl(desktop, bericht, parameter());
    } else if (wort == u"terminieren"_s) {
        terminierenBefehl(desktop, bericht, parameter());
    } else if (wort == u"beep"_s) {
        beepBefehl(desktop, bericht);
    } else {
        bericht.melden(u"Unbekannter Befehl"_s);
        throw Fehler(1, kQuelle, u"Unbekannter Befehl "_s + inAnfuehrung(befehl) + u" gefunden."_s);
    }
}

void AnwendungStarten(const Skriptfelder& felder, Desktop& desktop)
{
    phaseAusfuehren(felder, desktop, felder.BefehleAnwendungStarten, u"AnwendungStarten"_s,
                    u"Fehler beim Starten der TV-Applikation."_s);
}

void KanalWechseln(const Skriptfelder& felder, Desktop& desktop)
{
    if (!felder.KanalWechselnAktiv)
        return;
    phaseAusfuehren(felder, desktop, felder.BefehleKanalWechseln, u"KanalWechseln"_s,
                    u"Fehler beim Wechseln des Kanals."_s);
}

void AufzeichnungStarten(const Skriptfelder& felder, Desktop& desktop)
{
    phaseAusfuehren(felder, desktop, felder.BefehleAufnahmeStarten, u"AufzeichnungStarten"_s,
                    u"Fehler beim Starten der Aufzeichnung."_s);
}

void AufzeichnungBeenden(const Skriptfelder& felder, Desktop& desktop)
{
    phaseAusfuehren(felder, desktop, felder.BefehleAufnahmeBeenden, u"AufzeichnungBeenden"_s,
                    u"Fehler beim Beenden der Aufzeichnung."_s);
}

void AnwendungBeenden(const Skriptfelder& felder, Desktop& desktop)
{
    phaseAusfuehren(felder, desktop, felder.BefehleAnwendungBeenden, u"AnwendungBeenden"_s,
                    u"Fehler beim Beenden der TV-Applikation."_s);
}

bool TVAnwendungLaeuft(const Skriptfelder& felder)
{
    return ProzessLaeuft(felder.TVAnwendungdatei);
}
