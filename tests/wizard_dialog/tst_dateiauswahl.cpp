// The browse button of the file page: the filter text in Qt's form and what
// the button asks the chooser and does with its answer.

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>

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
    void qtLiestDenFilter();

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
        {"eigener filter", u"oeffnen", 8, tv, u"/opt/tv", u"TV-Anwendung (wintv) (wintv)", false},
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
    QCOMPARE(a.optionen.testFlag(QFileDialog::HideNameFilterDetails), !ordner);
    QCOMPARE(a.optionen.testFlag(QFileDialog::ShowDirsOnly), ordner);
    QCOMPARE(a.titel, ordner ? OrdnerTitel : QString());
    QCOMPARE(a.startordner, ordner ? QString() : QDir::currentPath());
    // A cancelled chooser leaves the field as it was; after a choice the
    // focus is on Fertig stellen when it can be pressed, else on Weiter.
    QCOMPARE(ergebnis, w.antwort.isEmpty() ? u"vorgabe.azs"_s : w.antwort.toString());
    QCOMPARE(fokus, w.fertig ? u"cmdFertigstellen"_s : u"cmdWeiter"_s);
}

void TestDateiauswahl::qtLiestDenFilter()
{
    // Qt's chooser shows the description as written and filters by the
    // patterns of the converted text.
    QFileDialog d;
    d.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    d.setNameFilter(DateifilterFuerQt(DateifilterLesen(Programme)));
    QCOMPARE(d.findChild<QComboBox*>(u"fileTypeCombo"_s)->currentText(),
             u"Programme (*.exe *.com *.bat *.cmd)"_s);
    QCOMPARE(d.findChild<QFileSystemModel*>()->nameFilters(),
             (QStringList{u"*.exe"_s, u"*.com"_s, u"*.bat"_s, u"*.cmd"_s}));
}

QTEST_MAIN(TestDateiauswahl)
#include "tst_dateiauswahl.moc"
