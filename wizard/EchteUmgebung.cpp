#include "wizard/EchteUmgebung.h"

#include <QApplication>
#include <QRandomGenerator>

#include "system/PCStummschaltung.h"

bool EchteUmgebung::anwendungMinimiertStarten(const QString& startDatei, int maxMs)
{
    // The start file is one path, blanks and all, never a command line.
    QString befehlszeile = startDatei;
    befehlszeile.replace(u'\'', QStringLiteral("'\\''"));
    if (!m_desktop.programmStarten(u'\'' + befehlszeile + u'\'',
                                   Desktop::Fensterart::MinimiertOhneFokus))
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_desktop.aufFensterDesProzessesWarten(m_desktop.letzteProzessId(), maxMs);
    QApplication::restoreOverrideCursor();
    return true;
}

Prozessliste EchteUmgebung::prozessliste()
{
    return GetProzessliste();
}

void EchteUmgebung::pcStummschalten()
{
    PCStummschalten();
}

void EchteUmgebung::pcStummschaltungZuruecksetzen()
{
    PCStummschaltungZuruecksetzen();
}

double EchteUmgebung::zufall()
{
    return QRandomGenerator::global()->generateDouble();
}

void EchteUmgebung::schlafen(int ms)
{
    m_desktop.warten(ms);
}

void EchteUmgebung::ereignisseVerarbeiten()
{
    m_desktop.ereignisseVerarbeiten();
}
