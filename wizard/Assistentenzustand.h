#pragma once

#include <optional>

#include <QString>
#include <QStringList>

/// The wizard's answers and lists for one run, with their initial values.
/// A field that holds exactly the value of a definition-file key bears that
/// key's name. The engine's fields (Skriptfelder) are separate; values move
/// between the two only where a step says so.
struct Assistentenzustand
{
    QString Assistententitel = QStringLiteral("TV-Anwendung verknüpfen");
    QString Definitionsdatei;
    QString Beschreibung;
    QString Standardverzeichnis;
    QString Programmordner;
    bool Stummschaltung = true;
    QString StartDatei;
    QString TVAnwendungdatei;
    QString TVAnwendungtitel;
    QString AuswahlInfo;

    /// The five command lists as edited in the wizard; an absent list
    /// (nullopt) counts as empty and is created on first use.
    std::optional<QStringList> ListeAnwendungStarten;
    std::optional<QStringList> ListeKanalWechseln;
    std::optional<QStringList> ListeAufnahmeStarten;
    std::optional<QStringList> ListeAufnahmeBeenden;
    std::optional<QStringList> ListeAnwendungBeenden;

    /// 1 = "ja", 2 = "nein".
    int DefinitionÄndern = 2;
    int AuswahlErkannt = 0;
    int AuswahlBekannt = 0;
    bool IstStandardverzeichnis = false;
    bool JetztStarten = true;
    bool Testen = true;
    int AuswahlProzess = 0;
    QString Fehlerort;

    QStringList AlleDateien;
    QStringList AlleBeschreibungen;
    QStringList AlleVerzeichnisse;
    QStringList ErkannteDateien;
    QStringList ErkannteBeschreibungen;
    QStringList ErkannteVerzeichnisse;

    QString Arbeitstext;
};
