#include "script/DesktopGrundlage.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

DesktopGrundlage::DesktopGrundlage()
{
    m_sonderOrdner.insert(38, QStringLiteral("/opt"));
    m_sonderOrdner.insert(36, QStringLiteral("/usr"));
    m_sonderOrdner.insert(37, QStringLiteral("/usr/bin"));
}

QString DesktopGrundlage::sonderOrdner(int nummer)
{
    return m_sonderOrdner.value(nummer);
}

void DesktopGrundlage::sonderOrdnerSetzen(int nummer, const QString& ordner)
{
    m_sonderOrdner.insert(nummer, ordner);
}

QDateTime DesktopGrundlage::jetzt()
{
    return QDateTime::currentDateTime();
}

void DesktopGrundlage::warten(int ms)
{
    if (ms <= 0) {
        ereignisseVerarbeiten();
        return;
    }
    QEventLoop schleife;
    QTimer::singleShot(ms, Qt::PreciseTimer, &schleife, &QEventLoop::quit);
    schleife.exec();
}

void DesktopGrundlage::ereignisseVerarbeiten()
{
    QCoreApplication::processEvents();
}
