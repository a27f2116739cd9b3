#include "tools/aufzeichnen/Aufzeichnungslauf.h"

#include <QFileInfo>

#include "script/Aufzeichnungskript.h"
#include "script/Definitionsdatei.h"
#include "script/Desktop.h"
#include "script/Skriptfelder.h"
#include "system/Einstellungsarray.h"
#include "system/Fehler.h"
#include "system/Grundbefehle.h"
#include "system/PCStummschaltung.h"
#include "system/Programmordner.h"
#include "system/Prozessliste.h"
#include "tools/aufzeichnen/Befehlszeile.h"

using namespace Qt::StringLiterals;

namespace {
// Settings elements: folder of the TV application, mute, channel switching.
constexpr qint32 kElementTVSoftwarePfad = 11;
constexpr qint32 kElementStummschaltung = 15;
constexpr qint32 kElementKanalWechseln = 17;

// Pause before each phase, as in the wizard's test, so that the TV
// application settles between the phases.
constexpr int kVorPhaseMs = 200;

class Lauf
{
public:
    Lauf(const Laufoptionen& o, Desktop& d, QTextStream& aus)
        : m_o(o)
        , m_d(d)
        , m_aus(aus)
    {}

    void vorbereiten()
    {
        const Einstellungsarray einstellungen = GetEinstellungsarray();
        m_f.TVSoftwarePfad = einstellungen.element(kElementTVSoftwarePfad).alsText();
        m_f.PCStummschaltenAktiv = einstellungen.element(kElementStummschaltung).alsWahrheitswert();
        m_f.KanalWechselnAktiv = einstellungen.element(kElementKanalWechseln).alsWahrheitswert();

        definitionLaden();

        m_f.Kanal = m_o.kanal;
        m_f.TVAufzeichnungenPfad = m_o.aufnahmeordner;
        m_f.Titel = m_o.titel;
        m_f.StatusAnzeigen = m_o.status;
    }

    void phasen()
    {
        if (m_f.PCStummschaltenAktiv) {
            phase(u"PC stumm schalten"_s);
            PCStummschalten();
            m_stumm = true;
        }
        if (!TVAnwendungLaeuft(m_f)) {
            phase(u"TV-Anwendung wird gestartet"_s);
            AnwendungStarten(m_f, m_d);
        }
        if (laeuft()) {
            phase(u"Kanal \"%1\" wird aktiviert"_s.arg(m_f.Kanal));
            KanalWechseln(m_f, m_d);
        }
        if (laeuft()) {
            phase(u"Aufzeichnung wird gestartet"_s);
            AufzeichnungStarten(m_f, m_d);
        }
        if (laeuft()) {
            phase(u"%1 Sekunden aufzeichnen"_s.arg(m_o.dauerSekunden));
            m_d.warten(m_o.dauerSekunden * 1000);
        }
        if (laeuft()) {
            phase(u"Aufzeichnung beenden"_s);
            AufzeichnungBeenden(m_f, m_d);
        }
        if (laeuft()) {
            phase(u"TV-Anwendung schließen"_s);
            AnwendungBeenden(m_f, m_d);
        }
        stummAufheben();
    }

    /// Unmutes when this run muted (also on the error path), never else:
    /// speakers the user muted stay muted.
    void stummAufheben(bool mitPause = true)
    {
        if (!m_stumm)
            return;
        m_stumm = false;
        if (mitPause)
            phase(u"PC nicht mehr stumm schalten"_s);
        else
            ausgeben(u"PC nicht mehr stumm schalten"_s);
        PCStummschaltungZuruecksetzen();
    }

private:
    /// The loader takes a missing, hidden or unusable file for an empty one
    /// and an empty list for one with nothing to do; a timer that names such
    /// a file must hear about it rather than report a recording that never
    /// ran.
    void definitionLaden()
    {
        const QString quelle = u"aufzeichnen"_s;
        const QString name = DateinameAusPfad(m_o.datei);
        const QString pfad = AppPfad() + name;
        const QFileInfo info(pfad);
        if (!info.exists())
            throw Fehler(53, quelle,
                         u"Die Definitionsdatei \"%1\" wurde im Programmordner \"%2\" nicht "
                         u"gefunden."_s.arg(name, AppPfad()));
        if (!info.isFile())
            throw Fehler(75, quelle,
                         u"\"%1\" im Programmordner \"%2\" ist keine gewöhnliche Datei und kann "
                         u"nicht als Definitionsdatei geladen werden."_s.arg(name, AppPfad()));
        if (name.startsWith(u'.'))
            throw Fehler(
                75, quelle,
                u"Die Definitionsdatei \"%1\" ist versteckt (ihr Name beginnt mit einem "
                u"Punkt); versteckte Definitionsdateien werden nicht geladen."_s.arg(name));
        ausgeben(u"AZS-Datei wird eingeladen"_s);
        m_f.SkriptDateiname = m_o.datei;
        SkriptEinladen(m_f);
        // Also the safety net for any other way the loader may find nothing.
        if (m_f.BefehleAnwendungStarten.isEmpty() && m_f.BefehleKanalWechseln.isEmpty() &&
            m_f.BefehleAufnahmeStarten.isEmpty() && m_f.BefehleAufnahmeBeenden.isEmpty() &&
            m_f.BefehleAnwendungBeenden.isEmpty())
            throw Fehler(1, quelle,
                         u"Die Definitionsdatei \"%1\" enthält keinen einzigen Befehl; es gibt "
                         u"nichts aufzuzeichnen."_s.arg(name));
    }

    void ausgeben(const QString& text) { m_aus << text << Qt::endl; }

    void phase(const QString& text)
    {
        ausgeben(text);
        m_d.warten(kVorPhaseMs);
    }

    bool laeuft()
    {
        if (TVAnwendungLaeuft(m_f))
            return true;
        if (!m_hinweisGegeben) {
            m_hinweisGegeben = true;
            ausgeben(u"Die TV-Anwendung (Prozess \"%1\") läuft nicht; die weiteren Schritte "
                     u"entfallen."_s.arg(m_f.TVAnwendungdatei));
        }
        return false;
    }

    const Laufoptionen& m_o;
    Desktop& m_d;
    QTextStream& m_aus;
    Skriptfelder m_f;
    bool m_stumm = false;
    bool m_hinweisGegeben = false;
};

Lauf* g_laufend = nullptr;
} // namespace

void AufzeichnungDurchfuehren(const Laufoptionen& optionen, Desktop& desktop, QTextStream& aus)
{
    Lauf lauf(optionen, desktop, aus);
    lauf.vorbereiten();
    g_laufend = &lauf;
    try {
        lauf.phasen();
    } catch (...) {
        g_laufend = nullptr;
        lauf.stummAufheben();
        throw;
    }
    g_laufend = nullptr;
}

void AufzeichnungAbbrechen()
{
    if (g_laufend != nullptr)
        g_laufend->stummAufheben(false);
}

void ProzesseAusgeben(QTextStream& aus)
{
    const Prozessliste liste = GetProzessliste();
    for (qsizetype i = 0; i < liste.size(); ++i)
        aus << liste.schluessel(i) << u'\t' << liste.wert(i) << u'\n';
    aus.flush();
}
