#include "script/Tastennamen.h"

#include <array>
#include <utility>

#include "script/JokerErsetzen.h"

using namespace Qt::StringLiterals;

namespace {
// The order matters: definition files rely on it, and later names see the
// result of earlier replacements.
const std::array<std::pair<QStringView, QStringView>, 41> kTabelle = {{
    {u"[ALT]", u"%"},
    {u"[UMSCHALT]", u"+"},
    {u"[SHIFT]", u"+"},
    {u"[STRG]", u"^"},
    {u"[CTRL]", u"^"},
    {u"[BACKSPACE]", u"{BACKSPACE}"},
    {u"[BS]", u"{BS}"},
    {u"[BKSP]", u"{BKSP}"},
    {u"[PAUSE]", u"{BREAK}"},
    {u"[BREAK]", u"{BREAK}"},
    {u"[CAPSLOCK]", u"{CAPSLOCK}"},
    {u"[ENTF]", u"{DELETE}"},
    {u"[DELETE]", u"{DELETE}"},
    {u"[DEL]", u"{DEL}"},
    {u"[AB]", u"{DOWN}"},
    {u"[DOWN]", u"{DOWN}"},
    {u"[ENDE]", u"{END}"},
    {u"[END]", u"{END}"},
    {u"[ENTER]", u"{ENTER}"},
    {u"[ESC]", u"{ESC}"},
    {u"[HELP]", u"{HELP}"},
    {u"[POS1]", u"{HOME}"},
    {u"[HOME]", u"{HOME}"},
    {u"[EINF]", u"{INSERT}"},
    {u"[INSERT]", u"{INSERT}"},
    {u"[INS]", u"{INS}"},
    {u"[LINKS]", u"{LEFT}"},
    {u"[LEFT]", u"{LEFT}"},
    {u"[NUMLOCK]", u"{NUMLOCK}"},
    {u"[BILDAB]", u"{PGDN}"},
    {u"[PGDN]", u"{PGDN}"},
    {u"[BILDAUF]", u"{PGUP}"},
    {u"[PGUP]", u"{PGUP}"},
    {u"[DRUCK]", u"{PRTSC}"},
    {u"[PRTSC]", u"{PRTSC}"},
    {u"[RECHTS]", u"{RIGHT}"},
    {u"[RIGHT]", u"{RIGHT}"},
    {u"[SCROLLLOCK]", u"{SCROLLLOCK}"},
    {u"[TAB]", u"{TAB}"},
    {u"[AUF]", u"{UP}"},
    {u"[UP]", u"{UP}"},
}};
} // namespace

QString TastennamenUebersetzen(const QString& tasten)
{
    QString ergebnis = tasten;
    for (const auto& [name, ersatz] : kTabelle)
        ergebnis = JokerErsetzen(ergebnis, name.toString(), ersatz.toString());
    // The function keys come last, [F1] to [F16] in rising order.
    for (int n = 1; n <= 16; ++n)
        ergebnis = JokerErsetzen(ergebnis, u"[F%1]"_s.arg(n), u"{F%1}"_s.arg(n));
    return ergebnis;
}
