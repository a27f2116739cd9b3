#pragma once

#include <algorithm>

#include <QMap>
#include <QSet>
#include <QStringList>

#include "script/DesktopGrundlage.h"

/// Records every call in `protokoll` and runs on a virtual clock, so a
/// 15-second window search takes no real time. For the engine's logic only.
class AufzeichnenderDesktop : public DesktopGrundlage
{
public:
    QStringList protokoll;
    QSet<QString> startbar;              // command lines that start
    QStringList fenster;                 // existing window titles
    QMap<qint64, QString> spaeteFenster; // titles appearing after n virtual ms
    QSet<QString> ungueltigeTasten;      // key texts refused as invalid

    void uhrStellen(const QDateTime& zeit) { m_uhr = zeit.addMSecs(-m_vergangen); }
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
    bool fensterAktivieren(const QString& titel, const QString& anwendungsdatei) override
    {
        while (!spaeteFenster.isEmpty() && spaeteFenster.firstKey() <= m_vergangen)
            fenster << spaeteFenster.take(spaeteFenster.firstKey());
        const bool gefunden = std::any_of(fenster.cbegin(), fenster.cend(), [&](const QString& f) {
            return f.startsWith(titel, Qt::CaseInsensitive);
        });
        if (gefunden)
            protokoll << QStringLiteral("aktivieren(%1, %2)").arg(titel, anwendungsdatei);
        return gefunden;
    }
    void aufFensteraenderungWarten(int maxMs) override { m_vergangen += std::max(maxMs, 1); }
    bool tastenSenden(const QString& tasten) override
    {
        if (ungueltigeTasten.contains(tasten))
            return false;
        protokoll << QStringLiteral("tasten(%1)").arg(tasten);
        return true;
    }
    void beep() override { protokoll << QStringLiteral("beep"); }
    QDateTime jetzt() override { return m_uhr.addMSecs(m_vergangen); }
    void warten(int ms) override
    {
        protokoll << QStringLiteral("warten(%1)").arg(ms);
        m_vergangen += std::max(ms, 1);
    }
    void ereignisseVerarbeiten() override {}

private:
    QDateTime m_uhr{QDate(2026, 12, 5), QTime(20, 15, 0)};
    qint64 m_vergangen = 0;
};
