#include "wizard_dialog/KlickLabel.h"

#include <QMouseEvent>

KlickLabel::KlickLabel(QWidget* parent, const QString& name)
    : QLabel(parent)
{
    setObjectName(name);
}

void KlickLabel::mousePressEvent(QMouseEvent* ereignis)
{
    m_gedrueckt = ereignis->button() == Qt::LeftButton;
    QLabel::mousePressEvent(ereignis);
}

void KlickLabel::mouseReleaseEvent(QMouseEvent* ereignis)
{
    // A click is press and release of the left button over the label.
    const bool klick = m_gedrueckt && ereignis->button() == Qt::LeftButton &&
                       rect().contains(ereignis->position().toPoint());
    m_gedrueckt = false;
    QLabel::mouseReleaseEvent(ereignis);
    if (klick)
        emit geklickt();
}
