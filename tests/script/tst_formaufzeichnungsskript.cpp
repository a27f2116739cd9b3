#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include "script/gui/FormAufzeichnungsskript.h"
#include "script/gui/Statusfenster.h"
#include "tests/gemeinsam/Falltabelle.h"

using namespace Qt::StringLiterals;

namespace {
QStringList texte(const QList<QAction*>& aktionen)
{
    QStringList t;
    for (const QAction* a : aktionen)
        t << (a->isChecked() ? u"✓"_s : QString()) + a->text();
    return t;
}
} // namespace

class TestFormAufzeichnungsskript : public QObject
{
    Q_OBJECT

    QPointer<FormAufzeichnungsskript> m_form;

private slots:
    void init() { m_form = new FormAufzeichnungsskript; }

    void cleanup()
    {
        delete m_form.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void nummerierung_data() { falltabelle("script-faelle.txt", "status-nummerierung"); }
    void nummerierung()
    {
        QFETCH(QString, meldungen);
        QFETCH(QString, erste);
        const int n = meldungen.toInt();
        for (int i = 1; i <= n; ++i)
            m_form->ShowDebugInfo(u"Aktion %1"_s.arg(i));
        QVERIFY(m_form->isVisible());
        m_form->ShowDebugInfoAddOk();
        QCOMPARE(m_form->LabelAktuelleAktion->text(), u"Aktion %1 ..Ok"_s.arg(n));
        // At least two digits; the check mark on the newest entry only; the
        // history keeps the text without the confirmation.
        QStringList erwartet;
        for (int i = erste.toInt(); i <= n; ++i)
            erwartet << (i ? u"%1: Aktion %2"_s.arg(i, 2, 10, QChar(u'0')).arg(i) : u"(Start)"_s);
        erwartet.last().prepend(u"✓"_s);
        QCOMPARE(texte(m_form->mnuVerlauf), erwartet);
        // The menu: history, separator, "Schließen".
        QCOMPARE(m_form->mnuPopupVerlauf->actions(),
                 (m_form->mnuVerlauf + QList<QAction*>{m_form->trenn1, m_form->mnuSchließen}));
        QVERIFY(m_form->trenn1->isSeparator());
        QCOMPARE(m_form->mnuSchließen->text(), u"Schließen"_s);
    }

    void platzierung_data() { falltabelle("script-faelle.txt", "status-platzierung"); }
    void platzierung()
    {
        QFETCH(QString, hoehe);
        const bool oben = hoehe.toInt() > 0;
        if (oben) {
            m_form->setFixedHeight(hoehe.toInt());
            m_form->platzieren();
        }
        m_form->ShowDebugInfo(u"Test"_s);
        const QRect frei = m_form->screen()->availableGeometry();
        const QRect rahmen = m_form->frameGeometry();
        QCOMPARE(rahmen.right(), frei.right());
        QCOMPARE(oben ? rahmen.top() : rahmen.bottom(), oben ? frei.top() : frei.bottom());
        QVERIFY(m_form->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void schliessenUndNeu()
    {
        Statusfenster anzeige;
        anzeige.ShowDebugInfo(u"Erste"_s);
        anzeige.ShowDebugInfo(u"Zweite"_s);
        QPointer<FormAufzeichnungsskript> alt = anzeige.fenster();
        QVERIFY(alt);
        alt->mnuSchließen->trigger();
        QVERIFY(!alt->isVisible());
        QVERIFY(!(alt->windowFlags() & Qt::WindowStaysOnTopHint)); // a normal window again
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alt);
        QVERIFY(!anzeige.fenster());
        // A confirmation for a closed window goes nowhere; the next report
        // opens a new window with a fresh history.
        anzeige.ShowDebugInfoAddOk();
        anzeige.ShowDebugInfo(u"Dritte"_s);
        QVERIFY(anzeige.fenster());
        QCOMPARE(texte(anzeige.fenster()->mnuVerlauf),
                 (QStringList{u"(Start)"_s, u"✓01: Dritte"_s}));
    }
};

QTEST_MAIN(TestFormAufzeichnungsskript)
#include "tst_formaufzeichnungsskript.moc"
