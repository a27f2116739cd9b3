#include "wizard_dialog/Dateiauswahl.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

namespace {
/// Hides the files that are not executable while it is switched on;
/// folders stay, so the user can still move through them.
class NurAusfuehrbare : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void einschalten(bool an)
    {
        if (an == m_an)
            return;
        m_an = an;
        invalidateFilter();
    }

    // The file model sorts itself, folders first; the rows keep its order.
    void sort(int spalte, Qt::SortOrder folge) override { sourceModel()->sort(spalte, folge); }

protected:
    bool filterAcceptsRow(int zeile, const QModelIndex& eltern) const override
    {
        if (!m_an)
            return true;
        const auto* dateien = static_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex index = dateien->index(zeile, 0, eltern);
        return dateien->isDir(index) || QFileInfo(dateien->filePath(index)).isExecutable();
    }

private:
    bool m_an = false;
};

/// Whether the chooser's selected type is `eintrag`: with the patterns
/// hidden Qt reports only the description in front of them.
bool gleicherFilter(const QString& gewaehlt, const QString& eintrag)
{
    return gewaehlt == eintrag ||
           gewaehlt == eintrag.left(eintrag.lastIndexOf(QStringLiteral(" ("))).simplified();
}
} // namespace

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
    QFileDialog dialog(besitzer, wahl.titel, wahl.startordner);
    dialog.setOptions(wahl.optionen | QFileDialog::DontUseNativeDialog);
    switch (wahl.art) {
    case Dateiwahl::Art::Oeffnen:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case Dateiwahl::Art::Speichern: {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        const QFileInfo ort(SpeicherortVorschlag(wahl));
        if (!ort.filePath().isEmpty() && !ort.isDir()) {
            dialog.setDirectory(ort.absolutePath());
            dialog.selectFile(ort.fileName());
        }
        break;
    }
    case Dateiwahl::Art::Ordner:
        dialog.setFileMode(QFileDialog::Directory);
        break;
    }
    if (wahl.art != Dateiwahl::Art::Ordner) {
        // The first type of the list is the preselected one.
        dialog.setNameFilter(wahl.filter);
        dialog.selectNameFilter(wahl.filter.section(QStringLiteral(";;"), 0, 0));
    }
    if (!wahl.programmfilter.isEmpty()) {
        auto* filter = new NurAusfuehrbare(&dialog);
        dialog.setProxyModel(filter);
        auto umschalten = [&dialog, filter, &wahl] {
            filter->einschalten(gleicherFilter(dialog.selectedNameFilter(), wahl.programmfilter));
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, filter, umschalten);
        umschalten();
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
