#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "suite_db/Datenbankmeldungsfenster.h"
#include "system/FenstertitelHoehe.h"
#include "system/FormSysFehler.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "tests/gemeinsam/Fehlerpruefung.h"

using namespace Qt::StringLiterals;

namespace {
int px(const QWidget& w, int twips)
{
    return qRound(twips * w.logicalDpiY() / 1440.0);
}

// Runs `handlung` on the modal window once it is shown.
void wennModal(std::function<void(QWidget*)> handlung)
{
    auto* zeitgeber = new QTimer;
    zeitgeber->setInterval(20);
    QObject::connect(zeitgeber, &QTimer::timeout, zeitgeber, [zeitgeber, handlung] {
        if (QWidget* w = QApplication::activeModalWidget(); w && w->isVisible()) {
            zeitgeber->stop();
            zeitgeber->deleteLater();
            handlung(w);
        }
    });
    zeitgeber->start();
}
} // namespace

class TestFehlerfenster : public QObject
{
    Q_OBJECT
private slots:
    void details_data() { falltabelle("suite_db-faelle.txt", "details"); }
    void details()
    {
        QFETCH(QString, nummer);
        QFETCH(QString, beschreibung);
        QFETCH(QString, quelle);
        QFETCH(QString, detail);
        QFETCH(QString, erwartet);
        FormSysFehler f;
        QCOMPARE(f.ShowFehler(u"  Meldung  "_s, QLocale(QLocale::German).toDouble(nummer), quelle,
                              beschreibung, detail, u" Titel "_s, false, false, true),
                 0);
        QCOMPARE(f.TextDetails->toPlainText(), QString(erwartet).replace(u"\r\n"_s, u"\n"_s));
        QCOMPARE(f.LabelText->text(), u"Meldung"_s);
        QCOMPARE(f.windowTitle(), u"Titel"_s);
        QVERIFY(f.isVisible()); // left open
    }

    // Retry sits above Details, or Details takes its place.
    void knoepfe_data()
    {
        QTest::addColumn<bool>("wiederholen");
        QTest::newRow("mit wiederholen") << true;
        QTest::newRow("ohne wiederholen") << false;
    }
    void knoepfe()
    {
        QFETCH(bool, wiederholen);
        FormSysFehler f;
        f.ShowFehler(u"x"_s, 0, {}, {}, {}, u"t"_s, wiederholen, false, true);
        QCOMPARE(f.cmdWiederholen->isVisible(), wiederholen);
        QCOMPARE(f.cmdDetails->y(), wiederholen ? f.cmdWiederholen->y() + f.cmdWiederholen->height()
                                                : f.cmdWiederholen->y());
        QCOMPARE(f.cmdOK->text(), u"&Ok"_s);
        QCOMPARE(f.cmdWiederholen->text(), u"W&iederholen"_s);
        QCOMPARE(f.LabelDetails->text(), u"Details :"_s);
    }

    // Outer heights: title bar plus 1500 twips collapsed, plus 4170 open.
    void hoehen()
    {
        FormSysFehler f;
        QCOMPARE(f.frameGeometry().height(), px(f, GetFensterTitelHoeheInTwips(f) + 1500));
        f.ShowFehler(u"x"_s, 1, u"q"_s, u"b"_s, {}, u"t"_s, true, true, true);
        const int titel = GetFensterTitelHoeheInTwips(f);
        QVERIFY(f.ausgeklappt());
        QCOMPARE(f.cmdDetails->property("Tag").toString(), u"ausgeklappt"_s);
        QCOMPARE(f.cmdDetails->text(), u"&Details <<"_s);
        QCOMPARE(f.frameGeometry().height(), px(f, titel + 4170));
        QVERIFY(f.TextDetails->geometry().bottom() < f.height()); // the details area shows

        QTest::mouseClick(f.cmdDetails, Qt::LeftButton);
        QVERIFY(!f.ausgeklappt());
        QCOMPARE(f.cmdDetails->property("Tag").toString(), QString());
        QCOMPARE(f.cmdDetails->text(), u"&Details .."_s);
        QCOMPARE(f.frameGeometry().height(), px(f, titel + 1500));
        QVERIFY(f.TextDetails->geometry().top() > f.height()); // hidden below the edge
        QCOMPARE(f.ergebnis(), 0);
    }

    void modal_data()
    {
        QTest::addColumn<QString>("handlung");
        QTest::addColumn<int>("ergebnis");
        QTest::newRow("ok") << u"ok"_s << 1;
        QTest::newRow("wiederholen") << u"wiederholen"_s << 2;
        QTest::newRow("schliessfeld") << u"schliessen"_s << 1;
    }
    void modal()
    {
        QFETCH(QString, handlung);
        QFETCH(int, ergebnis);
        FormSysFehler f;
        wennModal([&](QWidget* w) {
            QCOMPARE(w, &f);
            if (handlung == u"ok"_s)
                QTest::mouseClick(f.cmdOK, Qt::LeftButton);
            else if (handlung == u"wiederholen"_s)
                QTest::mouseClick(f.cmdWiederholen, Qt::LeftButton);
            else
                f.close();
        });
        QCOMPARE(f.ShowFehler(u"x"_s, 3260, u"q"_s, u"b"_s, {}, u"t"_s, true, false, false),
                 ergebnis);
        QVERIFY(!f.isVisible());
    }

    void titelhoehe_data() { falltabelle("suite_db-faelle.txt", "titelhoehe"); }
    void titelhoehe()
    {
        QFETCH(QString, einheit);
        QFETCH(QString, minimiert);
        QFETCH(QString, aussenB);
        QFETCH(QString, aussenH);
        QFETCH(QString, innenB);
        QFETCH(QString, innenH);
        QFETCH(QString, tppX);
        QFETCH(QString, tppY);
        QFETCH(QString, erwartet);
        Fenstermasse m;
        m.einheit = einheit == u"twips"_s   ? Skalierung::Twips
                    : einheit == u"pixel"_s ? Skalierung::Pixel
                                            : Skalierung::Andere;
        m.minimiert = minimiert == u"ja"_s;
        m.aussenBreite = aussenB.toDouble();
        m.aussenHoehe = aussenH.toDouble();
        m.innenBreite = innenB.toDouble();
        m.innenHoehe = innenH.toDouble();
        m.twipsProPixelX = tppX.toDouble();
        m.twipsProPixelY = tppY.toDouble();
        qint32 ergebnis = -1;
        const QString fehler = fehlerVon([&] { ergebnis = FenstertitelHoeheAusMassen(m); });
        QCOMPARE(fehler.isEmpty() ? QString::number(ergebnis) : fehler, erwartet);
    }

    // The real boxes: title, text, exclamation icon, buttons, the answer.
    void meldungsfenster_data()
    {
        QTest::addColumn<bool>("jaNein");
        QTest::addColumn<int>("knopf");
        QTest::addColumn<int>("antwort");
        using A = Datenbankmeldungen::Antwort;
        QTest::newRow("wiederholen") << false << int(QMessageBox::Retry) << int(A::Wiederholen);
        QTest::newRow("abbrechen") << false << int(QMessageBox::Cancel) << int(A::Abbrechen);
        QTest::newRow("ja") << true << int(QMessageBox::Yes) << int(A::Ja);
        QTest::newRow("nein") << true << int(QMessageBox::No) << int(A::Nein);
    }
    void meldungsfenster()
    {
        QFETCH(bool, jaNein);
        QFETCH(int, knopf);
        QFETCH(int, antwort);
        Datenbankmeldungsfenster m;
        QString titel, text;
        QMessageBox::Icon symbol = QMessageBox::NoIcon;
        QMessageBox::StandardButtons knoepfe;
        wennModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            titel = box->windowTitle();
            text = box->text();
            symbol = box->icon();
            knoepfe = box->standardButtons();
            box->button(QMessageBox::StandardButton(knopf))->click();
        });
        const auto a = m.frage(u"Datenzugriffskollision"_s, u"Zeile 1\r\nZeile 2"_s,
                               jaNein ? Datenbankmeldungen::Knoepfe::JaNein
                                      : Datenbankmeldungen::Knoepfe::WiederholenAbbrechen,
                               !jaNein);
        QCOMPARE(int(a), antwort);
        QCOMPARE(titel, u"Datenzugriffskollision"_s);
        QCOMPARE(text, u"Zeile 1\nZeile 2"_s);
        QCOMPARE(symbol, QMessageBox::Warning);
        QCOMPARE(knoepfe, jaNein ? QMessageBox::Yes | QMessageBox::No
                                 : QMessageBox::Retry | QMessageBox::Cancel);
    }
};

QTEST_MAIN(TestFehlerfenster)
#include "tst_fehlerfenster.moc"
