#pragma once

#include <QString>
#include <QStringList>

// Helpers of the tests on an X server of their own (tests/mit-x.sh).

/// The whole file as UTF-8 text; empty when it cannot be read.
QString dateiText(const QString& pfad);
/// A program's trimmed standard output; empty when it has not ended after 10 s.
QString programmAusgabe(const QString& programm, const QStringList& argumente);
/// Switches the server's keyboard layout with setxkbmap.
bool tastaturbelegung(const QString& layout);
/// Waits (event loop running) until the window manager has worked off what
/// was sent to it before; true at once without one. Each keymap change makes
/// openbox rebind its keys, so it can lag behind by more than the 15 seconds
/// a window search allows.
bool fenstermanagerEingeholt(int maxMs = 120000);
