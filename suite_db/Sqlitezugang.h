#pragma once

#include <memory>

#include <QString>

#include "suite_db/Datenbankzugriff.h"

class QSqlError;

/// What the database layer's operations share with its SQLite side.
namespace sqlitezugang {

/// The executable name, the source of every error the layer passes on.
QString programmname();

/// Number and message of a Qt SQL error; SQLite's busy result becomes
/// `sperrnummer`, its locked result 3261.
void fehlerUebernehmen(const QSqlError& fehler, int sperrnummer, int& nummer, QString& text);

QString neueVerbindungsname();

/// A connection of its own to an existing database file, or an empty name
/// with number and message of the failure.
QString verbindungOeffnen(const QString& pfad, int& nummer, QString& text);
void verbindungSchliessen(const QString& name);

} // namespace sqlitezugang

/// One attempt each, without retries or questions: nullptr with number and
/// message when it fails.
std::shared_ptr<Datenbank> datenbankVersuchen(const QString& pfad, int& nummer, QString& text);
std::shared_ptr<Recordset> recordsetVersuchen(const std::shared_ptr<Datenbank>& db,
                                              const QString& sql, qint16 typ, qint16 optionen,
                                              int& nummer, QString& text);
