#pragma once

#include <QLabel>

/// A label that reports clicks, so that the long, wrapping texts of option
/// buttons and check boxes act on their button like the button's own text.
class KlickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit KlickLabel(QWidget* parent, const QString& name);

signals:
    void geklickt();

protected:
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;

private:
    bool m_gedrueckt = false;
};
