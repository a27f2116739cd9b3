#pragma once

#include <functional>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "wizard_dialog/frmWizard.h"

// Helpers for driving wizard pages as a user would: the page operations
// block in their own event loop, so the user's actions are queued on timers
// before the call and run while the page waits.

/// Runs `aktion` `ms` milliseconds from now, inside whatever loop runs then.
inline void spaeter(std::function<void()> aktion, int ms = 0)
{
    QTimer::singleShot(ms, std::move(aktion));
}

template<typename T = QWidget>
T* element(const frmWizard& dialog, const QString& name)
{
    return dialog.findChild<T*>(name);
}

inline QPushButton* knopf(const frmWizard& dialog, const QString& name)
{
    return element<QPushButton>(dialog, name);
}

/// A click near the left end, where buttons, check boxes and labels all
/// take it (a wide check box only reacts on its box and its text).
inline void klicken(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(qMin(8, w->width() / 2), w->height() / 2));
}

/// A key typed by the user: it goes to the focused control, or to the
/// window itself when nothing has the focus.
inline void taste(frmWizard& dialog, Qt::Key k)
{
    QWidget* ziel = QApplication::focusWidget();
    QTest::keyClick(ziel && ziel->window() == &dialog ? ziel : &dialog, k);
}

/// Ends a page that the test did not end itself, so a fault cannot hang
/// the run; `abgelaufen` tells that it had to.
class Wachhund
{
public:
    explicit Wachhund(frmWizard& dialog, int ms = 5000)
    {
        m_zeit.setSingleShot(true);
        QObject::connect(&m_zeit, &QTimer::timeout, [this, &dialog] {
            m_abgelaufen = true;
            dialog.SeiteBeenden();
        });
        m_zeit.start(ms);
    }
    bool abgelaufen() const { return m_abgelaufen; }

private:
    QTimer m_zeit;
    bool m_abgelaufen = false;
};
