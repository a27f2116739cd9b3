#include <QProcess>
#include <QTest>

#include <cstdio>

#include "system/PCStummschaltung.h"

using namespace Qt::StringLiterals;

/// Runs under its own PulseAudio with the null sink "nullsink" as default
/// output; `pactl` is the independent observer of the sink's mute.
class TestPCStummschaltung : public QObject
{
    Q_OBJECT
private slots:
    void stummUndZurueck_data();
    void stummUndZurueck();
    void zweimalStumm();
    void ohneServerStill();
};

namespace {
bool senkeStumm()
{
    QProcess p;
    p.start(u"pactl"_s, {u"get-sink-mute"_s, u"nullsink"_s});
    p.waitForFinished(10000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).contains(u"yes"_s);
}

void senkeSetzen(bool stumm)
{
    QProcess::execute(u"pactl"_s, {u"set-sink-mute"_s, u"nullsink"_s, stumm ? u"1"_s : u"0"_s});
}
} // namespace

void TestPCStummschaltung::stummUndZurueck_data()
{
    QTest::addColumn<bool>("vorher");
    QTest::newRow("vorher laut") << false;
    QTest::newRow("vorher stumm") << true;
}

void TestPCStummschaltung::stummUndZurueck()
{
    QFETCH(bool, vorher);
    senkeSetzen(vorher);
    QCOMPARE(senkeStumm(), vorher);
    QCOMPARE(GetMute(kLautsprecher), vorher);

    PCStummschalten();
    QVERIFY(senkeStumm());
    QVERIFY(GetMute(kLautsprecher));

    PCStummschaltungZuruecksetzen();
    QCOMPARE(senkeStumm(), vorher);
}

void TestPCStummschaltung::zweimalStumm()
{
    // The second call remembers the muted state the first one left behind,
    // so the restore keeps the speakers muted.
    senkeSetzen(false);
    PCStummschalten();
    PCStummschalten();
    PCStummschaltungZuruecksetzen();
    QVERIFY(senkeStumm());
    senkeSetzen(false);
}

void TestPCStummschaltung::ohneServerStill()
{
    // Another process, so that ALSA reads its configuration afresh and finds
    // no sound server: the operations change nothing and print nothing.
    senkeSetzen(true);
    QProcess kind;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"PULSE_SERVER"_s, u"unix:/nonexistent/sendaro"_s);
    kind.setProcessEnvironment(env);
    kind.start(QCoreApplication::applicationFilePath(), {u"--ohne-server"_s});
    QVERIFY(kind.waitForFinished(30000));
    QCOMPARE(kind.exitCode(), 0);
    QCOMPARE(kind.readAllStandardError(), QByteArray());
    QCOMPARE(kind.readAllStandardOutput(), "stumm=0\n"_ba);
    QVERIFY(senkeStumm());
    senkeSetzen(false);
}

int main(int argc, char** argv)
{
    if (argc == 2 && qstrcmp(argv[1], "--ohne-server") == 0) {
        PCStummschaltungZuruecksetzen();
        PCStummschalten();
        SetMute(kLautsprecher, false);
        PCStummschaltungZuruecksetzen();
        std::printf("stumm=%d\n", GetMute(kLautsprecher) ? 1 : 0);
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestPCStummschaltung test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pcstummschaltung.moc"
