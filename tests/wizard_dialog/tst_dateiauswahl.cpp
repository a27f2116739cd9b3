// The browse button of the file page: the filter text in Qt's form, what
// the button asks the chooser and does with its answer, and Qt's own
// choosers answered like a user would.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTemporaryDir>

#include "Seitenhelfer.h"
#include "wizard_dialog/Dateifilter.h"

using namespace Qt::StringLiterals;

namespace {
const QString Programme = u"Programme (*.exe *.com *.bat *.cmd)|*.exe;*.com;*.bat;*.cmd"_s;
const QString ProgrammeQt = u"Programme (*.exe *.com *.bat *.cmd) (*.exe *.com *.bat *.cmd)"_s;
const QString OrdnerTitel =
    u"Bitte wählen Sie einen Ordner der die zu durchsuchenden Dateien enthält:"_s;
} // namespace

/// The file page set up as oeffnen, speichern or ordner, with a preset
/// filter number or its own filter, with Fertig stellen beside Weiter or
/// not; the chooser's answer; the filter the chooser was offered.
struct Wahl
{
    const char* name;
    QStringView art;
    int nummer;
    QStringView eigenerFilter, antwort, filter;
    bool fertig;
};
Q_DECLARE_METATYPE(Wahl)

class TestDateiauswahl : public QObject
{
    Q_OBJECT
private slots:
    void filter_data();
    void filter();
    void durchsuchen_data();
    void durchsuchen();
    void echterDialog_data();
    void echterDialog();

private:
    frmWizard m_dialog;
};

void TestDateiauswahl::filter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("qt");

    QTest::newRow("alle dateien") << u"Alle Dateien (*.*)|*.*"_s << u"Alle Dateien (*.*) (*)"_s;
    QTest::newRow("programme") << Programme << ProgrammeQt;
    QTest::newRow("mit | am ende") << Programme + u'|' << ProgrammeQt;
    QTest::newRow("zwei paare") << u"Texte|*.txt|Alle|*.*"_s << u"Texte (*.txt);;Alle (*)"_s;
    QTest::newRow("leerzeichen um die muster")
        << u"Texte| *.txt ; *.doc "_s << u"Texte (*.txt *.doc)"_s;
    QTest::newRow("beschreibung ohne muster am ende") << u"A|*.a|B"_s << u"A (*.a)"_s;
    QTest::newRow("leere beschreibung beendet die liste") << u"A|*.a||*.b"_s << u"A (*.a)"_s;
    QTest::newRow("leere muster beenden die liste") << u"A||B|*.b"_s << QString();
    QTest::newRow("leer") << QString() << QString();
}

void TestDateiauswahl::filter()
{
    QFETCH(QString, text);
    QFETCH(QString, qt);
    QCOMPARE(DateifilterFuerQt(DateifilterLesen(text)), qt);
}

void TestDateiauswahl::durchsuchen_data()
{
    QTest::addColumn<Wahl>("w");
    const QStringView alle = u"Alle Dateien (*.*) (*)", tv = u"TV-Anwendung (wintv)|wintv";
    // clang-format off
    const Wahl faelle[] = {
        {"programme", u"oeffnen", 1, u"", u"/opt/wintv", ProgrammeQt, false},
        {"letzte voreinstellung", u"oeffnen", 7, tv, u"/a.wav", u"Audio (*.wav) (*.wav)", true},
        {"eigener filter", u"oeffnen", 8, tv, u"/opt/wintv", u"TV-Anwendung (wintv) (wintv)", false},
        {"negative nummer", u"oeffnen", -1, u"Audio|*.ogg", u"/a.ogg", u"Audio (*.ogg)", false},
        {"ohne filter alle dateien", u"oeffnen", 999, u"", u"/x", alle, false},
        {"speichern", u"speichern", 0, u"", u"/tmp/neu.azs", alle, false},
        {"ordner", u"ordner", 0, u"", u"/opt/tv", u"", true},
        {"abgebrochen", u"ordner", 0, u"", u"", u"", false},
    };
    // clang-format on
    for (const Wahl& w : faelle)
        QTest::newRow(w.name) << w;
}

void TestDateiauswahl::durchsuchen()
{
    QFETCH(Wahl, w);
    const bool speichern = w.art == u"speichern", ordner = w.art == u"ordner";
    QList<Dateiwahl> anfragen;
    m_dialog.dateiwahl = [&](QWidget* besitzer, const Dateiwahl& wahl) {
        anfragen << wahl;
        return besitzer == &m_dialog ? w.antwort.toString() : QString();
    };
    QString fokus;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        klicken(knopf(m_dialog, u"ShapeDateinameAuswählenDurchsuchen"_s));
        fokus = m_dialog.focusWidget()->objectName();
        m_dialog.SeiteBeenden();
    });
    const QString ergebnis = m_dialog.ShowShapeDateiAuswählen(
        1, 1, 1, w.fertig ? 1 : 0, u"T"_s, u"Datei"_s, u"Start-Datei"_s, u"vorgabe.azs"_s, w.nummer,
        w.eigenerFilter.toString(), speichern, ordner);
    m_dialog.dateiwahl = DateiwahlAnzeigen;
    QVERIFY(!wachhund.abgelaufen);
    QCOMPARE(anfragen.size(), 1);
    const Dateiwahl& a = anfragen.first();
    QCOMPARE(a.art, ordner      ? Dateiwahl::Art::Ordner
                    : speichern ? Dateiwahl::Art::Speichern
                                : Dateiwahl::Art::Oeffnen);
    QCOMPARE(a.filter, w.filter);
    // The save chooser proposes what the field holds and asks nothing
    // before an existing file.
    QCOMPARE(a.vorschlag, speichern ? u"vorgabe.azs"_s : QString());
    QCOMPARE(a.optionen.testFlag(QFileDialog::DontConfirmOverwrite), speichern);
    QCOMPARE(a.optionen.testFlag(QFileDialog::ShowDirsOnly), ordner);
    QCOMPARE(a.titel, ordner ? OrdnerTitel : QString());
    QCOMPARE(a.startordner, ordner ? QString() : QDir::currentPath());
    // A cancelled chooser leaves the field as it was; after a choice the
    // focus is on Fertig stellen when it can be pressed, else on Weiter.
    QCOMPARE(ergebnis, w.antwort.isEmpty() ? u"vorgabe.azs"_s : w.antwort.toString());
    QCOMPARE(fokus, w.fertig ? u"cmdFertigstellen"_s : u"cmdWeiter"_s);
}

// Qt's own choosers behind the hook; the user enters a name and presses Enter.
void TestDateiauswahl::echterDialog_data()
{
    QTest::addColumn<int>("art");
    QTest::newRow("oeffnen") << int(Dateiwahl::Art::Oeffnen);
    QTest::newRow("speichern") << int(Dateiwahl::Art::Speichern);
    QTest::newRow("ordner") << int(Dateiwahl::Art::Ordner);
}

void TestDateiauswahl::echterDialog()
{
    QFETCH(int, art);
    QTemporaryDir ordner;
    const QDir dir(ordner.path());
    QVERIFY(QFile(dir.filePath(u"wintv.exe"_s)).open(QIODevice::WriteOnly));
    QVERIFY(dir.mkdir(u"aufnahmen"_s));
    const QString vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(ordner.path()));

    QStringList typen, muster;
    QString titel;
    bool angenommen = false;
    // The chooser runs its own modal loop; answer it once it shows.
    QTimer suche;
    QObject::connect(&suche, &QTimer::timeout, [&] {
        QFileDialog* fd = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            fd = fd ? fd : qobject_cast<QFileDialog*>(w);
        if (!fd || !fd->isVisible())
            return;
        suche.stop();
        auto* typListe = fd->findChild<QComboBox*>(u"fileTypeCombo"_s);
        for (int i = 0; i < typListe->count(); ++i)
            typen << typListe->itemText(i);
        muster = fd->findChild<QFileSystemModel*>()->nameFilters();
        titel = fd->windowTitle();
        auto* name = fd->findChild<QLineEdit*>(u"fileNameEdit"_s);
        if (art == int(Dateiwahl::Art::Ordner))
            name->setText(dir.filePath(u"aufnahmen"_s));
        else if (art == int(Dateiwahl::Art::Oeffnen))
            name->setText(u"wintv.exe"_s);
        QTest::keyClick(name, Qt::Key_Return);
        angenommen = !fd->isVisible();
    });
    suche.start(50);
    // A chooser, or a message it raised, still open after five seconds is
    // closed, so a fault cannot hang the run.
    QTimer::singleShot(5000, &suche, [this] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<QDialog*>(w); d && d != &m_dialog && d->isVisible())
                d->reject();
        }
    });
    QString ergebnis;
    if (art == int(Dateiwahl::Art::Speichern))
        ergebnis = m_dialog.DateiSpeichernDialog(u"neu.azs"_s, u"Definitionen|*.azs"_s);
    else if (art == int(Dateiwahl::Art::Ordner))
        ergebnis = m_dialog.OrdnerAuswaehlenDialog();
    else
        ergebnis = m_dialog.DateiOeffnenDialog(Programme);
    QDir::setCurrent(vorher);

    // Qt shows each description as written and filters by its patterns; the
    // choosers open in the current folder, the save chooser with its name.
    QVERIFY(angenommen);
    const QFileInfo gewaehlt(ergebnis);
    const QString kanonisch = QFileInfo(ordner.path()).canonicalFilePath();
    QCOMPARE(QDir(gewaehlt.path()).canonicalPath(), kanonisch);
    if (art == int(Dateiwahl::Art::Oeffnen)) {
        QCOMPARE(typen, QStringList{u"Programme (*.exe *.com *.bat *.cmd)"_s});
        QCOMPARE(muster, (QStringList{u"*.exe"_s, u"*.com"_s, u"*.bat"_s, u"*.cmd"_s}));
        QCOMPARE(gewaehlt.fileName(), u"wintv.exe"_s);
    } else if (art == int(Dateiwahl::Art::Speichern)) {
        QCOMPARE(typen, QStringList{u"Definitionen"_s});
        QCOMPARE(gewaehlt.fileName(), u"neu.azs"_s);
    } else {
        QCOMPARE(titel, OrdnerTitel);
        QCOMPARE(gewaehlt.fileName(), u"aufnahmen"_s);
    }
}

QTEST_MAIN(TestDateiauswahl)
#include "tst_dateiauswahl.moc"
