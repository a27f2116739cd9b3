#include "script/SendKeys.h"

#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct Tastenname
{
    const char16_t* name;
    Sondertaste taste;
};

// Every name the notation knows, with its aliases; the first name of a key is
// its canonical one.
constexpr std::array kTastennamen{
    Tastenname{u"ENTER", Sondertaste::Enter},
    Tastenname{u"TAB", Sondertaste::Tab},
    Tastenname{u"ESC", Sondertaste::Escape},
    Tastenname{u"ESCAPE", Sondertaste::Escape},
    Tastenname{u"BACKSPACE", Sondertaste::Backspace},
    Tastenname{u"BS", Sondertaste::Backspace},
    Tastenname{u"BKSP", Sondertaste::Backspace},
    Tastenname{u"BREAK", Sondertaste::Break},
    Tastenname{u"CAPSLOCK", Sondertaste::CapsLock},
    Tastenname{u"CLEAR", Sondertaste::Clear},
    Tastenname{u"DELETE", Sondertaste::Delete},
    Tastenname{u"DEL", Sondertaste::Delete},
    Tastenname{u"INSERT", Sondertaste::Insert},
    Tastenname{u"INS", Sondertaste::Insert},
    Tastenname{u"HOME", Sondertaste::Home},
    Tastenname{u"END", Sondertaste::End},
    Tastenname{u"PGUP", Sondertaste::PageUp},
    Tastenname{u"PGDN", Sondertaste::PageDown},
    Tastenname{u"UP", Sondertaste::Up},
    Tastenname{u"DOWN", Sondertaste::Down},
    Tastenname{u"LEFT", Sondertaste::Left},
    Tastenname{u"RIGHT", Sondertaste::Right},
    Tastenname{u"NUMLOCK", Sondertaste::NumLock},
    Tastenname{u"SCROLLLOCK", Sondertaste::ScrollLock},
    Tastenname{u"PRTSC", Sondertaste::PrintScreen},
    Tastenname{u"HELP", Sondertaste::Help},
    Tastenname{u"F1", Sondertaste::F1},
    Tastenname{u"F2", Sondertaste::F2},
    Tastenname{u"F3", Sondertaste::F3},
    Tastenname{u"F4", Sondertaste::F4},
    Tastenname{u"F5", Sondertaste::F5},
    Tastenname{u"F6", Sondertaste::F6},
    Tastenname{u"F7", Sondertaste::F7},
    Tastenname{u"F8", Sondertaste::F8},
    Tastenname{u"F9", Sondertaste::F9},
    Tastenname{u"F10", Sondertaste::F10},
    Tastenname{u"F11", Sondertaste::F11},
    Tastenname{u"F12", Sondertaste::F12},
    Tastenname{u"F13", Sondertaste::F13},
    Tastenname{u"F14", Sondertaste::F14},
    Tastenname{u"F15", Sondertaste::F15},
    Tastenname{u"F16", Sondertaste::F16},
    Tastenname{u"ADD", Sondertaste::Add},
    Tastenname{u"SUBTRACT", Sondertaste::Subtract},
    Tastenname{u"MULTIPLY", Sondertaste::Multiply},
    Tastenname{u"DIVIDE", Sondertaste::Divide},
};

std::optional<Sondertaste> tasteZuName(QStringView name)
{
    for (const Tastenname& t : kTastennamen) {
        if (name.compare(QStringView(t.name), Qt::CaseInsensitive) == 0)
            return t.taste;
    }
    return std::nullopt;
}

// The modifier state of the notation: a modifier is either not held, held
// for the next key only, or held for the group of the given nesting level.
constexpr int kNichtGehalten = 0;
constexpr int kFuerNaechsteTaste = 10;
constexpr int kMaxGruppentiefe = 3;

class Zerleger
{
public:
    explicit Zerleger(const QString& text)
        : m_text(text)
    {}

    bool zerlegen(QList<TastenAktion>& aktionen, QString& fehler);

private:
    bool fehlschlag(const QString& meldung)
    {
        m_fehler = meldung;
        return false;
    }
    bool modifikatorHalten(Modifikator m);
    void loesen(int ebene);
    bool klammerAuswerten();
    bool anschlagZaehlen(qint64 n);
    void hinzufuegen(const TastenAktion& a);

    int& stand(Modifikator m)
    {
        switch (m) {
        case Modifikator::Umschalt:
            return m_umschalt;
        case Modifikator::Strg:
            return m_strg;
        case Modifikator::Alt:
            break;
        }
        return m_alt;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    QList<TastenAktion> m_aktionen;
    QString m_fehler;
    int m_umschalt = kNichtGehalten;
    int m_strg = kNichtGehalten;
    int m_alt = kNichtGehalten;
    int m_gruppe = 0;
    qint64 m_anschlaege = 0;
};

bool Zerleger::modifikatorHalten(Modifikator m)
{
    int& s = stand(m);
    if (s != kNichtGehalten)
        return fehlschlag(u"Zusatztaste „%1“ an Stelle %2 ist für diese Taste schon gedrückt."_s
                              .arg(m_text.at(m_pos))
                              .arg(m_pos + 1));
    TastenAktion a;
    a.art = TastenAktion::Art::Druecken;
    a.modifikator = m;
    m_aktionen.append(a);
    s = kFuerNaechsteTaste;
    return true;
}

void Zerleger::loesen(int ebene)
{
    for (Modifikator m : {Modifikator::Umschalt, Modifikator::Strg, Modifikator::Alt}) {
        int& s = stand(m);
        if (s == ebene) {
            TastenAktion a;
            a.art = TastenAktion::Art::Loesen;
            a.modifikator = m;
            m_aktionen.append(a);
            s = kNichtGehalten;
        }
    }
}

bool Zerleger::anschlagZaehlen(qint64 n)
{
    m_anschlaege += n;
    if (m_anschlaege > kMaxTastenanschlaege)
        return fehlschlag(u"Mehr als %1 Tastenanschläge."_s.arg(kMaxTastenanschlaege));
    return true;
}

// A character or key typed n times; n = 0 ("{a 0}") types nothing but
// still uses up the modifiers waiting for it.
void Zerleger::hinzufuegen(const TastenAktion& a)
{
    if (a.wiederholungen > 0)
        m_aktionen.append(a);
    loesen(kFuerNaechsteTaste);
}

// "{NAME}", "{NAME n}", "{x}", "{x n}"; m_pos is on the opening brace and is
// left on the closing one.
bool Zerleger::klammerAuswerten()
{
    const qsizetype laenge = m_text.size();
    const qsizetype anfang = m_pos;
    qsizetype j = anfang + 1;
    // "{}}" and "{} n}" name the closing brace itself: the first "}" belongs
    // to the name when another "}" follows later.
    if (j + 1 < laenge && m_text.at(j) == u'}' && m_text.indexOf(u'}', j + 1) >= 0)
        ++j;
    while (j < laenge && m_text.at(j) != u'}' && !m_text.at(j).isSpace())
        ++j;
    if (j >= laenge)
        return fehlschlag(
            u"Die geschweifte Klammer an Stelle %1 wird nicht geschlossen."_s.arg(anfang + 1));
    const QStringView name = QStringView(m_text).mid(anfang + 1, j - anfang - 1);

    qint64 wiederholungen = 1;
    if (m_text.at(j).isSpace()) {
        while (j < laenge && m_text.at(j).isSpace())
            ++j;
        if (j < laenge && m_text.at(j) >= u'0' && m_text.at(j) <= u'9') {
            wiederholungen = 0;
            while (j < laenge && m_text.at(j) >= u'0' && m_text.at(j) <= u'9') {
                wiederholungen = wiederholungen * 10 + (m_text.at(j).unicode() - u'0');
                if (wiederholungen > kMaxTastenanschlaege)
                    return fehlschlag(
                        u"Die Wiederholungszahl an Stelle %1 ist zu groß."_s.arg(j + 1));
                ++j;
            }
        }
        if (j >= laenge)
            return fehlschlag(
                u"Die geschweifte Klammer an Stelle %1 wird nicht geschlossen."_s.arg(anfang + 1));
        if (m_text.at(j) != u'}')
            return fehlschlag(
                u"Ungültige Wiederholungszahl in „%1“."_s.arg(m_text.mid(anfang, j - anfang + 1)));
    }
    m_pos = j;

    if (const auto taste = tasteZuName(name)) {
        if (!anschlagZaehlen(wiederholungen))
            return false;
        hinzufuegen({.art = TastenAktion::Art::Taste,
                     .taste = *taste,
                     .wiederholungen = static_cast<int>(wiederholungen)});
        return true;
    }
    // A single character, counted in code points, so "{😀}" is one character.
    const QList<uint> punkte = name.toUcs4();
    if (punkte.size() == 1 && !(name.size() == 1 && name.at(0).isSurrogate())) {
        if (!anschlagZaehlen(wiederholungen))
            return false;
        hinzufuegen({.art = TastenAktion::Art::Zeichen,
                     .zeichen = punkte.first(),
                     .wiederholungen = static_cast<int>(wiederholungen)});
        return true;
    }
    return fehlschlag(u"Unbekannter Tastenname „{%1}“."_s.arg(name));
}

bool Zerleger::zerlegen(QList<TastenAktion>& aktionen, QString& fehler)
{
    const qsizetype laenge = m_text.size();
    bool ok = true;
    for (m_pos = 0; ok && m_pos < laenge; ++m_pos) {
        const QChar c = m_text.at(m_pos);
        switch (c.unicode()) {
        case u'}':
            ok = fehlschlag(u"Geschweifte Klammer „}“ an Stelle %1 ohne „{“."_s.arg(m_pos + 1));
            break;
        case u'{':
            ok = klammerAuswerten();
            break;
        case u'+':
            ok = modifikatorHalten(Modifikator::Umschalt);
            break;
        case u'^':
            ok = modifikatorHalten(Modifikator::Strg);
            break;
        case u'%':
            ok = modifikatorHalten(Modifikator::Alt);
            break;
        case u'(':
            if (++m_gruppe > kMaxGruppentiefe) {
                ok = fehlschlag(u"Klammern an Stelle %1 sind tiefer als %2 Ebenen verschachtelt."_s
                                    .arg(m_pos + 1)
                                    .arg(kMaxGruppentiefe));
                break;
            }
            // Modifiers just before the group hold for the whole group.
            for (Modifikator m : {Modifikator::Umschalt, Modifikator::Strg, Modifikator::Alt}) {
                if (stand(m) == kFuerNaechsteTaste)
                    stand(m) = m_gruppe;
            }
            break;
        case u')':
            if (m_gruppe < 1) {
                ok = fehlschlag(u"Klammer „)“ an Stelle %1 ohne „(“."_s.arg(m_pos + 1));
                break;
            }
            loesen(m_gruppe);
            --m_gruppe;
            break;
        case u'~':
            ok = anschlagZaehlen(1);
            if (ok)
                hinzufuegen({.art = TastenAktion::Art::Taste, .taste = Sondertaste::Enter});
            break;
        default: {
            char32_t zeichen = c.unicode();
            if (c.isHighSurrogate() && m_pos + 1 < laenge &&
                m_text.at(m_pos + 1).isLowSurrogate()) {
                zeichen = QChar::surrogateToUcs4(c, m_text.at(m_pos + 1));
                ++m_pos;
            } else if (c.isSurrogate()) {
                ok = fehlschlag(u"Ungültiges Zeichen an Stelle %1."_s.arg(m_pos + 1));
                break;
            }
            ok = anschlagZaehlen(1);
            if (ok)
                hinzufuegen({.art = TastenAktion::Art::Zeichen, .zeichen = zeichen});
            break;
        }
        }
    }
    if (ok && m_gruppe != 0)
        ok = fehlschlag(u"Eine Klammer „(“ wird nicht geschlossen."_s);
    if (!ok) {
        fehler = m_fehler;
        return false;
    }
    loesen(kFuerNaechsteTaste);
    aktionen = std::move(m_aktionen);
    return true;
}

QString modifikatorName(Modifikator m)
{
    switch (m) {
    case Modifikator::Umschalt:
        return u"Shift"_s;
    case Modifikator::Strg:
        return u"Ctrl"_s;
    case Modifikator::Alt:
        break;
    }
    return u"Alt"_s;
}

} // namespace

bool SendKeysZerlegen(const QString& text, QList<TastenAktion>& aktionen, QString* fehler)
{
    QString meldung;
    QList<TastenAktion> ergebnis;
    if (!Zerleger(text).zerlegen(ergebnis, meldung)) {
        if (fehler)
            *fehler = meldung;
        return false;
    }
    aktionen = std::move(ergebnis);
    return true;
}

QString sondertastenName(Sondertaste taste)
{
    for (const Tastenname& t : kTastennamen) {
        if (t.taste == taste)
            return QString::fromUtf16(t.name);
    }
    return QString();
}

QString SendKeysBeschreibung(const QList<TastenAktion>& aktionen)
{
    QStringList teile;
    for (const TastenAktion& a : aktionen) {
        QString teil;
        switch (a.art) {
        case TastenAktion::Art::Druecken:
            teil = modifikatorName(a.modifikator) + u"↓"_s;
            break;
        case TastenAktion::Art::Loesen:
            teil = modifikatorName(a.modifikator) + u"↑"_s;
            break;
        case TastenAktion::Art::Zeichen:
            teil = u"'"_s + QString::fromUcs4(&a.zeichen, 1) + u"'"_s;
            break;
        case TastenAktion::Art::Taste:
            teil = sondertastenName(a.taste);
            break;
        }
        if (a.wiederholungen != 1 &&
            (a.art == TastenAktion::Art::Zeichen || a.art == TastenAktion::Art::Taste))
            teil += u"×"_s + QString::number(a.wiederholungen);
        teile << teil;
    }
    return teile.join(u' ');
}
