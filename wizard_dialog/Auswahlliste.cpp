#include "wizard_dialog/Auswahlliste.h"

Auswahlliste::Auswahlliste(QWidget* parent, const QString& name)
    : QListWidget(parent)
{
    setObjectName(name);
}

QItemSelectionModel::SelectionFlags Auswahlliste::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* ereignis) const
{
    const QItemSelectionModel::SelectionFlags befehl =
        QListWidget::selectionCommand(index, ereignis);
    if (selectionMode() == SingleSelection &&
        (befehl & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return QItemSelectionModel::NoUpdate;
    return befehl;
}
