#pragma once

#include <QString>

/// The program's folder (`AppPfad`) with a trailing separator. Definition
/// files, sendwacht.cfg and the help file are looked for here and nowhere
/// else. By default the folder of the running executable.
QString AppPfad();

/// Makes another folder the program's folder; for hosts and tests that keep
/// their files elsewhere. An empty text returns to the executable's folder.
void AppPfadSetzen(const QString& ordner);
