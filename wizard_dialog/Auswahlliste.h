#pragma once

#include <QListWidget>

/// The list of the list page. With a single selection no user gesture takes
/// the selected entry away: Ctrl+click and Ctrl+Space on it, which
/// QAbstractItemView would let deselect it, leave it selected, so a list
/// with a selection always keeps exactly one.
class Auswahlliste : public QListWidget
{
    Q_OBJECT
public:
    Auswahlliste(QWidget* parent, const QString& name);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* ereignis) const override;
};
