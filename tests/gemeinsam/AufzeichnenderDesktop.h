#pragma once

#include <algorithm>

#include <QMap>
#include <QSet>
#include <QStringList>

#include "script/DesktopGrundlage.h"

/// A desktop for unit tests of the engine's logic: it records every call in
/// `protokoll`, answers from its settings, and runs on a virtual clock, so a
/// 15-second wait takes no real time. Real X11 behaviour is tested against
/// the X11 back-end, not here.
class AufzeichnenderDesktop : public DesktopGrundlage
{
public:
    AufzeichnenderDesktop()
        : m_uhr(QDate(2026, 12, 5), QTime(20, 15, 0))
    {}

    QStringList protokoll;

    /// Programs that start successfully (by command line); others fail.
    QSet<QString> startbar;
    /// Window titles that exist (for fensterZeigen and fensterAktivieren).
    QStringList fenster;
    /// Titles that appear after the given virtual milliseconds have passed.
    QMap<qint64, QString> spaeteFenster;
    /// Key texts that are refused as invalid notation.
    QSet<QString> ungueltigeTasten;

    void uhrStellen(const QDateTime& zeit) { m_uhr = zeit; }
    qint64 vergangeneMs() const { return m_vergangen; }

    bool programmStarten(const QString& zeile, Fensterart art) override
    {
        protokoll << QStringLiteral("starten(%1%2)")
                         .arg(zeile, art == Fensterart::Normal ? QString()
                                                               : QStringLiteral(", minimiert"));
        return startbar.contains(zeile);
    }
    bool fensterZeigen(const QString& titel) override
    {
        protokoll << QStringLiteral("zeigen(%1)").arg(titel);
        return fenster.contains(titel);
    }
    bool fensterAktivieren(const QString& titel) override
    {
        while (!spaeteFenster.isEmpty() && spaeteFenster.firstKey() <= m_vergangen)
            fenster << spaeteFenster.take(spaeteFenster.firstKey());
        const bool gefunden = std::any_of(fenster.cbegin(), fenster.cend(), [&](const QString& f) {
            return f.startsWith(titel, Qt::CaseInsensitive);
        });
        if (gefunden)
            protokoll << QStringLiteral("aktivieren(%1)").arg(titel);
        return gefunden;
    }
    void aufFensteraenderungWarten(int maxMs) override { vorstellen(maxMs); }
    bool tastenSenden(const QString& tasten) override
    {
        if (ungueltigeTasten.contains(tasten))
            return false;
        protokoll << QStringLiteral("tasten(%1)").arg(tasten);
        return true;
    }
    void beep() override { protokoll << QStringLiteral("beep"); }
    QDateTime jetzt() override { return m_uhr; }
    void warten(int ms) override
    {
        protokoll << QStringLiteral("warten(%1)").arg(ms);
        vorstellen(ms);
    }
    void ereignisseVerarbeiten() override {}

private:
    void vorstellen(int ms)
    {
        m_vergangen += std::max(ms, 1);
        m_uhr = m_uhr.addMSecs(std::max(ms, 1));
    }

    QDateTime m_uhr;
    qint64 m_vergangen = 0;
};
