#include "script/JokerErsetzen.h"

#include "script/Desktop.h"
#include "script/Skriptfelder.h"

using namespace Qt::StringLiterals;

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
