// Renders every kind of wizard page with the wizard's own texts
// (tests/data/wizard-seitentexte.txt) to tests/seiten/NAME.png in the build
// folder for review; a page whose rows scroll also as NAME_unten.png, a file
// page's chooser, opened on the folder the page names, as NAME_auswahl.png.

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QScrollArea>
#include <QScrollBar>

#include "Seitenhelfer.h"
#include "wizard_dialog/Bildfeld.h"
#include "wizard_dialog/QtUebersetzung.h"

using namespace Qt::StringLiterals;

using Werte = QHash<QString, QString>;

namespace {
// The shown labels, buttons and fields with a text whose place in the
// picture holds a single colour: their text did not come out.
QStringList ohneSichtbarenText(const frmWizard& d, const QImage& bild)
{
    QStringList leer;
    const qreal faktor = bild.devicePixelRatio();
    for (const QWidget* w : d.findChildren<QWidget*>()) {
        const QVariant text = w->property("text");
        if (!w->isVisible() || !text.isValid() || text.toString().trimmed().isEmpty() ||
            w->visibleRegion().isEmpty())
            continue;
        const QRect r = w->visibleRegion().boundingRect().translated(w->mapTo(&d, QPoint()));
        const QRect punkte(QPointF(r.topLeft()).toPoint() * faktor, r.size() * faktor);
        const QRgb erste = bild.pixel(punkte.topLeft());
        bool farbig = false;
        for (int y = punkte.top(); !farbig && y <= punkte.bottom(); ++y)
            for (int x = punkte.left(); !farbig && x <= punkte.right(); ++x)
                farbig = bild.valid(x, y) && bild.pixel(x, y) != erste;
        if (!farbig)
            leer << w->objectName() + u": "_s + text.toString();
    }
    return leer;
}
} // namespace

class TestSeitenbilder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(QtUebersetzungLaden()); }
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
    const QString vorher = QDir::currentPath();
    const QString auswahlBild = QString(bild).replace(u".png"_s, u"_auswahl.png"_s);
    QFile::remove(auswahlBild);
    QTimer suche;
    suche.setInterval(20);
    connect(&suche, &QTimer::timeout, this, [&] {
        auto* d = m_dialog.findChild<QFileDialog*>();
        if (!d || !d->isVisible())
            return;
        suche.stop();
        // The folder is read in the background: wait until no more rows come.
        const auto* liste = d->findChild<QListView*>(u"listView"_s);
        int zeilen = -1;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                const int jetzt = liste->model()->rowCount(liste->rootIndex());
                return std::exchange(zeilen, jetzt) == jetzt && jetzt > 0;
            },
            5000));
        d->grab().save(auswahlBild);
        d->reject();
    });
    QStringList unsichtbar;
    Wachhund wachhund(m_dialog, [&] {
        const QImage aufnahme = m_dialog.grab().toImage();
        aufnahme.save(bild);
        unsichtbar = ohneSichtbarenText(m_dialog, aufnahme);
        if (werte.contains(u"durchsuchen"_s)) {
            // The chooser opens in the current directory.
            QDir::setCurrent(werte.value(u"durchsuchen"_s));
            suche.start();
            klicken(element(m_dialog, u"ShapeDateinameAuswählenDurchsuchen"_s));
            QDir::setCurrent(vorher);
        }
        auto* bereich = element<QScrollArea>(m_dialog, u"ShapeComboTextZeilenbereich"_s);
        if (art == u"befehle" && bereich->verticalScrollBar()->maximum() > 0) {
            element(m_dialog, u"ShapeComboTextText12"_s)->setFocus();
            const QImage unten = m_dialog.grab().toImage();
            unten.save(QString(bild).replace(u".png"_s, u"_unten.png"_s));
            // The focused last row has scrolled into view.
            if (unten == aufnahme)
                unsichtbar << u"(nicht gerollt)"_s;
            unsichtbar << ohneSichtbarenText(m_dialog, unten);
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
    if (!QFile::exists(bild)) {
        const QImage aufnahme = m_dialog.grab().toImage();
        aufnahme.save(bild);
        unsichtbar = ohneSichtbarenText(m_dialog, aufnahme);
    }
    QVERIFY(!wachhund.abgelaufen);
    // Every text of the page shows in the picture.
    QCOMPARE(unsichtbar, QStringList());
    if (werte.contains(u"durchsuchen"_s))
        QVERIFY(!QImage(auswahlBild).isNull());
}

QTEST_MAIN(TestSeitenbilder)
#include "tst_seitenbilder.moc"
