#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include "script/gui/FormAufzeichnungsskript.h"
#include "script/gui/Statusfenster.h"

using namespace Qt::StringLiterals;

class TestFormAufzeichnungsskript : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void nummerierung_data();
    void nummerierung();
    void okUndPause();
    void platzierung_data();
    void platzierung();
    void popupBeimLoslassen();
    void schliessenUndNeu();

private:
    QPointer<FormAufzeichnungsskript> m_form;
};

namespace {
QStringList texte(const QList<QAction*>& aktionen)
{
    QStringList t;
    for (const QAction* a : aktionen)
        t << a->text();
    return t;
}

QList<int> haken(const QList<QAction*>& aktionen)
{
    QList<int> h;
    for (int i = 0; i < aktionen.size(); ++i) {
        if (aktionen[i]->isChecked())
            h << i;
    }
    return h;
}

void geloeschteEntfernen()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

void TestFormAufzeichnungsskript::cleanup()
{
    delete m_form.data();
    geloeschteEntfernen();
}

void TestFormAufzeichnungsskript::nummerierung_data()
{
    QTest::addColumn<int>("meldungen");
    QTest::addColumn<QString>("erster");
    QTest::addColumn<QString>("letzter");
    QTest::addColumn<int>("eintraege");
    QTest::newRow("eine") << 1 << u"(Start)"_s << u"01: Aktion 1"_s << 2;
    QTest::newRow("zwanzig") << 20 << u"(Start)"_s << u"20: Aktion 20"_s << 21;
    QTest::newRow("einundzwanzig") << 21 << u"01: Aktion 1"_s << u"21: Aktion 21"_s << 21;
    QTest::newRow("fuenfundzwanzig") << 25 << u"05: Aktion 5"_s << u"25: Aktion 25"_s << 21;
    QTest::newRow("hundert") << 100 << u"80: Aktion 80"_s << u"100: Aktion 100"_s << 21;
}

void TestFormAufzeichnungsskript::nummerierung()
{
    QFETCH(int, meldungen);
    QFETCH(QString, erster);
    QFETCH(QString, letzter);
    QFETCH(int, eintraege);
    m_form = new FormAufzeichnungsskript;
    for (int i = 1; i <= meldungen; ++i)
        m_form->ShowDebugInfo(u"Aktion %1"_s.arg(i));

    QCOMPARE(m_form->LabelAktuelleAktion->text(), u"Aktion %1"_s.arg(meldungen));
    QVERIFY(m_form->isVisible());
    const QStringList t = texte(m_form->mnuVerlauf);
    QCOMPARE(t.size(), eintraege);
    QCOMPARE(t.first(), erster);
    QCOMPARE(t.last(), letzter);
    // Consecutive numbers from the first to the last entry.
    for (int i = 1; i < t.size(); ++i)
        QCOMPARE(t[i].section(u':', 0, 0).toInt(), t[i - 1].section(u':', 0, 0).toInt() + 1);
    QCOMPARE(haken(m_form->mnuVerlauf), QList<int>{eintraege - 1});

    // The menu itself: history, separator, "Schließen", in this order.
    const QList<QAction*> menue = m_form->mnuPopupVerlauf->actions();
    QCOMPARE(menue.size(), eintraege + 2);
    QCOMPARE(menue.mid(0, eintraege), m_form->mnuVerlauf);
    QVERIFY(menue[eintraege]->isSeparator());
    QCOMPARE(menue.last()->text(), u"Schließen"_s);
}

void TestFormAufzeichnungsskript::okUndPause()
{
    m_form = new FormAufzeichnungsskript;
    m_form->ShowDebugInfo(u"Beep"_s);
    QElapsedTimer uhr;
    uhr.start();
    m_form->ShowDebugInfoAddOk();
    QVERIFY2(uhr.elapsed() >= 195, qPrintable(QString::number(uhr.elapsed())));
    QCOMPARE(m_form->LabelAktuelleAktion->text(), u"Beep ..Ok"_s);
    // The history keeps the text without the confirmation.
    QCOMPARE(m_form->mnuVerlauf.last()->text(), u"01: Beep"_s);
}

void TestFormAufzeichnungsskript::platzierung_data()
{
    QTest::addColumn<int>("hoehe");
    QTest::newRow("normal") << 0;
    QTest::newRow("hoeher als der arbeitsbereich") << 5000;
}

void TestFormAufzeichnungsskript::platzierung()
{
    QFETCH(int, hoehe);
    m_form = new FormAufzeichnungsskript;
    if (hoehe > 0) {
        m_form->setFixedHeight(hoehe);
        m_form->platzieren();
    }
    m_form->ShowDebugInfo(u"Test"_s);
    const QRect frei = m_form->screen()->availableGeometry();
    const QRect rahmen = m_form->frameGeometry();
    QCOMPARE(rahmen.right(), frei.right());
    if (hoehe > 0)
        QCOMPARE(rahmen.top(), frei.top());
    else
        QCOMPARE(rahmen.bottom(), frei.bottom());
    QVERIFY(m_form->windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestFormAufzeichnungsskript::popupBeimLoslassen()
{
    m_form = new FormAufzeichnungsskript;
    m_form->ShowDebugInfo(u"Test"_s);
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QVERIFY(!m_form->mnuPopupVerlauf->isVisible());
    QTest::mouseRelease(m_form->LabelAktuelleAktion, Qt::RightButton);
    QTRY_VERIFY(m_form->mnuPopupVerlauf->isVisible());
    m_form->mnuPopupVerlauf->hide();
    QTest::mouseRelease(m_form, Qt::LeftButton, {}, QPoint(2, 2));
    QTRY_VERIFY(m_form->mnuPopupVerlauf->isVisible());
    m_form->mnuPopupVerlauf->hide();
}

void TestFormAufzeichnungsskript::schliessenUndNeu()
{
    Statusfenster anzeige;
    anzeige.ShowDebugInfo(u"Erste"_s);
    anzeige.ShowDebugInfo(u"Zweite"_s);
    QPointer<FormAufzeichnungsskript> alt = anzeige.fenster();
    QVERIFY(alt);
    alt->mnuSchließen->trigger();
    QVERIFY(!alt->isVisible());
    QVERIFY(!(alt->windowFlags() & Qt::WindowStaysOnTopHint));
    geloeschteEntfernen();
    QVERIFY(!alt);
    QVERIFY(!anzeige.fenster());

    // A confirmation for a closed window goes nowhere; the next report opens
    // a new window with a fresh history.
    anzeige.ShowDebugInfoAddOk();
    anzeige.ShowDebugInfo(u"Dritte"_s);
    QVERIFY(anzeige.fenster());
    QCOMPARE(texte(anzeige.fenster()->mnuVerlauf), (QStringList{u"(Start)"_s, u"01: Dritte"_s}));
}

QTEST_MAIN(TestFormAufzeichnungsskript)
#include "tst_formaufzeichnungsskript.moc"
