// Time to build the process list compared with `ps -e` in the same run.
// Prints figures; asserts nothing.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>

#include "system/Prozessliste.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int kDurchlaeufe = 50;

double msJeDurchlauf(qint64 ns)
{
    return static_cast<double>(ns) / 1e6 / kDurchlaeufe;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream aus(stdout);

    qsizetype eintraege = 0;
    QElapsedTimer uhr;
    uhr.start();
    for (int i = 0; i < kDurchlaeufe; ++i)
        eintraege = GetProzessliste().size();
    const qint64 listeNs = uhr.nsecsElapsed();

    // ps -e as a user would run it: process start included.
    QByteArray psAusgabe;
    uhr.restart();
    for (int i = 0; i < kDurchlaeufe; ++i) {
        QProcess ps;
        ps.start(u"ps"_s, {u"-e"_s});
        ps.waitForFinished(-1);
        psAusgabe = ps.readAllStandardOutput();
    }
    const qint64 psNs = uhr.nsecsElapsed();
    const qsizetype psZeilen = psAusgabe.count('\n') - 1;

    aus << "Prozessliste: " << kDurchlaeufe << " Durchläufe\n";
    aus << u"  GetProzessliste: %1 ms je Aufruf (%2 Einträge)\n"_s
               .arg(msJeDurchlauf(listeNs), 0, 'f', 3)
               .arg(eintraege);
    aus << u"  ps -e:           %1 ms je Aufruf (%2 Prozesse)\n"_s
               .arg(msJeDurchlauf(psNs), 0, 'f', 3)
               .arg(psZeilen);
    aus << u"  Verhältnis GetProzessliste / ps -e: %1\n"_s.arg(
        static_cast<double>(listeNs) / static_cast<double>(psNs), 0, 'f', 3);
    return 0;
}
