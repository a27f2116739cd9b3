#include "script/JokerErsetzen.h"

#include "script/Desktop.h"
#include "script/Skriptfelder.h"

#include <QList>

using namespace Qt::StringLiterals;

namespace {

bool davorErlaubt(QChar c)
{
    return QStringView(u" \t\"',=(").contains(c);
}

bool danachErlaubt(QChar c)
{
    return QStringView(u"/\\ \t\"',)").contains(c);
}

// A text taken apart into plain pieces and placeholders already inserted;
// only plain pieces are searched.
struct Stueck
{
    QString text;
    bool platzhalter = false;
};
using Stuecke = QList<Stueck>;

/// `suche` replaced by `platzhalter`, with exact case, left to right without
/// overlaps, in the pieces no placeholder stands for yet; with
/// `ganzeBestandteile` only where it stands as whole path components.
void ersetzen(Stuecke& stuecke, const QString& suche, const QString& platzhalter,
              bool ganzeBestandteile)
{
    if (suche.isEmpty())
        return;
    Stuecke ergebnis;
    for (const Stueck& stueck : std::as_const(stuecke)) {
        if (stueck.platzhalter) {
            ergebnis.append(stueck);
            continue;
        }
        const QString& t = stueck.text;
        qsizetype pos = 0;
        for (qsizetype p = t.indexOf(suche, 0, Qt::CaseSensitive); p >= 0;
             p = t.indexOf(suche, p + 1, Qt::CaseSensitive)) {
            const qsizetype ende = p + suche.size();
            if (p < pos)
                continue;
            if (ganzeBestandteile && ((p > 0 && !davorErlaubt(t[p - 1])) ||
                                      (ende < t.size() && !danachErlaubt(t[ende]))))
                continue;
            if (p > pos)
                ergebnis.append({t.mid(pos, p - pos), false});
            ergebnis.append({platzhalter, true});
            pos = ende;
        }
        if (pos < t.size())
            ergebnis.append({t.mid(pos), false});
    }
    stuecke = ergebnis;
}

void ordnerErsetzen(Stuecke& stuecke, QString ordner, const QString& platzhalter)
{
    while (ordner.size() > 1 && (ordner.endsWith(u'/') || ordner.endsWith(u'\\')))
        ordner.chop(1);
    ersetzen(stuecke, ordner, platzhalter, true);
}

void sonderOrdnerErsetzen(Desktop& desktop, Stuecke& stuecke)
{
    // The Windows folder before the system folder: /usr before /usr/bin,
    // which expands to the same path.
    ordnerErsetzen(stuecke, GetSonderOrdner(desktop, 38), u"[ProgrammeOrdner]"_s);
    ordnerErsetzen(stuecke, GetSonderOrdner(desktop, 36), u"[WindowsOrdner]"_s);
    ordnerErsetzen(stuecke, GetSonderOrdner(desktop, 37), u"[System32Ordner]"_s);
}

QString zusammensetzen(const Stuecke& stuecke)
{
    QString text;
    for (const Stueck& stueck : stuecke)
        text += stueck.text;
    return text;
}

} // namespace

QString JokerErsetzen(const QString& text, const QString& suche, const QString& ersatz)
{
    if (suche.isEmpty())
        return text;
    qsizetype treffer = text.indexOf(suche, 0, Qt::CaseInsensitive);
    if (treffer < 0)
        return text;
    QString ergebnis;
    qsizetype pos = 0;
    while (treffer >= 0) {
        ergebnis += QStringView(text).mid(pos, treffer - pos);
        ergebnis += ersatz;
        pos = treffer + suche.size();
        treffer = text.indexOf(suche, pos, Qt::CaseInsensitive);
    }
    ergebnis += QStringView(text).mid(pos);
    return ergebnis;
}

int AnzahlVorkommen(const QString& text, const QString& suche)
{
    if (suche.isEmpty())
        return 0;
    int anzahl = 0;
    for (qsizetype p = text.indexOf(suche, 0, Qt::CaseInsensitive); p >= 0;
         p = text.indexOf(suche, p + 1, Qt::CaseInsensitive))
        ++anzahl;
    return anzahl;
}

QString GetSonderOrdner(Desktop& desktop, int nummer)
{
    QString ordner = desktop.sonderOrdner(nummer);
    // Placeholders are followed by a separator in the files, so the folder
    // itself comes without one (the root folder stays "/").
    while (ordner.size() > 1 && ordner.endsWith(u'/'))
        ordner.chop(1);
    return ordner;
}

QString OrdnerJokerErsetzen(Desktop& desktop, const QString& text)
{
    QString ergebnis = JokerErsetzen(text, u"[ProgrammeOrdner]"_s, GetSonderOrdner(desktop, 38));
    ergebnis = JokerErsetzen(ergebnis, u"[WindowsOrdner]"_s, GetSonderOrdner(desktop, 36));
    return JokerErsetzen(ergebnis, u"[System32Ordner]"_s, GetSonderOrdner(desktop, 37));
}

QString OrdnerDurchPlatzhalterErsetzen(const QString& text, const QString& ordner,
                                       const QString& platzhalter)
{
    Stuecke stuecke{{text, false}};
    ordnerErsetzen(stuecke, ordner, platzhalter);
    return zusammensetzen(stuecke);
}

QString SonderOrdnerPlatzhalterEinsetzen(Desktop& desktop, const QString& text)
{
    Stuecke stuecke{{text, false}};
    sonderOrdnerErsetzen(desktop, stuecke);
    return zusammensetzen(stuecke);
}

QString PlatzhalterEinsetzen(Desktop& desktop, const QString& text, const QString& programmordner,
                             const QString& titel)
{
    Stuecke stuecke{{text, false}};
    ordnerErsetzen(stuecke, programmordner, u"[TVSoftwarePfad]"_s);
    sonderOrdnerErsetzen(desktop, stuecke);
    ersetzen(stuecke, titel, u"[TVAnwendungtitel]"_s, false);
    return zusammensetzen(stuecke);
}

QString TitelBereinigen(const QString& titel)
{
    static const QString erlaubt = u"abcdefghijklmnopqrstuvwxyz0123456789öäüß!§$%&()={}[]+-#;"_s;
    QString ergebnis = titel;
    for (QChar& c : ergebnis) {
        if (!erlaubt.contains(c.toLower()))
            c = u'-';
    }
    return ergebnis;
}

QString JokerFuerAusfuehrungErsetzen(const Skriptfelder& felder, Desktop& desktop,
                                     const QString& zeile)
{
    const QDateTime jetzt = desktop.jetzt();
    QString z = JokerErsetzen(zeile, u"[TVSoftwarePfad]"_s, felder.TVSoftwarePfad);
    z = JokerErsetzen(z, u"[TVAufzeichnungenPfad]"_s, felder.TVAufzeichnungenPfad);
    z = JokerErsetzen(z, u"[Kanal]"_s, felder.Kanal);
    z = JokerErsetzen(z, u"[TVAnwendungtitel]"_s, felder.TVAnwendungtitel);
    z = JokerErsetzen(z, u"[Datum]"_s, jetzt.toString(u"yyyyMMdd"_s));
    z = JokerErsetzen(z, u"[Zeit]"_s, jetzt.toString(u"HHmmss"_s));
    z = JokerErsetzen(z, u"[Titel]"_s, TitelBereinigen(felder.Titel));
    return OrdnerJokerErsetzen(desktop, z);
}
