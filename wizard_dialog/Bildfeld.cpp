#include "wizard_dialog/Bildfeld.h"

#include <QPainter>

Bildfeld::Bildfeld(QWidget* parent, const QString& name)
    : QFrame(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::NoFrame);
}

void Bildfeld::hintergrundSetzen(const QColor& farbe)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, farbe);
    setPalette(p);
    setAutoFillBackground(true);
}

void Bildfeld::kantenlinienZeichnen(const QColor& farbe)
{
    m_kante = farbe;
    update();
}

void Bildfeld::paintEvent(QPaintEvent* ereignis)
{
    QFrame::paintEvent(ereignis);
    if (!m_kante.isValid())
        return;
    QPainter maler(this);
    maler.setPen(m_kante);
    maler.drawLine(0, 0, width() - 1, 0);
    maler.drawLine(0, 0, 0, height() - 1);
}
