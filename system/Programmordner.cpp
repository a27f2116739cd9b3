#include "system/Programmordner.h"

#include <QCoreApplication>

#include "system/Grundbefehle.h"

namespace {
QString& gesetzterPfad()
{
    static QString pfad;
    return pfad;
}
} // namespace

QString AppPfad()
{
    const QString& gesetzt = gesetzterPfad();
    if (!gesetzt.isEmpty())
        return gesetzt;
    return PfadMitBackslash(QCoreApplication::applicationDirPath());
}

void AppPfadSetzen(const QString& ordner)
{
    gesetzterPfad() = ordner.isEmpty() ? QString() : PfadMitBackslash(ordner);
}
