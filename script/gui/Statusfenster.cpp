#include "script/gui/Statusfenster.h"

#include <QCoreApplication>

Statusfenster::~Statusfenster()
{
    // Without an application the window system is gone already.
    if (QCoreApplication::instance() != nullptr)
        delete m_fenster.data();
}

void Statusfenster::ShowDebugInfo(const QString& aktionstext)
{
    if (!m_fenster)
        m_fenster = new FormAufzeichnungsskript;
    m_fenster->ShowDebugInfo(aktionstext);
}

void Statusfenster::ShowDebugInfoAddOk()
{
    // Closed since the report: there is nothing left to confirm.
    if (m_fenster)
        m_fenster->ShowDebugInfoAddOk();
}

void StatusfensterEinrichten()
{
    StatusanzeigeFabrikSetzen([] { return std::make_unique<Statusfenster>(); });
}
