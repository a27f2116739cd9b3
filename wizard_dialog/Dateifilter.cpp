#include "wizard_dialog/Dateifilter.h"

#include "system/TextZeile2Collection.h"

using namespace Qt::StringLiterals;

QList<Dateifilter> DateifilterLesen(const QString& filtertext)
{
    QString text = filtertext;
    if (!text.endsWith(u'|'))
        text += u'|';
    const QStringList teile = text.split(u'|');
    QList<Dateifilter> ergebnis;
    // Pieces before the empty one the final "|" leaves. As in the NUL-separated
    // form the platform reads, an empty piece ends the list.
    const qsizetype anzahl = teile.size() - 1;
    for (qsizetype i = 0; i + 1 < anzahl; i += 2) {
        Dateifilter f;
        f.beschreibung = teile.at(i);
        for (const QString& m : teile.at(i + 1).split(u';')) {
            const QString muster = LeerzeichenEntfernen(m);
            if (!muster.isEmpty())
                f.muster << (muster == u"*.*"_s ? u"*"_s : muster);
        }
        if (f.beschreibung.isEmpty() || f.muster.isEmpty())
            break;
        ergebnis << f;
    }
    return ergebnis;
}

QString DateifilterFuerQt(const QList<Dateifilter>& filter)
{
    QStringList eintraege;
    for (const Dateifilter& f : filter)
        eintraege << f.beschreibung + u" ("_s + f.muster.join(u' ') + u')';
    return eintraege.join(u";;"_s);
}
