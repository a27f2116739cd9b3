#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
    void cleanup()
    {
        for (auto& p : m_prozesse) {
            p->kill();
            p->waitForFinished(5000);
        }
        m_prozesse.clear();
    }

    void zweiKopienEinEintrag()
    {
        // "|" in the folders: the process id is what follows the last one.
        QProcess* a = starten(u"a|1"_s);
        QProcess* b = starten(u"b|2"_s);
        QVERIFY(a && b);
        // The first one enumerated is the one with the lower process id.
        QProcess* erster = a->processId() < b->processId() ? a : b;
        QProcess* zweiter = erster == a ? b : a;
        const auto wert = [](QProcess* p) {
            return p->program() + u'|' + QString::number(p->processId());
        };
        const QString schluessel = m_name.toLower();

        const Prozessliste liste = GetProzessliste();
        int treffer = 0;
        for (qsizetype i = 0; i < liste.size(); ++i)
            treffer += liste.schluessel(i) == schluessel ? 1 : 0;
        QCOMPARE(treffer, 1);
        QCOMPARE(liste.wert(schluessel), wert(erster));

        QVERIFY(ProzessBeenden(m_name.toUpper()));
        QVERIFY(erster->waitForFinished(5000));
        QCOMPARE(erster->exitStatus(), QProcess::CrashExit);
        QCOMPARE(zweiter->state(), QProcess::Running);

        // A program removed while it runs still counts, under its own path.
        QVERIFY(QFile::remove(zweiter->program()));
        QCOMPARE(GetProzessliste().wert(schluessel), wert(zweiter));
        QVERIFY(ProzessBeenden(m_name));
        QVERIFY(zweiter->waitForFinished(5000));
    }

    void namen_data()
    {
        QTest::addColumn<QString>("frage");
        QTest::addColumn<bool>("laeuft");
        QTest::newRow("wie gestartet") << m_name << true;
        QTest::newRow("klein") << m_name.toLower() << true;
        QTest::newRow("gross") << m_name.toUpper() << true;
        QTest::newRow("mit ordner") << m_tmp.filePath(u"n/"_s) + m_name << false;
        QTest::newRow("mit windows-ordner") << uR"(C:\Programme\TV\)"_s + m_name << false;
        QTest::newRow("blank dahinter") << m_name + u' ' << false;
        QTest::newRow("nur anfang") << m_name.left(8) << false;
    }

    void namen()
    {
        QFETCH(QString, frage);
        QFETCH(bool, laeuft);
        QProcess* p = starten(u"n"_s);
        QVERIFY(p);
        QCOMPARE(ProzessLaeuft(frage), laeuft);
        if (!laeuft) { // a name that does not run ends nothing
            QVERIFY(!ProzessBeenden(frage));
            QVERIFY(!p->waitForFinished(200));
        }
    }

private:
    /// Starts a copy of sleep named m_name from `ordner` below the test's folder.
    QProcess* starten(const QString& ordner)
    {
        const QString pfad = m_tmp.filePath(ordner) + u'/' + m_name;
        QDir().mkpath(m_tmp.filePath(ordner));
        if (!QFile::exists(pfad) && !QFile::copy(u"/bin/sleep"_s, pfad))
            return nullptr;
        m_prozesse.push_back(std::make_unique<QProcess>());
        m_prozesse.back()->start(pfad, {u"60"_s});
        return m_prozesse.back()->waitForStarted(5000) ? m_prozesse.back().get() : nullptr;
    }

    QTemporaryDir m_tmp;
    std::vector<std::unique_ptr<QProcess>> m_prozesse;
    // Mixed case on purpose: keys must come out lower-case.
    const QString m_name = u"SendaroTV%1.Exe"_s.arg(QCoreApplication::applicationPid());
};

QTEST_GUILESS_MAIN(TestProzessliste)
#include "tst_prozessliste.moc"
