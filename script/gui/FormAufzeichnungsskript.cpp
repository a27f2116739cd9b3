#include "script/gui/FormAufzeichnungsskript.h"

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {
constexpr int kVerlaufMax = 20;
constexpr int kOkPauseMs = 200;
// How long the first showing waits for a window manager to frame the window.
constexpr int kRahmenMaxMs = 2000;

/// Ends a wait once the window it watches is exposed on the screen.
class Freilegungswaechter : public QObject
{
public:
    explicit Freilegungswaechter(QEventLoop& schleife)
        : m_schleife(schleife)
    {}

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override
    {
        if (ereignis->type() == QEvent::Expose && static_cast<QWindow*>(objekt)->isExposed())
            m_schleife.quit();
        return false;
    }

private:
    QEventLoop& m_schleife;
};
} // namespace

FormAufzeichnungsskript::FormAufzeichnungsskript(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The keystrokes of the script go to the focused window, so the status
    // window must never take the focus from the TV application.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(u"Aufzeichnungsskript"_s);

    PictureInfoSymbol = new QLabel(this);
    PictureInfoSymbol->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(QSize(24, 24)));
    LabelAktuelleAktion = new QLabel(u"Aktion"_s, this);
    LabelAktuelleAktion->setMinimumWidth(260);
    LabelAktuelleAktion->installEventFilter(this);
    auto* zeile = new QHBoxLayout(this);
    zeile->setContentsMargins(6, 6, 6, 6);
    zeile->addWidget(PictureInfoSymbol);
    zeile->addWidget(LabelAktuelleAktion, 1);

    mnuPopupVerlauf = new QMenu(this);
    mnuVerlauf.append(mnuPopupVerlauf->addAction(u"(Start)"_s));
    trenn1 = mnuPopupVerlauf->addSeparator();
    mnuSchließen = mnuPopupVerlauf->addAction(u"Schließen"_s);
    connect(mnuSchließen, &QAction::triggered, this, &QWidget::close);

    const QString tipp = u"Zeigt aktuelle Steuerung der verknüpften TV-Anwendung an. Klicken für "
                         u"mehr Informationen."_s;
    PictureInfoSymbol->setToolTip(tipp);
    LabelAktuelleAktion->setToolTip(tipp);

    adjustSize();
    platzieren();
}

void FormAufzeichnungsskript::platzieren()
{
    const QScreen* bildschirm = screen();
    if (bildschirm == nullptr)
        return;
    const QRect frei = bildschirm->availableGeometry();
    const QSize aussen = frameGeometry().size();
    const int links = std::max(frei.x(), frei.x() + frei.width() - aussen.width());
    const int oben = std::max(frei.y(), frei.y() + frei.height() - aussen.height());
    move(links, oben);
}

void FormAufzeichnungsskript::ShowDebugInfo(const QString& aktionstext)
{
    LabelAktuelleAktion->setText(aktionstext);
    ++m_aktionszaehler;
    const qsizetype hoechster = mnuVerlauf.size() - 1;
    const QString eintrag = u"%1: "_s.arg(m_aktionszaehler, 2, 10, QLatin1Char('0')) + aktionstext;
    if (hoechster < m_aktionszaehler) {
        if (m_aktionszaehler > kVerlaufMax) {
            // The oldest entry ("(Start)" first) scrolls out at the top.
            for (int i = 1; i <= kVerlaufMax; ++i)
                mnuVerlauf[i - 1]->setText(mnuVerlauf[i]->text());
            mnuVerlauf[kVerlaufMax]->setText(eintrag);
        } else {
            QAction* neu = new QAction(eintrag, mnuPopupVerlauf);
            neu->setCheckable(true);
            mnuPopupVerlauf->insertAction(trenn1, neu);
            mnuVerlauf.append(neu);
        }
    }
    for (qsizetype i = 1; i < mnuVerlauf.size(); ++i)
        mnuVerlauf[i]->setChecked(i == mnuVerlauf.size() - 1);

    show();
    if (!m_nachErstemZeigenPlatziert) {
        m_nachErstemZeigenPlatziert = true;
        // The frame a window manager adds is known only once it has taken
        // the window in; placed before, the frame would hang off the screen.
        const QPointer<FormAufzeichnungsskript> selbst(this);
        aufRahmenWarten();
        if (!selbst)
            return;
        platzieren();
    }
    // The interpreter does not return to the event loop before it acts, so
    // the window is painted now.
    LabelAktuelleAktion->repaint();
    repaint();
}

void FormAufzeichnungsskript::aufRahmenWarten()
{
    QWindow* fenster = windowHandle();
    if (fenster == nullptr || fenster->isExposed())
        return;
    // A window manager maps the window inside its frame only after it has
    // made the frame; without one the server maps it at once.
    QEventLoop schleife;
    Freilegungswaechter waechter(schleife);
    fenster->installEventFilter(&waechter);
    QTimer::singleShot(kRahmenMaxMs, Qt::PreciseTimer, &schleife, &QEventLoop::quit);
    schleife.exec();
}

void FormAufzeichnungsskript::ShowDebugInfoAddOk()
{
    LabelAktuelleAktion->setText(LabelAktuelleAktion->text() + u" ..Ok"_s);
    LabelAktuelleAktion->repaint();
    repaint();
    // The window may be closed (and deleted) while the loop runs: nothing
    // of it is touched afterwards.
    QEventLoop schleife;
    QTimer::singleShot(kOkPauseMs, Qt::PreciseTimer, &schleife, &QEventLoop::quit);
    schleife.exec();
}

void FormAufzeichnungsskript::alwaysOnTop(bool oben)
{
    if (oben) {
        if (!(windowFlags() & Qt::WindowStaysOnTopHint)) {
            setWindowFlag(Qt::WindowStaysOnTopHint, true);
            show();
        }
        raise();
    } else {
        // Changing the flags of a visible window re-creates it; a window that
        // is about to close only needs the flag.
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
    }
}

bool FormAufzeichnungsskript::event(QEvent* ereignis)
{
    if (ereignis->type() == QEvent::WindowActivate)
        alwaysOnTop(true);
    return QWidget::event(ereignis);
}

bool FormAufzeichnungsskript::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == LabelAktuelleAktion && ereignis->type() == QEvent::MouseButtonRelease) {
        verlaufZeigen(static_cast<QMouseEvent*>(ereignis)->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(objekt, ereignis);
}

void FormAufzeichnungsskript::mouseReleaseEvent(QMouseEvent* ereignis)
{
    verlaufZeigen(ereignis->globalPosition().toPoint());
}

void FormAufzeichnungsskript::verlaufZeigen(const QPoint& position)
{
    // Not exec(): the interpreter keeps running while the menu is open.
    mnuPopupVerlauf->popup(position);
}

void FormAufzeichnungsskript::closeEvent(QCloseEvent* ereignis)
{
    alwaysOnTop(false);
    QWidget::closeEvent(ereignis);
}
