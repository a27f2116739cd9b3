#pragma once

#include "suite_db/Datenbankzugriff.h"

/// The database layer's questions as message boxes with the exclamation
/// icon; the busy pointer as the application's override cursor. Install with
/// `DatenbankmeldungenSetzen` once a QApplication exists.
class Datenbankmeldungsfenster : public Datenbankmeldungen
{
public:
    Antwort frage(const QString& titel, const QString& text, Knoepfe knoepfe,
                  bool vordergrund) override;
    void beschaeftigt(bool an) override;
};
