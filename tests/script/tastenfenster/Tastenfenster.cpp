#include "tests/script/tastenfenster/Tastenfenster.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>

Tastenfenster::Tastenfenster(const QString& titel, const QString& ausgabe)
    : m_ausgabe(ausgabe)
{
    setTitle(titel);
    resize(420, 120);
    m_ausgabe.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

void Tastenfenster::keyPressEvent(QKeyEvent* ereignis)
{
    static const QList<int> nurModifikator{Qt::Key_Shift,   Qt::Key_Control, Qt::Key_Alt,
                                           Qt::Key_AltGr,   Qt::Key_Meta,    Qt::Key_Super_L,
                                           Qt::Key_Super_R, Qt::Key_Hyper_L, Qt::Key_Hyper_R};
    if (nurModifikator.contains(ereignis->key()))
        return;
    const Qt::KeyboardModifiers mods = ereignis->modifiers();
    const QString text = ereignis->text();
    const bool druckbar = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(),
                                                         [](QChar c) { return c.isPrint(); });
    QString eintrag;
    if (druckbar &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier))) {
        eintrag = text;
    } else {
        const QKeyCombination kombination(mods, Qt::Key(ereignis->key()));
        eintrag = QLatin1Char('<') +
                  QKeySequence(kombination).toString(QKeySequence::PortableText) + QLatin1Char('>');
    }
    m_ausgabe.write(eintrag.toUtf8());
    m_zuletzt = (m_zuletzt + eintrag).right(60);
    update();
}

void Tastenfenster::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    maler.fillRect(QRect(QPoint(), size()), isActive() ? Qt::white : Qt::lightGray);
    maler.drawText(QRect(QPoint(), size()), Qt::AlignCenter, m_zuletzt);
}
