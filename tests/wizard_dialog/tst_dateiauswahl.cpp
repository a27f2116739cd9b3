// The file page's browse button: the filter in Qt's form, what the button
// asks the chooser and what it does with the answer.

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>

#include "Seitenhelfer.h"
#include "wizard_dialog/Dateifilter.h"

using namespace Qt::StringLiterals;

namespace {
const QString Programme = u"Programme (*.exe *.com *.bat *.cmd)|*.exe;*.com;*.bat;*.cmd"_s;
} // namespace

class TestDateiauswahl : public QObject
{
    Q_OBJECT
private slots:
    void filter_data() { tabelle("filter"); }
    void filter();
    void qtLiestDenFilter();
    void durchsuchen_data() { tabelle("durchsuchen"); }
    void durchsuchen();

private:
    frmWizard m_dialog;
};

void TestDateiauswahl::filter()
{
    QFETCH(QString, text);
    QFETCH(QString, qt);
    QCOMPARE(DateifilterFuerQt(DateifilterLesen(text)), qt);
}

void TestDateiauswahl::qtLiestDenFilter()
{
    // Qt's own chooser shows the description as written and filters by the
    // converted patterns.
    QFileDialog d;
    d.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    d.setNameFilter(DateifilterFuerQt(DateifilterLesen(Programme)));
    QCOMPARE(d.findChild<QComboBox*>(u"fileTypeCombo"_s)->currentText(),
             u"Programme (*.exe *.com *.bat *.cmd)"_s);
    QCOMPARE(d.findChild<QFileSystemModel*>()->nameFilters(),
             (QStringList{u"*.exe"_s, u"*.com"_s, u"*.bat"_s, u"*.cmd"_s}));
}

void TestDateiauswahl::durchsuchen()
{
    QFETCH(QString, art);
    QFETCH(QString, nummer);
    QFETCH(QString, eigenerFilter);
    QFETCH(QString, fertig);
    QFETCH(QString, antwort);
    QFETCH(QString, filter);
    const bool speichern = art == u"speichern", ordner = art == u"ordner";
    QList<Dateiwahl> anfragen;
    m_dialog.dateiwahl = [&](QWidget* besitzer, const Dateiwahl& wahl) {
        anfragen << wahl;
        return besitzer == &m_dialog ? antwort : QString();
    };
    QString fokus;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        klicken(m_dialog, u"ShapeDateinameAuswählenDurchsuchen"_s);
        fokus = m_dialog.focusWidget()->objectName();
        m_dialog.SeiteBeenden();
    });
    const QString ergebnis = m_dialog.ShowShapeDateiAuswählen(
        1, 1, 1, fertig == u"ja" ? 1 : 0, u"T"_s, u"Datei"_s, u"Start-Datei"_s, u"vorgabe.azs"_s,
        nummer.toInt(), eigenerFilter, speichern, ordner);
    QVERIFY(!wachhund.abgelaufen);
    QCOMPARE(anfragen.size(), 1);
    const Dateiwahl& a = anfragen.first();
    QCOMPARE(a.art, ordner      ? Dateiwahl::Art::Ordner
                    : speichern ? Dateiwahl::Art::Speichern
                                : Dateiwahl::Art::Oeffnen);
    QCOMPARE(a.filter, filter);
    // Saving proposes what the field holds and asks nothing before an
    // existing file.
    QCOMPARE(a.vorschlag, speichern ? u"vorgabe.azs"_s : QString());
    QCOMPARE(a.optionen.testFlag(QFileDialog::DontConfirmOverwrite), speichern);
    QCOMPARE(a.optionen.testFlag(QFileDialog::HideNameFilterDetails), !ordner);
    QCOMPARE(a.optionen.testFlag(QFileDialog::ShowDirsOnly), ordner);
    QCOMPARE(a.titel.startsWith(u"Bitte wählen Sie einen Ordner"_s), ordner);
    // A cancelled chooser leaves the field; after a choice the focus goes to
    // Fertig stellen when usable, else to Weiter.
    QCOMPARE(ergebnis, antwort.isEmpty() ? u"vorgabe.azs"_s : antwort);
    QCOMPARE(fokus, fertig == u"ja" ? u"cmdFertigstellen"_s : u"cmdWeiter"_s);
}

QTEST_MAIN(TestDateiauswahl)
#include "tst_dateiauswahl.moc"
