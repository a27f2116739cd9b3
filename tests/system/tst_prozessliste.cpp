#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <vector>

#include "system/Prozessliste.h"

using namespace Qt::StringLiterals;

/// Tests against real processes: copies of `sleep` under a name no other
/// process on the machine has, started from folders of the test's own.
class TestProzessliste : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void zweiKopienEinEintrag();
    void grossKlein_data();
    void grossKlein();
    void beendenUnbekannt();
    void geloeschteDatei();
    void strichImOrdner();

private:
    /// Copies sleep as `name` into `ordner` (created below the temp folder)
    /// and starts it; returns the process.
    QProcess* starten(const QString& ordner, const QString& name);

    std::unique_ptr<QTemporaryDir> m_tmp;
    std::vector<std::unique_ptr<QProcess>> m_prozesse;
    // Mixed case on purpose: keys must come out lower-case.
    const QString m_name = u"SendaroTV%1.Exe"_s.arg(QCoreApplication::applicationPid());
};

void TestProzessliste::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
}

void TestProzessliste::cleanup()
{
    for (auto& p : m_prozesse) {
        if (p->state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(p->processId()), SIGKILL);
            p->waitForFinished(5000);
        }
    }
    m_prozesse.clear();
    m_tmp.reset();
}

QProcess* TestProzessliste::starten(const QString& ordner, const QString& name)
{
    const QString dir = m_tmp->filePath(ordner);
    QDir().mkpath(dir);
    const QString pfad = dir + u'/' + name;
    if (!QFile::exists(pfad) && !QFile::copy(u"/bin/sleep"_s, pfad))
        return nullptr;
    auto p = std::make_unique<QProcess>();
    p->start(pfad, {u"60"_s});
    if (!p->waitForStarted(5000))
        return nullptr;
    m_prozesse.push_back(std::move(p));
    return m_prozesse.back().get();
}

void TestProzessliste::zweiKopienEinEintrag()
{
    QProcess* a = starten(u"a"_s, m_name);
    QProcess* b = starten(u"b"_s, m_name);
    QVERIFY(a && b);
    // The first one enumerated is the one with the lower process id.
    QProcess* erster = a->processId() < b->processId() ? a : b;
    QProcess* zweiter = erster == a ? b : a;
    const auto wert = [](QProcess* p) {
        return p->program() + u'|' + QString::number(p->processId());
    };

    const Prozessliste liste = GetProzessliste();
    const QString schluessel = m_name.toLower();
    int treffer = 0;
    for (qsizetype i = 0; i < liste.size(); ++i)
        treffer += liste.schluessel(i) == schluessel ? 1 : 0;
    QCOMPARE(treffer, 1);
    QCOMPARE(liste.wert(schluessel), wert(erster));

    // Only the first one is ended; the survivor then leads the list.
    QVERIFY(ProzessBeenden(m_name.toUpper()));
    QVERIFY(erster->waitForFinished(5000));
    QCOMPARE(erster->exitStatus(), QProcess::CrashExit);
    QCOMPARE(zweiter->state(), QProcess::Running);
    QCOMPARE(GetProzessliste().wert(schluessel), wert(zweiter));
}

void TestProzessliste::grossKlein_data()
{
    QTest::addColumn<QString>("frage");
    QTest::addColumn<bool>("laeuft");
    QTest::newRow("wie gestartet") << m_name << true;
    QTest::newRow("klein") << m_name.toLower() << true;
    QTest::newRow("gross") << m_name.toUpper() << true;
    QTest::newRow("mit ordner") << u"%1/a/"_s + m_name << false;
    QTest::newRow("mit windows-ordner") << u"C:\\Programme\\TV\\"_s + m_name << false;
    QTest::newRow("blank dahinter") << m_name + u' ' << false;
    QTest::newRow("nur anfang") << m_name.left(8) << false;
    QTest::newRow("leer") << QString() << false;
}

void TestProzessliste::grossKlein()
{
    QFETCH(QString, frage);
    QFETCH(bool, laeuft);
    QProcess* p = starten(u"a"_s, m_name);
    QVERIFY(p);
    frage.replace(u"%1"_s, m_tmp->path());
    QCOMPARE(ProzessLaeuft(frage), laeuft);
}

void TestProzessliste::beendenUnbekannt()
{
    QProcess* p = starten(u"a"_s, m_name);
    QVERIFY(p);
    QVERIFY(!ProzessBeenden(m_name + u"x"_s));
    QVERIFY(!ProzessBeenden(m_tmp->filePath(u"a/"_s) + m_name));
    QVERIFY(!p->waitForFinished(300));
    QCOMPARE(p->state(), QProcess::Running);
}

void TestProzessliste::geloeschteDatei()
{
    // A program replaced or removed while it runs still counts, under its
    // own name.
    QProcess* p = starten(u"a"_s, m_name);
    QVERIFY(p);
    QVERIFY(QFile::remove(p->program()));
    const Prozessliste liste = GetProzessliste();
    QCOMPARE(liste.wert(m_name.toLower()), p->program() + u'|' + QString::number(p->processId()));
    QVERIFY(ProzessLaeuft(m_name));
    QVERIFY(ProzessBeenden(m_name));
    QVERIFY(p->waitForFinished(5000));
}

void TestProzessliste::strichImOrdner()
{
    QProcess* p = starten(u"x|y"_s, m_name);
    QVERIFY(p);
    QVERIFY(ProzessBeenden(m_name));
    QVERIFY(p->waitForFinished(5000));
    QCOMPARE(p->exitStatus(), QProcess::CrashExit);
}

QTEST_GUILESS_MAIN(TestProzessliste)
#include "tst_prozessliste.moc"
