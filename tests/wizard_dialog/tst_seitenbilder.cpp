// Renders every kind of wizard page with the wizard's own texts
// (tests/data/wizard-seitentexte.txt) to tests/seiten/NAME.png in the build
// folder for review; a page whose rows scroll also as NAME_unten.png.

#include <utility>

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
    QVERIFY(seiten.size() >= 10);
    for (const auto& werte : std::as_const(seiten))
        QTest::newRow(qPrintable(werte.value(u"name"_s))) << werte;
}

void TestSeitenbilder::seite()
{
    QFETCH(Werte, werte);
    QDir ziel(QCoreApplication::applicationDirPath());
    QVERIFY(ziel.mkpath(u"seiten"_s) && ziel.cd(u"seiten"_s));
    const QString name = werte.value(u"name"_s), art = werte.value(u"art"_s);
    QList<int> z;
    for (const QString& s : werte.value(u"knoepfe"_s, u"1,1,1,0"_s).split(u','))
        z << s.toInt();

    bool gemalt = false, gespeichert = false;
    auto aufnehmen = [&] {
        if (std::exchange(gemalt, true))
            return;
        gespeichert = m_dialog.grab().save(ziel.filePath(name + u".png"_s));
        auto* bereich = element<QScrollArea>(m_dialog, u"ShapeComboTextZeilenbereich"_s);
        if (art == u"befehle" && bereich->verticalScrollBar()->maximum() > 0) {
            element(m_dialog, u"ShapeComboTextText12"_s)->setFocus();
            gespeichert &= m_dialog.grab().save(ziel.filePath(name + u"_unten.png"_s));
        }
    };
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        aufnehmen();
        m_dialog.SeiteBeenden();
    });
    if (art == u"userdefiniert") {
        auto* eigene = new Bildfeld(&m_dialog, u"ShapeEigeneSeite"_s + name);
        eigene->resize(394, 309);
        new QLabel(werte.value(u"text"_s), eigene);
        m_dialog.ShowShapeUserdefiniert(z[0], z[1], z[2], z[3], u"T"_s, eigene->objectName());
    } else {
        zeigen(m_dialog, art, werte.value(u"text"_s), werte.value(u"eintraege"_s),
               werte.value(u"vorgabe"_s), werte.value(u"zwingend"_s) == u"ja", z);
    }
    // Status pages return at once; they are photographed afterwards.
    aufnehmen();
    QTest::qWait(10);
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY(gespeichert);
}

QTEST_MAIN(TestSeitenbilder)
#include "tst_seitenbilder.moc"
