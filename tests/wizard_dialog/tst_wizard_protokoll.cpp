// What every page shares: button states over consecutive pages, status
// pages, Enter and Esc, and help beside the command-step editor.

#include <QTextBrowser>

#include "Seitenhelfer.h"
#include "system/Programmordner.h"

using namespace Qt::StringLiterals;

class TestWizardProtokoll : public QObject
{
    Q_OBJECT
private slots:
    void knopfzustaende_data() { falltabelle("wizard-faelle.txt", "knopfzustaende"); }
    void knopfzustaende();
    void tasten_data() { falltabelle("wizard-faelle.txt", "tasten"); }
    void tasten();
    void hilfe();

private:
    // One dialog for all pages, as the wizard keeps one for its whole run.
    frmWizard m_dialog;
};

// Pages shown one after the other, as text pages and as caller-defined ones.
void TestWizardProtokoll::knopfzustaende()
{
    QFETCH(QString, seiten);
    QFETCH(QString, erwartet);
    frmWizard& d = m_dialog;
    const QPushButton* fertig = element<QPushButton>(d, u"cmdFertigstellen"_s);
    for (const bool userdefiniert : {false, true}) {
        bool wartete = false;
        for (const QString& zustand : seiten.split(u' ')) {
            const QList<int> z = zahlen(zustand);
            // A click left over from the previous page must not count.
            d.blnBenutzerWeiterGedrückt = true;
            Wachhund seite(d, [&] {
                wartete = !d.blnBenutzerFertig;
                d.SeiteBeenden();
            });
            wartete = false;
            if (userdefiniert)
                d.ShowShapeUserdefiniert(z[0], z[1], z[2], z[3], u"T"_s, u"shapenuranzeige"_s);
            else
                d.ShowShapeNurAnzeige(z[0], z[1], z[2], z[3], u"T"_s, u"Text"_s);
        }
        QVERIFY(d.blnBenutzerFertig && element(d, u"ShapeNurAnzeige"_s)->isVisible());
        QVERIFY(!d.blnBenutzerWeiterGedrückt && !d.blnBenutzerZurückGedrückt &&
                !d.blnBenutzerAbbrechenGedrückt && !d.blnBenutzerFertigstellenGedrückt);
        QVERIFY(element(d, u"cmdHilfe"_s)->isHidden());
        const QString standard = element<QPushButton>(d, u"cmdWeiter"_s)->isDefault() ? u"Weiter"_s
                                 : fertig->isDefault()                                ? u"Fertig"_s
                                                                                      : u"-"_s;
        QString platz = fertig->isHidden() ? u"-"_s : QString();
        for (const int links : {5640, 210}) {
            if (fertig->isVisible() && fertig->x() == Twips(d).x(links))
                platz = QString::number(links);
        }
        const QString ist = knoepfe(d) + u'/' + standard + u'/' + platz;
        QCOMPARE(ist + (wartete ? u"/wartet"_s : u"/sofort"_s), erwartet);
    }
}

void TestWizardProtokoll::tasten()
{
    QFETCH(QString, zustand);
    QFETCH(QString, art);
    QFETCH(QString, vorgabe);
    QFETCH(QString, taste);
    QFETCH(QString, flag);
    // Where nothing may happen, a second without effect is enough.
    Wachhund wachhund(m_dialog, flag.isEmpty() ? 1000 : 5000, [&] {
        QWidget* ziel = QApplication::focusWidget();
        QTest::keyClick(ziel && ziel->window() == &m_dialog ? ziel : &m_dialog,
                        taste == u"esc" ? Qt::Key_Escape : Qt::Key_Return);
    });
    zeigen(m_dialog, art, u"Frage"_s, u"a|b"_s, vorgabe, true, zustand);
    QCOMPARE(wachhund.abgelaufen, flag.isEmpty());
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, flag == u"weiter");
    QCOMPARE(m_dialog.blnBenutzerAbbrechenGedrückt, flag == u"abbrechen");
    QCOMPARE(m_dialog.blnBenutzerFertigstellenGedrückt, flag == u"fertig");
    QVERIFY(!m_dialog.blnBenutzerZurückGedrückt);
}

void TestWizardProtokoll::hilfe()
{
    // Help opens at the section on the commands; the editor goes on waiting.
    AppPfadSetzen(QStringLiteral(SENDARO_PROGRAMMORDNER));
    Wachhund wachhund(m_dialog, [&] { klicken(m_dialog, u"cmdHilfe"_s); });
    bool warteteMitHilfe = false;
    QTimer::singleShot(300, [&] {
        warteteMitHilfe =
            !m_dialog.blnBenutzerFertig && element(m_dialog, u"cmdHilfe"_s)->isVisible();
        klicken(m_dialog, u"cmdWeiter"_s);
    });
    zeigen(m_dialog, u"befehle", u"Befehle"_s);
    AppPfadSetzen(QString());
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY(warteteMitHilfe && m_dialog.blnBenutzerWeiterGedrückt);
    auto* browser = m_dialog.findChild<QTextBrowser*>();
    QVERIFY(browser && browser->window()->isVisible());
    QCOMPARE(browser->source().fragment(), u"kontext125"_s);
    QVERIFY(browser->toPlainText().contains(u"TastenSenden"_s));
}

QTEST_MAIN(TestWizardProtokoll)
#include "tst_wizard_protokoll.moc"
