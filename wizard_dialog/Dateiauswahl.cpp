#include "wizard_dialog/Dateiauswahl.h"

#include <QDir>

QString SpeicherortVorschlag(const Dateiwahl& wahl)
{
    if (wahl.vorschlag.isEmpty())
        return wahl.startordner;
    if (QDir::isAbsolutePath(wahl.vorschlag) || wahl.startordner.isEmpty())
        return wahl.vorschlag;
    return QDir(wahl.startordner).filePath(wahl.vorschlag);
}

QString DateiwahlAnzeigen(QWidget* besitzer, const Dateiwahl& wahl)
{
    // The first type of the list is the preselected one.
    QString ersterFilter = wahl.filter.section(QStringLiteral(";;"), 0, 0);
    switch (wahl.art) {
    case Dateiwahl::Art::Oeffnen:
        return QFileDialog::getOpenFileName(besitzer, wahl.titel, wahl.startordner, wahl.filter,
                                            &ersterFilter, wahl.optionen);
    case Dateiwahl::Art::Speichern:
        return QFileDialog::getSaveFileName(besitzer, wahl.titel, SpeicherortVorschlag(wahl),
                                            wahl.filter, &ersterFilter, wahl.optionen);
    case Dateiwahl::Art::Ordner:
        return QFileDialog::getExistingDirectory(besitzer, wahl.titel, wahl.startordner,
                                                 wahl.optionen);
    }
    return {};
}
