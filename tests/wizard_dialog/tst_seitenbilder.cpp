// Renders every kind of wizard page with the wizard's own texts
// (tests/data/wizard-seitentexte.txt) to tests/seiten/NAME.png in the build
// folder for review; a page whose rows scroll also as NAME_unten.png.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include "Seitenhelfer.h"
#include "wizard_dialog/Bildfeld.h"

using namespace Qt::StringLiterals;

using Werte = QHash<QString, QString>;

class TestSeitenbilder : public QObject
{
    Q_OBJECT
private slots:
    void seite_data();
    void seite();

private:
    frmWizard m_dialog;
};

void TestSeitenbilder::seite_data()
{
    // "[NAME]" begins a page, "key = value" lines describe it.
    QTest::addColumn<Werte>("werte");
    QFile datei(QStringLiteral(SENDARO_TESTDATEN "/wizard-seitentexte.txt"));
    QVERIFY(datei.open(QIODevice::ReadOnly | QIODevice::Text));
    QList<Werte> seiten;
    for (const QString& zeile : QString::fromUtf8(datei.readAll()).split(u'\n')) {
        if (zeile.startsWith(u'['))
            seiten.append({{u"name"_s, zeile.mid(1, zeile.indexOf(u']') - 1)}});
        else if (zeile.contains(u" = ") && !seiten.isEmpty())
            seiten.last()[zeile.section(u" = "_s, 0, 0)] =
                zeile.section(u" = "_s, 1).replace(u"\\n"_s, u"\r\n"_s);
    }
    QSet<QString> arten;
    for (const Werte& werte : std::as_const(seiten)) {
        arten << werte.value(u"art"_s);
        QTest::newRow(qPrintable(werte.value(u"name"_s))) << werte;
    }
    // Every kind of page, a caller-defined one included.
    QCOMPARE(arten.size(), 10);
}

void TestSeitenbilder::seite()
{
    QFETCH(Werte, werte);
    QDir ziel(QCoreApplication::applicationDirPath());
    QVERIFY(ziel.mkpath(u"seiten"_s));
    const QString bild = ziel.filePath(u"seiten/"_s + werte.value(u"name"_s) + u".png"_s);
    QFile::remove(bild);
    const QString art = werte.value(u"art"_s);
    Wachhund wachhund(m_dialog, [&] {
        m_dialog.grab().save(bild);
        auto* bereich = element<QScrollArea>(m_dialog, u"ShapeComboTextZeilenbereich"_s);
        if (art == u"befehle" && bereich->verticalScrollBar()->maximum() > 0) {
            element(m_dialog, u"ShapeComboTextText12"_s)->setFocus();
            m_dialog.grab().save(QString(bild).replace(u".png"_s, u"_unten.png"_s));
        }
        m_dialog.SeiteBeenden();
    });
    QString text = werte.value(u"text"_s);
    if (art == u"userdefiniert") {
        auto* eigene = new Bildfeld(&m_dialog, u"ShapeEigeneSeite"_s + werte.value(u"name"_s));
        eigene->resize(394, 309);
        new QLabel(text, eigene);
        text = eigene->objectName();
    }
    const QString ergebnis =
        zeigen(m_dialog, art, text, werte.value(u"eintraege"_s), werte.value(u"vorgabe"_s),
               werte.value(u"zwingend"_s) == u"ja", werte.value(u"knoepfe"_s, u"1,1,1,0"_s));
    if (art == u"befehle") // the editor shows the rows as given
        QVERIFY(ergebnis.startsWith(werte.value(u"eintraege"_s)));
    // Status pages return at once; they are photographed afterwards.
    if (!QFile::exists(bild))
        m_dialog.grab().save(bild);
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY(!QImage(bild).isNull());
}

QTEST_MAIN(TestSeitenbilder)
#include "tst_seitenbilder.moc"
