#pragma once

#include <QPointer>

#include "script/Statusanzeige.h"
#include "script/gui/FormAufzeichnungsskript.h"

/// The status display of a host with windows: the engine's reports go to
/// `FormAufzeichnungsskript`, which is created on the first report and, once
/// the user has closed it, created anew (with a fresh history) by the next.
class Statusfenster : public Statusanzeige
{
public:
    ~Statusfenster() override;

    void ShowDebugInfo(const QString& aktionstext) override;
    void ShowDebugInfoAddOk() override;

    /// The open window, or null.
    FormAufzeichnungsskript* fenster() const { return m_fenster; }

private:
    QPointer<FormAufzeichnungsskript> m_fenster;
};

/// Makes the engine report to a `Statusfenster` while `StatusAnzeigen` is
/// on. Needs a QApplication; call `StatusanzeigeFabrikSetzen({})` before it
/// ends.
void StatusfensterEinrichten();
