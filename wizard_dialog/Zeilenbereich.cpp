#include "wizard_dialog/Zeilenbereich.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>

Zeilenbereich::Zeilenbereich(QWidget* parent, const QString& name)
    : QScrollArea(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::NoFrame);
    // Tab goes from row to row, not to the area itself.
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);

    QPalette weiss = palette();
    weiss.setColor(QPalette::Window, Qt::white);
    setPalette(weiss);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);

    auto* flaeche = new QWidget;
    flaeche->setObjectName(name + QStringLiteral("Flaeche"));
    setWidget(flaeche);

    // A click or a caller's setFocus brings a half hidden row into view too.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* jetzt) {
        if (jetzt && zeilen()->isAncestorOf(jetzt))
            sichtbarMachen(jetzt);
    });
}

void Zeilenbereich::einpassen(int oben, int hoehe)
{
    QWidget* flaeche = zeilen();
    QRect belegt;
    for (QWidget* zeile : flaeche->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // The previous call's move to the left is undone first.
        zeile->move(zeile->x() + m_nachLinks, zeile->y());
        if (!zeile->isHidden())
            belegt |= zeile->geometry();
    }
    m_nachLinks = 0;

    const int breite = parentWidget()->width() - x();
    const int inhalt = qMax(0, belegt.bottom() + 1);
    hoehe = qMax(0, hoehe);
    const bool passt = inhalt <= hoehe;
    int flaechenBreite = breite;
    if (!passt) {
        // The scroll bar takes its width from the right; the rows move left
        // into their margin as far as it reaches, so they stay whole.
        flaechenBreite -= verticalScrollBar()->sizeHint().width();
        m_nachLinks = qBound(0, belegt.right() + 1 - flaechenBreite, qMax(0, belegt.left()));
        for (QWidget* zeile : flaeche->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            zeile->move(zeile->x() - m_nachLinks, zeile->y());
    }
    setVerticalScrollBarPolicy(passt ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    setGeometry(x(), oben, breite, passt ? inhalt : hoehe);
    flaeche->resize(flaechenBreite, inhalt);
    verticalScrollBar()->setValue(0);
}

const QWidget* Zeilenbereich::zeileVon(const QWidget* feld) const
{
    const QWidget* zeile = feld;
    while (zeile && zeile->parentWidget() != zeilen())
        zeile = zeile->parentWidget();
    return zeile;
}

void Zeilenbereich::sichtbarMachen(const QWidget* feld)
{
    const QWidget* zeile = zeileVon(feld);
    if (!zeile)
        return;
    QScrollBar* leiste = verticalScrollBar();
    // Without frame and horizontal bar the viewport is as tall as the area,
    // whose height is already right while a hidden page's resize is pending.
    const int sichtbar = height();
    if (zeile->y() < leiste->value())
        leiste->setValue(zeile->y());
    else if (zeile->y() + zeile->height() > leiste->value() + sichtbar)
        leiste->setValue(zeile->y() + zeile->height() - sichtbar);
}

bool Zeilenbereich::focusNextPrevChild(bool next)
{
    // QScrollArea would scroll with a margin of 50 pixels around the field;
    // the rows only need to be seen whole.
    if (!QWidget::focusNextPrevChild(next))
        return false;
    if (const QWidget* fokus = window()->focusWidget(); fokus && zeilen()->isAncestorOf(fokus))
        sichtbarMachen(fokus);
    return true;
}

void Zeilenbereich::radZumRollen(QWidget* feld)
{
    feld->installEventFilter(this);
}

bool Zeilenbereich::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::Wheel) {
        // The area also watches its own scroll bars; only the rows' fields
        // hand their turns on.
        auto* feld = qobject_cast<QWidget*>(objekt);
        if (feld && zeilen()->isAncestorOf(feld) && !feld->hasFocus()) {
            QCoreApplication::sendEvent(verticalScrollBar(), ereignis);
            return true;
        }
    }
    return QScrollArea::eventFilter(objekt, ereignis);
}
