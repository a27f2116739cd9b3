#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include "system/Grundbefehle.h"
#include "system/Prozessliste.h"
#include "tests/gemeinsam/AufzeichnenderDesktop.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "wizard/Seiten.h"
#include "wizard/Umgebung.h"
#include "wizard_dialog/ComboTextTabelle.h"

using namespace Qt::StringLiterals;

/// Control characters made visible, so that a page text fits on one line
/// of a road and of a failure report.
inline QString sichtbar(QString text)
{
    return text.replace(u"\\"_s, u"\\\\"_s)
        .replace(u"\r"_s, u"\\r"_s)
        .replace(u"\n"_s, u"\\n"_s)
        .replace(u"\t"_s, u"\\t"_s);
}

/// A user who answers every page from a script and writes down what each
/// page and message box showed.
///
/// Every call is recognised by its fixed parts (operation, buttons, caption,
/// text and the fixed arguments) against the templates of
/// tests/data/assistent-seitentexte.txt and logged as "ID{part|part}"; one
/// that matches no template is logged with all its parts, prefixed "?".
/// The variable arguments (defaults, list entries, the grid) are logged
/// apart in `vorgaben`.
class Skriptseiten : public Seiten
{
public:
    QStringList ids;
    QStringList vorgaben;
    /// Answers for the pages that wait and for the boxes, in order:
    /// "w", "z" or "a" and optionally a blank and the value (two double
    /// quotes for an empty one); for a box
    /// "ja", "nein" or "ok". When they run out, pages are cancelled.
    QStringList antworten;
    /// Run just before the answer of the same position is given.
    QMap<qsizetype, std::function<void()>> aktionen;
    bool geschlossen = false;

    Skriptseiten()
    {
        QFile f(QStringLiteral(SENDARO_TESTDATEN "/assistent-seitentexte.txt"));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("assistent-seitentexte.txt fehlt");
        QString id;
        QMap<QString, QString> felder;
        const auto fertig = [&] {
            if (!id.isEmpty())
                m_vorlagen.append(vorlage(id, vorlagenfelder(felder)));
        };
        for (const QString& zeile : QString::fromUtf8(f.readAll()).split(u'\n')) {
            if (zeile.startsWith(u'[')) {
                fertig();
                id = zeile.mid(1, zeile.size() - 2);
                felder.clear();
            } else if (!zeile.startsWith(u'#') && zeile.contains(u" =")) {
                const qsizetype gleich = zeile.indexOf(u" =");
                felder[zeile.left(gleich)] = falltext(zeile.mid(gleich + 2).trimmed());
            }
        }
        fertig();
    }

    void ShowShapeNurAnzeige(int a, int b, int c, int d, const QString& titel, const QString& text,
                             const QString& ueberschrift) override
    {
        seite({u"nuranzeige"_s, knoepfe(a, b, c, d), titel, text, ueberschrift}, {},
              a == 2 && b == 2 && c == 2 && d != 1);
    }
    QString ShowShapeTextzeileEingeben(int a, int b, int c, int d, const QString& titel,
                                       const QString& text, const QString& vorgabe,
                                       bool zwingend) override
    {
        return seite({u"zeile"_s, knoepfe(a, b, c, d), titel, text, janein(zwingend)}, vorgabe);
    }
    QString ShowShapeDateiAuswählen(int a, int b, int c, int d, const QString& titel,
                                    const QString& text, const QString& beschriftung,
                                    const QString& vorgabe, int filter, const QString& eigener,
                                    bool speichern, bool nurOrdner, bool zwingend) override
    {
        return seite({u"datei"_s, knoepfe(a, b, c, d), titel, text, beschriftung,
                      QString::number(filter), eigener, janein(speichern), janein(nurOrdner),
                      janein(zwingend)},
                     vorgabe);
    }
    QString ShowShapeAusListeAuswählen(int a, int b, int c, int d, const QString& titel,
                                       const QString& text, const QString& eintraege,
                                       const QString& vorgabe, bool zwingend,
                                       bool mehrfach) override
    {
        // The default position, then the entries with | between them.
        const QString v = vorgabe + u':' + QString(eintraege).replace(u"\r\n"_s, u"|"_s);
        const QString antwort = seite(
            {u"liste"_s, knoepfe(a, b, c, d), titel, text, janein(zwingend), janein(mehrfach)}, v);
        return antwort == v ? vorgabe : antwort;
    }
    bool ShowShapeHäkchenSetzen(int a, int b, int c, int d, const QString& titel,
                                const QString& text, const QString& kaestchen, bool vorgabe,
                                bool zwingend) override
    {
        return seite({u"haekchen"_s, knoepfe(a, b, c, d), titel, text, kaestchen, janein(zwingend)},
                     janein(vorgabe)) == u"ja"_s;
    }
    int ShowShapeOptionAuswählen(int a, int b, int c, int d, const QString& titel,
                                 const QString& text, const QString& optionen, int vorgabe) override
    {
        return seite({u"option"_s, knoepfe(a, b, c, d), titel, text, optionen},
                     QString::number(vorgabe))
            .toInt();
    }
    /// The grid is written and answered as rows "command,parameter" with |
    /// between them, trailing empty rows left out; "[n]" in front when the
    /// grid has other than 12 rows.
    ComboTextTabelle ShowShapeComboTextEingeben(int a, int b, int c, int d, const QString& titel,
                                                const QString& text, const QString& auswahl,
                                                const ComboTextTabelle& tabelle) override
    {
        QStringList zeilen;
        for (int r = 1; r <= tabelle.zeilen(); ++r)
            zeilen << tabelle.text(r, 1) + u',' + tabelle.text(r, 2);
        while (!zeilen.isEmpty() && zeilen.last() == u","_s)
            zeilen.removeLast();
        QString v = zeilen.join(u'|');
        if (tabelle.zeilen() != 12)
            v.prepend(u'[' + QString::number(tabelle.zeilen()) + u']');
        const QString antwort = seite({u"befehle"_s, knoepfe(a, b, c, d), titel, text, auswahl}, v);
        if (antwort == v)
            return tabelle;
        ComboTextTabelle neu(12);
        const QStringList reihen = antwort.split(u'|');
        for (qsizetype r = 0; r < reihen.size(); ++r) {
            const qsizetype komma = reihen[r].indexOf(u',');
            neu.setzen(int(r) + 1, 1, reihen[r].left(komma));
            neu.setzen(int(r) + 1, 2, komma < 0 ? QString() : reihen[r].mid(komma + 1));
        }
        return neu;
    }

    bool blnBenutzerAbbrechenGedrückt() const override { return m_knopf == u'a'; }
    bool blnBenutzerZurückGedrückt() const override { return m_knopf == u'z'; }

    Antwort meldung(const QString& text, const QString& titel, Symbol symbol,
                    Knoepfe knoepfe) override
    {
        static const char* const symbole[] = {"information", "frage", "warnung", "kritisch"};
        static const char* const knopfarten[] = {"ok", "janein", "janeinneinvorgabe"};
        const QString antwort = seite({u"box"_s, QString::fromLatin1(knopfarten[int(knoepfe)]),
                                       titel, text, QString::fromLatin1(symbole[int(symbol)])},
                                      {});
        if (antwort == u"ja"_s)
            return Antwort::Ja;
        return knoepfe == Knoepfe::OK ? Antwort::OK : Antwort::Nein;
    }

    void schliessen() override { geschlossen = true; }

private:
    struct Vorlage
    {
        QString id;
        QRegularExpression muster;
        QStringList nummern; ///< the number of each group, in group order
    };
    QList<Vorlage> m_vorlagen;
    qsizetype m_naechsteAntwort = 0;
    QChar m_knopf = u'w';

    static QString knoepfe(int a, int b, int c, int d)
    {
        return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
    }
    static QString janein(bool wert) { return wert ? u"ja"_s : u"nein"_s; }

    /// The fields of a template in the order the calls above list them.
    static QStringList vorlagenfelder(const QMap<QString, QString>& f)
    {
        const QString art = f.value(u"art"_s);
        const auto feld = [&](const char* name, const QString& standard = QString()) {
            return f.value(QString::fromLatin1(name), standard);
        };
        const QString nein = u"nein"_s;
        if (art == u"box"_s)
            return {art, feld("knoepfe", u"ok"_s), feld("titel"), feld("text"), feld("symbol")};
        QStringList l{art, feld("knoepfe", u"1,1,1,0"_s),
                      feld("titel", u"TV-Anwendung verknüpfen"_s), feld("text")};
        if (art == u"nuranzeige"_s)
            l << feld("ueberschrift");
        else if (art == u"zeile"_s)
            l << feld("zwingend", nein);
        else if (art == u"datei"_s)
            l << feld("beschriftung") << feld("filter") << feld("eigenerfilter")
              << feld("speichern", nein) << feld("nurordner", nein) << feld("zwingend", nein);
        else if (art == u"liste"_s)
            l << feld("zwingend", nein) << feld("mehrfach", nein);
        else if (art == u"haekchen"_s)
            l << feld("kaestchen") << feld("zwingend", nein);
        else if (art == u"option"_s)
            l << feld("optionen");
        else if (art == u"befehle"_s)
            l << feld("auswahl");
        return l;
    }

    /// {n} becomes a group the first time and a back reference after that.
    static Vorlage vorlage(const QString& id, const QStringList& felder)
    {
        const QString text = felder.join(QChar(0x1F));
        QString m = u"\\A"_s;
        QStringList nummern;
        static const QRegularExpression platz(u"\\{(\\d)\\}"_s);
        qsizetype pos = 0;
        for (auto it = platz.globalMatch(text); it.hasNext();) {
            const auto treffer = it.next();
            m += QRegularExpression::escape(text.mid(pos, treffer.capturedStart() - pos));
            const QString n = treffer.captured(1);
            if (nummern.contains(n)) {
                m += u"\\"_s + QString::number(nummern.indexOf(n) + 1);
            } else {
                m += u"([^\\x1F]*?)"_s;
                nummern << n;
            }
            pos = treffer.capturedEnd();
        }
        m += QRegularExpression::escape(text.mid(pos)) + u"\\z"_s;
        return {id, QRegularExpression(m, QRegularExpression::DotMatchesEverythingOption), nummern};
    }

    QString erkennen(const QStringList& felder) const
    {
        const QString text = felder.join(QChar(0x1F));
        for (const Vorlage& v : m_vorlagen) {
            const auto treffer = v.muster.match(text);
            if (!treffer.hasMatch())
                continue;
            // The parts in the order of their numbers, not of their places.
            QMap<QString, QString> nachNummer;
            for (qsizetype g = 0; g < v.nummern.size(); ++g)
                nachNummer[v.nummern[g]] = sichtbar(treffer.captured(int(g) + 1));
            const QStringList teile = nachNummer.values();
            return teile.isEmpty() ? v.id : v.id + u'{' + teile.join(u'|') + u'}';
        }
        QStringList teile;
        for (const QString& t : felder)
            teile << sichtbar(t);
        return u'?' + teile.join(u'|');
    }

    /// Logs the call and answers it: the value given in the script, else the
    /// default unchanged.
    QString seite(const QStringList& felder, const QString& vorgabe, bool status = false)
    {
        if (ids.size() > 5000)
            qFatal("Der Assistent hört nicht auf: %s", qPrintable(ids.last()));
        ids << erkennen(felder);
        vorgaben << sichtbar(vorgabe);
        m_knopf = u'w';
        if (status)
            return {};
        if (m_naechsteAntwort >= antworten.size()) {
            m_knopf = u'a';
            return {};
        }
        if (const auto aktion = aktionen.value(m_naechsteAntwort))
            aktion();
        const QString antwort = antworten[m_naechsteAntwort++];
        if (felder[0] == u"box"_s)
            return antwort;
        m_knopf = antwort.isEmpty() ? u'w' : antwort[0];
        // "w" alone takes the default; "w \"\"" answers an empty text.
        if (antwort.size() <= 2)
            return vorgabe;
        return antwort.mid(2) == u"\"\""_s ? QString() : antwort.mid(2);
    }
};

/// The desktop of AufzeichnenderDesktop with its special folders in the
/// test's folder, a process list the test sets, and started programs that
/// join it.
class Skriptumgebung : public Umgebung
{
public:
    AufzeichnenderDesktop d;
    QStringList prozesse; ///< "path|pid", in snapshot order
    /// A start file or command line that starts, and the process it adds.
    QMap<QString, QString> startet;
    QStringList minimiertGestartet;
    QStringList stumm; ///< "an" and "aus" in call order
    double zufallswert = 0.5;
    qint64 geschlafen = 0;

    Desktop& desktop() override { return d; }
    bool anwendungMinimiertStarten(const QString& startDatei, int) override
    {
        minimiertGestartet << startDatei;
        if (!startet.contains(startDatei))
            return false;
        m_laufende << startet[startDatei];
        return true;
    }
    Prozessliste prozessliste() override
    {
        Prozessliste liste;
        QStringList alle = prozesse + m_laufende;
        for (const QString& zeile : d.protokoll) {
            const QString befehl = zeile.mid(8, zeile.size() - 9); // "starten(…)"
            if (zeile.startsWith(u"starten("_s) && startet.contains(befehl))
                alle << startet[befehl];
        }
        for (const QString& p : alle)
            liste.hinzufuegen(DateinameAusPfad(p.section(u'|', 0, 0)).toLower(), p);
        return liste;
    }
    void pcStummschalten() override { stumm << u"an"_s; }
    void pcStummschaltungZuruecksetzen() override { stumm << u"aus"_s; }
    double zufall() override { return zufallswert; }
    void schlafen(int ms) override { geschlafen += ms; }
    void ereignisseVerarbeiten() override {}

private:
    QStringList m_laufende;
};
