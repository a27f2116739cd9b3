#pragma once

#include <QString>
#include <QStringList>

/// The engine fields: the state the script engine works on. The definition
/// loader fills the first group, the host (wizard test run, `aufzeichnen`)
/// sets the second before the command lists run.
struct Skriptfelder
{
    // Filled by SkriptEinladen.
    QString SkriptDateiname;
    QString Beschreibung;
    QString TVAnwendungdatei;
    QString TVAnwendungtitel;
    QStringList BefehleAnwendungStarten;
    QStringList BefehleKanalWechseln;
    QStringList BefehleAufnahmeStarten;
    QStringList BefehleAufnahmeBeenden;
    QStringList BefehleAnwendungBeenden;

    // Set by the host.
    bool KanalWechselnAktiv = true;
    bool StatusAnzeigen = false;
    bool PCStummschaltenAktiv = false;
    QString TVSoftwarePfad;
    QString TVAufzeichnungenPfad;
    QString Kanal;
    QString Titel;
};
