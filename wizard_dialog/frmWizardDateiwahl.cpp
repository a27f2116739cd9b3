// The browse button of the file page and the three choosers behind it.

#include "wizard_dialog/frmWizard.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "wizard_dialog/Dateifilter.h"

using namespace Qt::StringLiterals;

namespace {
const QString AlleDateien = u"Alle Dateien (*.*)|*.*"_s;

void filterSetzen(Dateiwahl& wahl, const QString& filter)
{
    const QList<Dateifilter> liste = DateifilterLesen(filter.isEmpty() ? AlleDateien : filter);
    wahl.filter = DateifilterFuerQt(liste);
    wahl.programmfilter = ProgrammfilterFuerQt(liste);
}
} // namespace

QString frmWizard::DateiOeffnenDialog(const QString& Filter, const QString& Startordner)
{
    Dateiwahl wahl;
    wahl.art = Dateiwahl::Art::Oeffnen;
    filterSetzen(wahl, Filter);
    wahl.startordner = Startordner.isEmpty() ? QDir::currentPath() : Startordner;
    wahl.optionen = QFileDialog::HideNameFilterDetails;
    return dateiwahl ? dateiwahl(this, wahl) : QString();
}

QString frmWizard::DateiSpeichernDialog(const QString& Dateiname, const QString& Filter,
                                        const QString& Startordner)
{
    Dateiwahl wahl;
    wahl.art = Dateiwahl::Art::Speichern;
    wahl.vorschlag = Dateiname;
    filterSetzen(wahl, Filter);
    wahl.startordner = Startordner.isEmpty() ? QDir::currentPath() : Startordner;
    // Choosing an existing file asks nothing; the caller decides.
    wahl.optionen = QFileDialog::HideNameFilterDetails | QFileDialog::DontConfirmOverwrite;
    return dateiwahl ? dateiwahl(this, wahl) : QString();
}

QString frmWizard::OrdnerAuswaehlenDialog()
{
    Dateiwahl wahl;
    wahl.art = Dateiwahl::Art::Ordner;
    wahl.titel = u"Bitte wählen Sie einen Ordner der die zu durchsuchenden Dateien enthält:"_s;
    // Like the file choosers it starts in the current directory.
    wahl.startordner = QDir::currentPath();
    wahl.optionen = QFileDialog::ShowDirsOnly;
    return dateiwahl ? dateiwahl(this, wahl) : QString();
}

void frmWizard::durchsuchenGeklickt()
{
    QString ergebnis;
    if (!m_nurOrdnerAuswaehlen) {
        const QString filter = m_filtertext.isEmpty() ? AlleDateien : m_filtertext;
        if (m_dateiSpeichernStattOeffnen)
            ergebnis = DateiSpeichernDialog(ShapeDateinameAuswählenDateiname->text(), filter);
        else
            ergebnis = DateiOeffnenDialog(filter);
    } else {
        ergebnis = OrdnerAuswaehlenDialog();
    }
    // A cancelled chooser leaves the field as it was.
    if (!ergebnis.isEmpty())
        ShapeDateinameAuswählenDateiname->setText(ergebnis);

    // Fertig stellen wins when both buttons could take the focus.
    fokusSetzen(cmdWeiter);
    fokusSetzen(cmdFertigstellen);
}
