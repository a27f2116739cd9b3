// The start-up reading: suite settings, the current definition, the list of
// all definition files and the detection of the installed applications.
#include "wizard/Assistent.h"

#include "script/Definitionsdatei.h"
#include "script/JokerErsetzen.h"
#include "system/Einstellungsarray.h"
#include "system/Grundbefehle.h"
#include "system/Programmordner.h"
#include "wizard/Umgebung.h"

using namespace Qt::StringLiterals;

void Assistent::startlesung()
{
    f.KanalWechselnAktiv = true;

    const Einstellungsarray einstellungen = GetEinstellungsarray();
    z.Definitionsdatei = einstellungen.element(kElementDefinition).alsText();
    z.Programmordner = einstellungen.element(kElementProgrammordner).alsText();
    z.Stummschaltung = einstellungen.element(kElementStummschaltung).alsWahrheitswert();
    f.KanalWechselnAktiv = einstellungen.element(kElementKanalWechseln).alsWahrheitswert();

    // A current definition that no longer exists counts as none.
    if (!DateiExistiert(AppPfad() + z.Definitionsdatei))
        z.Definitionsdatei.clear();
    if (!z.Definitionsdatei.isEmpty())
        z.Beschreibung = SchluesselwertLesen(AppPfad() + z.Definitionsdatei, u"Beschreibung"_s);

    const Skriptdateiliste alle = SkriptdateienAuflisten(AppPfad());
    z.AlleDateien = alle.dateinamen;
    z.AlleBeschreibungen = alle.beschreibungen;
    z.AlleVerzeichnisse = alle.standardverzeichnisse;

    // An application counts as installed when its default folder holds at
    // least one file; the program file itself is not looked for.
    for (qsizetype i = 0; i < z.AlleDateien.size(); ++i) {
        const QString ordner = OrdnerJokerErsetzen(m_umgebung.desktop(), z.AlleVerzeichnisse[i]);
        if (!DateiExistiert(PfadMitBackslash(ordner) + u"*.*"_s))
            continue;
        z.ErkannteDateien << z.AlleDateien[i];
        z.ErkannteBeschreibungen << z.AlleBeschreibungen[i];
        z.ErkannteVerzeichnisse << z.AlleVerzeichnisse[i];
    }
}
