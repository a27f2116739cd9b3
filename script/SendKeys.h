#pragma once

#include <QList>
#include <QString>

/// The SendKeys notation: "+", "^" and "%" hold Shift, Ctrl and Alt for the
/// next key or parenthesised group, "~" is Enter, "{NAME}" and "{NAME n}" name
/// a key (n times), "{x}" is the character x, groups nest up to three deep.
/// A text is parsed as a whole into a list of key actions before anything is
/// sent, so an invalid notation sends nothing at all.

enum class Modifikator
{
    Umschalt,
    Strg,
    Alt
};

/// The keys that have a name in braces.
enum class Sondertaste
{
    Enter,
    Tab,
    Escape,
    Backspace,
    Break,
    CapsLock,
    Clear,
    Delete,
    Insert,
    Home,
    End,
    PageUp,
    PageDown,
    Up,
    Down,
    Left,
    Right,
    NumLock,
    ScrollLock,
    PrintScreen,
    Help,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    F13,
    F14,
    F15,
    F16,
    Add,
    Subtract,
    Multiply,
    Divide
};

/// One step of a parsed key sequence.
struct TastenAktion
{
    enum class Art
    {
        Druecken, ///< hold a modifier down
        Loesen,   ///< release a held modifier
        Zeichen,  ///< type a character with the keyboard map in force
        Taste     ///< press a named key
    };

    Art art = Art::Zeichen;
    Modifikator modifikator = Modifikator::Umschalt;
    char32_t zeichen = 0;
    Sondertaste taste = Sondertaste::Enter;
    int wiederholungen = 1;

    friend bool operator==(const TastenAktion&, const TastenAktion&) = default;
};

/// Most keystrokes one text may expand to; more is taken as a mistake rather
/// than something to type for minutes.
inline constexpr qint64 kMaxTastenanschlaege = 100000;

/// Parses a text in SendKeys notation. Returns false for an invalid notation
/// (unknown key name, unclosed or stray brace or parenthesis, bad repeat
/// count, a modifier given twice for the same key, a fourth nesting level);
/// `fehler` then tells why, in German. Every modifier the result holds down
/// is released again within the result.
bool SendKeysZerlegen(const QString& text, QList<TastenAktion>& aktionen,
                      QString* fehler = nullptr);

/// The canonical name of a named key, as written in braces ("ENTER", "F4").
QString sondertastenName(Sondertaste taste);

/// A readable form of a key list, one token per action separated by blanks:
/// "Shift↓", "Shift↑", 'a', ENTER, with "×n" for repeats. For tests and
/// diagnostics.
QString SendKeysBeschreibung(const QList<TastenAktion>& aktionen);
