#include <QTest>

#include "script/Aufzeichnungskript.h"
#include "script/SendKeys.h"
#include "script/Skriptfelder.h"
#include "script/x11/X11Tastatur.h"
#include "tests/gemeinsam/AufzeichnenderDesktop.h"
#include "tests/gemeinsam/Falltabelle.h"

// Only for the keysyms' names; no X server is needed.
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

namespace {
// What the X11 back-end types for a key text: modifiers held and released,
// and the keysym of each key or character.
QString keysyms(const QString& tasten)
{
    QList<TastenAktion> aktionen;
    if (!SendKeysZerlegen(tasten, aktionen))
        return u"ungültig"_s;
    QStringList teile;
    for (const TastenAktion& a : aktionen) {
        if (a.art == TastenAktion::Art::Druecken || a.art == TastenAktion::Art::Loesen) {
            const QString name = a.modifikator == Modifikator::Umschalt ? u"Shift"_s
                                 : a.modifikator == Modifikator::Strg   ? u"Ctrl"_s
                                                                        : u"Alt"_s;
            teile << name + (a.art == TastenAktion::Art::Druecken ? u"↓"_s : u"↑"_s);
            continue;
        }
        const char* name = XKeysymToString(X11Tastatur::keysymFuer(a));
        QString teil = name ? QString::fromLatin1(name) : u"?"_s;
        if (a.wiederholungen != 1)
            teil += u"×"_s + QString::number(a.wiederholungen);
        teile << teil;
    }
    return teile.join(u' ');
}
} // namespace

/// Every key name of a definition, from the command line to the keysym the
/// X11 back-end types, on the recording fake desktop.
class TestTastennamen : public QObject
{
    Q_OBJECT
private slots:
    void tastennamen_data() { falltabelle("tasten-faelle.txt", "tastennamen"); }
    void tastennamen()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, sendkeys);
        QFETCH(QString, keysyms);
        Skriptfelder felder;
        AufzeichnenderDesktop desktop;
        BefehlAusführen(felder, desktop, u"TastenSenden,\""_s + parameter + u'"');
        QCOMPARE(desktop.protokoll.value(0), u"tasten(%1)"_s.arg(sendkeys));
        QCOMPARE(::keysyms(sendkeys), keysyms);
    }
};

QTEST_GUILESS_MAIN(TestTastennamen)
#include "tst_tastennamen.moc"
