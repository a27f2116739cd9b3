#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <vector>

#include "system/Prozessliste.h"

using namespace Qt::StringLiterals;

/// Against real processes: copies of `sleep` under a name no other process
/// on the machine has, started from folders of the test's own.
class TestProzessliste : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { m_prozesse.clear(); } // ~QProcess kills its process and waits for it

    void zweiKopienEinEintrag()
    {
        // "|" in the folders: the process id is what follows the last one.
        QProcess* a = starten(u"a|1"_s);
        QProcess* b = starten(u"b|2"_s);
        QVERIFY(a && b);
        if (b->processId() < a->processId()) // the lower process id is enumerated first
            std::swap(a, b);
        const auto wert = [](QProcess* p) {
            return p->program() + u'|' + QString::number(p->processId());
        };
        const QString schluessel = m_name.toLower();
        const Prozessliste liste = GetProzessliste();
        int treffer = 0;
        for (qsizetype i = 0; i < liste.size(); ++i)
            treffer += liste.schluessel(i) == schluessel ? 1 : 0;
        QCOMPARE(treffer, 1);
        QCOMPARE(liste.wert(schluessel), wert(a));
        QVERIFY(ProzessLaeuft(m_name) && ProzessLaeuft(schluessel));
        // Only the bare name matches; what does not run ends nothing.
        for (const QString& frage : {a->program(), m_name + u' ', m_name.left(8)})
            QVERIFY(!ProzessLaeuft(frage) && !ProzessBeenden(frage));

        QVERIFY(ProzessBeenden(m_name.toUpper()));
        QVERIFY(a->waitForFinished(5000));
        QCOMPARE(a->exitStatus(), QProcess::CrashExit);
        QVERIFY(!b->waitForFinished(200));

        // A program removed while it runs still counts, under its own path.
        QVERIFY(QFile::remove(b->program()));
        QCOMPARE(GetProzessliste().wert(schluessel), wert(b));
        QVERIFY(ProzessBeenden(m_name));
        QVERIFY(b->waitForFinished(5000));
    }

    void skriptUnterEigenemNamen_data()
    {
        QTest::addColumn<bool>("relativ");
        QTest::newRow("absoluter pfad") << false;
        QTest::newRow("relativ zum arbeitsordner") << true;
    }
    void skriptUnterEigenemNamen()
    {
        // Two Python programs; the other one started first has the lower id.
        QFETCH(bool, relativ);
        const QString name = u"SendaroTV%1.py"_s.arg(QCoreApplication::applicationPid());
        const QString pfad = m_tmp.filePath(name);
        QProcess* anderes = skriptStarten(m_tmp.filePath(u"anderes.py"_s), false);
        QProcess* tv = skriptStarten(pfad, relativ);
        QVERIFY(anderes && tv);
        QVERIFY(anderes->processId() < tv->processId());
        const QString wert = pfad + u'|' + QString::number(tv->processId());
        QTRY_COMPARE(GetProzessliste().wert(name.toLower()), wert);
        QVERIFY(ProzessLaeuft(name.toUpper()));
        QVERIFY(ProzessBeenden(name));
        QVERIFY(tv->waitForFinished(5000));
        QVERIFY(!anderes->waitForFinished(200));
        QVERIFY(!ProzessLaeuft(name));
    }

    void nurRautezeileIstKeinSkript()
    {
        // A file that merely begins with "#" is read by the shell, not run
        // through a "#!" line: the shell stays listed under its own program.
        const QString name = u"SendaroKommentar%1.sh"_s.arg(QCoreApplication::applicationPid());
        const QString pfad = m_tmp.filePath(name);
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("# nur ein Kommentar\nsleep 60\n") > 0);
        f.close();
        auto& p = m_prozesse.emplace_back(std::make_unique<QProcess>());
        p->start(u"/bin/sh"_s, {pfad});
        QVERIFY(p->waitForStarted(5000));
        const QString id = u"|"_s + QString::number(p->processId());
        const auto eintrag = [&id] {
            const Prozessliste liste = GetProzessliste();
            for (qsizetype i = 0; i < liste.size(); ++i)
                if (liste.wert(i).endsWith(id))
                    return liste.wert(i);
            return QString();
        };
        QTRY_VERIFY(!eintrag().isEmpty());
        QVERIFY2(!eintrag().startsWith(pfad), qPrintable(eintrag()));
        QVERIFY(!ProzessLaeuft(name));
    }

private:
    // A Python script that sleeps, run through its "#!" line; relative: by
    // "./name" from its own folder.
    QProcess* skriptStarten(const QString& pfad, bool relativ)
    {
        QFile f(pfad);
        if (!f.exists()) {
            if (!f.open(QIODevice::WriteOnly) ||
                f.write("#!/usr/bin/python3\nimport time\ntime.sleep(60)\n") <= 0)
                return nullptr;
            f.close();
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        }
        auto& p = m_prozesse.emplace_back(std::make_unique<QProcess>());
        const QFileInfo info(pfad);
        if (relativ) {
            p->setWorkingDirectory(info.path());
            p->start(u"/bin/sh"_s, {u"-c"_s, u"exec ./\"$0\""_s, info.fileName()});
        } else {
            p->start(pfad, {});
        }
        if (!p->waitForStarted(5000))
            return nullptr;
        // Until the interpreter runs (the shell's exec is done).
        const QString befehl = u"/proc/%1/cmdline"_s.arg(p->processId());
        const bool laeuft = QTest::qWaitFor(
            [&] {
                QFile c(befehl);
                return c.open(QIODevice::ReadOnly) && c.readAll().contains("python");
            },
            5000);
        return laeuft ? p.get() : nullptr;
    }

private:
    QProcess* starten(const QString& ordner)
    {
        const QString pfad = m_tmp.filePath(ordner) + u'/' + m_name;
        if (!QDir().mkpath(m_tmp.filePath(ordner)) || !QFile::copy(u"/bin/sleep"_s, pfad))
            return nullptr;
        auto& p = m_prozesse.emplace_back(std::make_unique<QProcess>());
        // Only SIGKILL can end these copies.
        p->setChildProcessModifier([] {
            for (const int s : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
                std::signal(s, SIG_IGN);
        });
        p->start(pfad, {u"60"_s});
        return p->waitForStarted(5000) ? p.get() : nullptr;
    }

    QTemporaryDir m_tmp;
    std::vector<std::unique_ptr<QProcess>> m_prozesse;
    // Mixed case on purpose: keys must come out lower-case.
    const QString m_name = u"SendaroTV%1.Exe"_s.arg(QCoreApplication::applicationPid());
};

QTEST_GUILESS_MAIN(TestProzessliste)
#include "tst_prozessliste.moc"
