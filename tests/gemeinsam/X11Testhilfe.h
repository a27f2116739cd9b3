#pragma once

#include <QString>
#include <QStringList>

// Helpers of the tests that run on an X server of their own (tests/mit-x.sh).

/// The whole file as UTF-8 text; empty when it cannot be read.
QString dateiText(const QString& pfad);

/// Runs a program to its end and returns its trimmed standard output
/// (empty after 10 seconds without an end).
QString programmAusgabe(const QString& programm, const QStringList& argumente);

/// Switches the server's keyboard layout with setxkbmap.
bool tastaturbelegung(const QString& layout);

/// Waits, with the event loop running, until the window manager has handled
/// everything sent to it before; true at once without one. Every keymap
/// change costs a window manager real work (openbox rebinds its keys and
/// reopens its input method), so after many of them it can lag behind by
/// more than the 15 seconds a window search allows, on a loaded machine.
bool fenstermanagerEingeholt(int maxMs = 120000);
