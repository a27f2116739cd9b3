// The browse button of the file page and its choosers: the filter text in
// Qt's form, what the button asks the chooser, what it does with the answer,
// and Qt's own file dialog reading the converted filter.

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

class TestDateiauswahl : public QObject
{
    Q_OBJECT
private slots:
    void filter_data();
    void filter();
    void qtLiestDenFilter_data();
    void qtLiestDenFilter();
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
    QTest::newRow("programme")
        << u"Programme (*.exe *.com *.bat *.cmd)|*.exe;*.com;*.bat;*.cmd"_s
        << u"Programme (*.exe *.com *.bat *.cmd) (*.exe *.com *.bat *.cmd)"_s;
    QTest::newRow("mit | am ende")
        << u"Programme (*.exe *.com *.bat *.cmd)|*.exe;*.com;*.bat;*.cmd|"_s
        << u"Programme (*.exe *.com *.bat *.cmd) (*.exe *.com *.bat *.cmd)"_s;
    QTest::newRow("zwei paare") << u"Texte|*.txt|Alle|*.*"_s << u"Texte (*.txt);;Alle (*)"_s;
    QTest::newRow("zwei paare mit | am ende")
        << u"Texte|*.txt|Alle|*.*|"_s << u"Texte (*.txt);;Alle (*)"_s;
    QTest::newRow("programmname ohne endung")
        << u"TV-Anwendung (wintv)|wintv"_s << u"TV-Anwendung (wintv) (wintv)"_s;
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

// Qt's file dialog must show the description as written and filter by the
// patterns of the pattern list.
void TestDateiauswahl::qtLiestDenFilter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("angezeigt");
    QTest::addColumn<QStringList>("muster");

    QTest::newRow("programme") << u"Programme (*.exe *.com *.bat *.cmd)|*.exe;*.com;*.bat;*.cmd"_s
                               << QStringList{u"Programme (*.exe *.com *.bat *.cmd)"_s}
                               << QStringList{u"*.exe"_s, u"*.com"_s, u"*.bat"_s, u"*.cmd"_s};
    QTest::newRow("alle dateien") << u"Alle Dateien (*.*)|*.*"_s
                                  << QStringList{u"Alle Dateien (*.*)"_s} << QStringList{u"*"_s};
    QTest::newRow("beschreibung ohne klammern")
        << u"Texte|*.txt;*.doc|Alle|*.*"_s << QStringList{u"Texte"_s, u"Alle"_s}
        << QStringList{u"*.txt"_s, u"*.doc"_s};
    QTest::newRow("beschreibung weicht vom muster ab")
        << u"TV-Anwendung (wintv)|wintv"_s << QStringList{u"TV-Anwendung (wintv)"_s}
        << QStringList{u"wintv"_s};
}

void TestDateiauswahl::qtLiestDenFilter()
{
    QFETCH(QString, text);
    QFETCH(QStringList, angezeigt);
    QFETCH(QStringList, muster);

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(DateifilterFuerQt(DateifilterLesen(text)));
    auto* typen = dialog.findChild<QComboBox*>(u"fileTypeCombo"_s);
    QVERIFY(typen);
    QStringList ist;
    for (int i = 0; i < typen->count(); ++i)
        ist << typen->itemText(i);
    QCOMPARE(ist, angezeigt);
    auto* modell = dialog.findChild<QFileSystemModel*>();
    QVERIFY(modell);
    QCOMPARE(modell->nameFilters(), muster);
}

// The file page set up as the row says, the chooser's answer; what the
// chooser was asked and what the page shows afterwards.
void TestDateiauswahl::durchsuchen_data()
{
    QTest::addColumn<int>("voreinstellung");
    QTest::addColumn<QString>("eigenerFilter");
    QTest::addColumn<bool>("speichern");
    QTest::addColumn<bool>("nurOrdner");
    QTest::addColumn<QList<int>>("zustand");
    QTest::addColumn<QString>("antwort");
    QTest::addColumn<int>("art");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("vorschlag");
    QTest::addColumn<QString>("feld");
    QTest::addColumn<QString>("fokus");

    const QList<int> normal{1, 1, 1, 0};
    const int oeffnen = int(Dateiwahl::Art::Oeffnen);
    const int speichern = int(Dateiwahl::Art::Speichern);
    const int ordner = int(Dateiwahl::Art::Ordner);
    const QString programme = u"Programme (*.exe *.com *.bat *.cmd) (*.exe *.com *.bat *.cmd)"_s;
    const QString alle = u"Alle Dateien (*.*) (*)"_s;

    QTest::newRow("oeffnen mit programmfilter")
        << 1 << QString() << false << false << normal << u"/opt/tv/wintv"_s << oeffnen << programme
        << QString() << u"/opt/tv/wintv"_s << u"cmdWeiter"_s;
    QTest::newRow("ohne filter nur alle dateien")
        << 999 << QString() << false << false << normal << u"/x"_s << oeffnen << alle << QString()
        << u"/x"_s << u"cmdWeiter"_s;
    QTest::newRow("eigener filter")
        << 8 << u"TV-Anwendung (wintv)|wintv"_s << false << false << normal << u"/opt/tv/wintv"_s
        << oeffnen << u"TV-Anwendung (wintv) (wintv)"_s << QString() << u"/opt/tv/wintv"_s
        << u"cmdWeiter"_s;
    QTest::newRow("negative nummer nimmt den eigenen filter")
        << -1 << u"Audio|*.ogg"_s << false << false << normal << u"/a.ogg"_s << oeffnen
        << u"Audio (*.ogg)"_s << QString() << u"/a.ogg"_s << u"cmdWeiter"_s;
    QTest::newRow("audio voreinstellung")
        << 7 << u"egal|*"_s << false << false << normal << u"/a.wav"_s << oeffnen
        << u"Audio (*.wav) (*.wav)"_s << QString() << u"/a.wav"_s << u"cmdWeiter"_s;
    QTest::newRow("speichern schlaegt das feld vor")
        << 0 << QString() << true << false << normal << u"/tmp/neu.azs"_s << speichern << alle
        << u"vorgabe.azs"_s << u"/tmp/neu.azs"_s << u"cmdWeiter"_s;
    QTest::newRow("ordner") << 0 << QString() << false << true << normal << u"/opt/tv"_s << ordner
                            << QString() << QString() << u"/opt/tv"_s << u"cmdWeiter"_s;
    QTest::newRow("ordner abgebrochen")
        << 0 << QString() << false << true << normal << QString() << ordner << QString()
        << QString() << u"vorgabe.azs"_s << u"cmdWeiter"_s;
    QTest::newRow("datei abgebrochen")
        << 1 << QString() << false << false << normal << QString() << oeffnen << programme
        << QString() << u"vorgabe.azs"_s << u"cmdWeiter"_s;
    QTest::newRow("fertig stellen an weiters platz")
        << 0 << QString() << false << false << QList<int>{1, 1, 0, 1} << u"/x"_s << oeffnen << alle
        << QString() << u"/x"_s << u"cmdFertigstellen"_s;
    QTest::newRow("fertig stellen gewinnt")
        << 0 << QString() << false << false << QList<int>{1, 1, 1, 1} << u"/x"_s << oeffnen << alle
        << QString() << u"/x"_s << u"cmdFertigstellen"_s;
    QTest::newRow("kein knopf bedienbar")
        << 0 << QString() << false << false << QList<int>{1, 1, 2, 2} << u"/x"_s << oeffnen << alle
        << QString() << u"/x"_s << u"ShapeDateinameAuswählenDurchsuchen"_s;
}

void TestDateiauswahl::durchsuchen()
{
    QFETCH(int, voreinstellung);
    QFETCH(QString, eigenerFilter);
    QFETCH(bool, speichern);
    QFETCH(bool, nurOrdner);
    QFETCH(QList<int>, zustand);
    QFETCH(QString, antwort);
    QFETCH(int, art);
    QFETCH(QString, filter);
    QFETCH(QString, vorschlag);
    QFETCH(QString, feld);
    QFETCH(QString, fokus);

    QList<Dateiwahl> anfragen;
    QWidget* besitzer = nullptr;
    m_dialog.dateiwahl = [&](QWidget* b, const Dateiwahl& wahl) {
        besitzer = b;
        anfragen << wahl;
        return antwort;
    };
    QString feldNachWahl, fokusNachWahl;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        klicken(knopf(m_dialog, u"ShapeDateinameAuswählenDurchsuchen"_s));
        feldNachWahl = element<QLineEdit>(m_dialog, u"ShapeDateinameAuswählenDateiname"_s)->text();
        fokusNachWahl = m_dialog.focusWidget() ? m_dialog.focusWidget()->objectName() : QString();
        m_dialog.SeiteBeenden();
    });
    const QString ergebnis = m_dialog.ShowShapeDateiAuswählen(
        zustand[0], zustand[1], zustand[2], zustand[3], u"T"_s, u"Datei"_s, u"Start-Datei"_s,
        u"vorgabe.azs"_s, voreinstellung, eigenerFilter, speichern, nurOrdner);
    m_dialog.dateiwahl = DateiwahlAnzeigen;
    QVERIFY(!wachhund.abgelaufen());

    QCOMPARE(anfragen.size(), 1);
    const Dateiwahl& w = anfragen.first();
    QCOMPARE(besitzer, &m_dialog);
    QCOMPARE(int(w.art), art);
    QCOMPARE(w.filter, filter);
    QCOMPARE(w.vorschlag, vorschlag);
    if (w.art == Dateiwahl::Art::Ordner) {
        QCOMPARE(w.titel,
                 u"Bitte wählen Sie einen Ordner der die zu durchsuchenden Dateien enthält:"_s);
        QVERIFY(w.optionen.testFlag(QFileDialog::ShowDirsOnly));
    } else {
        // Without a start folder the chooser opens in the current directory.
        QCOMPARE(w.startordner, QDir::currentPath());
        QVERIFY(w.optionen.testFlag(QFileDialog::HideNameFilterDetails));
        QCOMPARE(w.optionen.testFlag(QFileDialog::DontConfirmOverwrite), speichern);
    }
    QCOMPARE(feldNachWahl, feld);
    QCOMPARE(ergebnis, feld);
    QCOMPARE(fokusNachWahl, fokus);
}

// Qt's own dialogs behind the hook, answered like a user would.
void TestDateiauswahl::echterDialog_data()
{
    QTest::addColumn<int>("art");
    QTest::newRow("oeffnen") << int(Dateiwahl::Art::Oeffnen);
    QTest::newRow("speichern") << int(Dateiwahl::Art::Speichern);
    QTest::newRow("ordner") << int(Dateiwahl::Art::Ordner);
    QTest::newRow("abbrechen") << -1;
}

void TestDateiauswahl::echterDialog()
{
    QFETCH(int, art);
    QTemporaryDir ordner;
    QVERIFY(ordner.isValid());
    const QDir dir(ordner.path());
    for (const QString& name : {u"wintv.exe"_s, u"notiz.txt"_s}) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(dir.mkdir(u"aufnahmen"_s));
    const QString vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(ordner.path()));

    QStringList filter, gewaehlt;
    QString verzeichnis, titel;
    QFileDialog::FileMode modus = QFileDialog::AnyFile;
    bool gefunden = false;
    bool angenommen = true;
    // The chooser runs its own modal loop; look for it until it shows.
    QTimer suche;
    int versuche = 0;
    QObject::connect(&suche, &QTimer::timeout, [&] {
        QFileDialog* fd = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* f = qobject_cast<QFileDialog*>(w); f && f->isVisible())
                fd = f;
        }
        if (!fd) {
            if (++versuche > 100)
                suche.stop();
            return;
        }
        suche.stop();
        gefunden = true;
        filter = fd->nameFilters();
        verzeichnis = fd->directory().absolutePath();
        titel = fd->windowTitle();
        modus = fd->fileMode();
        gewaehlt = fd->selectedFiles();
        if (art >= 0) {
            // The user enters a name and presses Enter.
            auto* name = fd->findChild<QLineEdit*>(u"fileNameEdit"_s);
            if (art == int(Dateiwahl::Art::Ordner))
                name->setText(dir.filePath(u"aufnahmen"_s));
            else if (art == int(Dateiwahl::Art::Oeffnen))
                name->setText(u"wintv.exe"_s);
            QTest::keyClick(name, Qt::Key_Return);
        }
        // A chooser that did not take the answer must not hang the test.
        if (fd->isVisible()) {
            angenommen = art < 0;
            fd->reject();
        }
    });
    suche.start(50);
    // Any dialog still open after five seconds (a chooser, or a message it
    // raised) is closed, so a fault cannot hang the run.
    bool notbremse = false;
    QTimer::singleShot(5000, &suche, [&notbremse, this] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<QDialog*>(w);
            if (d && d != &m_dialog && d->isVisible()) {
                notbremse = true;
                d->reject();
            }
        }
    });

    QString ergebnis;
    if (art == int(Dateiwahl::Art::Speichern))
        ergebnis = m_dialog.DateiSpeichernDialog(u"neu.azs"_s, u"Definitionen|*.azs"_s);
    else if (art == int(Dateiwahl::Art::Ordner))
        ergebnis = m_dialog.OrdnerAuswaehlenDialog();
    else
        ergebnis = m_dialog.DateiOeffnenDialog(
            u"Programme (*.exe *.com *.bat *.cmd)|*.exe;*.com;*.bat;*.cmd"_s);
    QDir::setCurrent(vorher);

    QVERIFY(gefunden);
    QVERIFY(angenommen);
    QVERIFY(!notbremse);
    const QString kanonisch = QFileInfo(ordner.path()).canonicalFilePath();
    if (art == int(Dateiwahl::Art::Oeffnen) || art < 0) {
        QCOMPARE(filter,
                 QStringList{u"Programme (*.exe *.com *.bat *.cmd) (*.exe *.com *.bat *.cmd)"_s});
        QCOMPARE(modus, QFileDialog::ExistingFile);
        QCOMPARE(QFileInfo(verzeichnis).canonicalFilePath(), kanonisch);
        QCOMPARE(ergebnis, art < 0 ? QString() : dir.filePath(u"wintv.exe"_s));
    } else if (art == int(Dateiwahl::Art::Speichern)) {
        QCOMPARE(filter, QStringList{u"Definitionen (*.azs)"_s});
        QCOMPARE(gewaehlt.size(), 1);
        QCOMPARE(QFileInfo(gewaehlt.first()).fileName(), u"neu.azs"_s);
        QCOMPARE(QFileInfo(ergebnis).fileName(), u"neu.azs"_s);
        QCOMPARE(QFileInfo(QFileInfo(ergebnis).path()).canonicalFilePath(), kanonisch);
    } else {
        QCOMPARE(modus, QFileDialog::Directory);
        QCOMPARE(titel,
                 u"Bitte wählen Sie einen Ordner der die zu durchsuchenden Dateien enthält:"_s);
        QCOMPARE(QFileInfo(ergebnis).canonicalFilePath(),
                 QFileInfo(dir.filePath(u"aufnahmen"_s)).canonicalFilePath());
    }
}

QTEST_MAIN(TestDateiauswahl)
#include "tst_dateiauswahl.moc"
