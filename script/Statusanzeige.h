#pragma once

#include <functional>
#include <memory>

#include <QString>

/// Where the command interpreter reports what it does while the engine field
/// `StatusAnzeigen` is on. The engine itself links no window library: a host
/// that wants the status window installs a factory (see
/// script/gui/Statusfenster.h); without one, reports go nowhere.
class Statusanzeige
{
public:
    virtual ~Statusanzeige() = default;

    /// Shows the action that is about to run and records it in the history.
    virtual void ShowDebugInfo(const QString& aktionstext) = 0;

    /// Marks the current action as done.
    virtual void ShowDebugInfoAddOk() = 0;
};

using StatusanzeigeFabrik = std::function<std::unique_ptr<Statusanzeige>()>;

/// Installs the factory that creates the status display on the first report.
/// Replacing it (also by an empty factory) destroys a display made by the
/// previous one, so hosts call this with `{}` before their event loop ends.
void StatusanzeigeFabrikSetzen(StatusanzeigeFabrik fabrik);

/// The status display, created by the factory on first use; null without a
/// factory or when the factory returned none.
Statusanzeige* AktuelleStatusanzeige();
