#pragma once

#include <QString>

/// Translates the key names a definition file may use in a keystroke
/// parameter ("[Alt]", "[ESC]", "[F4]", German names such as "[ENTF]") into
/// the SendKeys notation, ignoring case. The replacements run one after the
/// other in a fixed order, each on the result of the previous one. Every
/// other character, and a bracketed name that is not in the table, passes
/// through unchanged.
QString TastennamenUebersetzen(const QString& tasten);
