#include "wizard_dialog/Dateifilter.h"

#include "system/TextZeile2Collection.h"

using namespace Qt::StringLiterals;

namespace {
QString eintragFuerQt(const Dateifilter& f)
{
    return f.beschreibung + u" ("_s + f.muster.join(u' ') + u')';
}
} // namespace

QList<Dateifilter> DateifilterLesen(const QString& filtertext)
{
    QString text = filtertext;
    if (!text.endsWith(u'|'))
        text += u'|';
    const QStringList teile = text.split(u'|');
    const Dateifilter alleDateien{u"Alle Dateien (*)"_s, {u"*"_s}};
    QList<Dateifilter> ergebnis;
    // Pieces before the empty one the final "|" leaves. As in the NUL-separated
    // form the platform reads, an empty piece ends the list.
    const qsizetype anzahl = teile.size() - 1;
    for (qsizetype i = 0; i + 1 < anzahl; i += 2) {
        Dateifilter f;
        f.beschreibung = teile.at(i);
        for (const QString& m : teile.at(i + 1).split(u';')) {
            const QString muster = LeerzeichenEntfernen(m);
            f.ausfuehrbar = f.ausfuehrbar || muster == AusfuehrbareDateien;
            if (!muster.isEmpty())
                f.muster << (muster == u"*.*"_s ? u"*"_s : muster);
        }
        if (f.beschreibung.isEmpty() || f.muster.isEmpty())
            break;
        // Every file is what the closing entry offers.
        if (f.muster == alleDateien.muster)
            continue;
        if (f.ausfuehrbar)
            f.muster = alleDateien.muster;
        ergebnis << f;
    }
    ergebnis << alleDateien;
    return ergebnis;
}

QString DateifilterFuerQt(const QList<Dateifilter>& filter)
{
    QStringList eintraege;
    for (const Dateifilter& f : filter)
        eintraege << eintragFuerQt(f);
    return eintraege.join(u";;"_s);
}

QString ProgrammfilterFuerQt(const QList<Dateifilter>& filter)
{
    for (const Dateifilter& f : filter) {
        if (f.ausfuehrbar)
            return eintragFuerQt(f);
    }
    return {};
}
