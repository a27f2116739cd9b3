#include <QProcess>
#include <QTest>

#include <cstdio>

#include "system/PCStummschaltung.h"
#include "tests/gemeinsam/Falltabelle.h"

using namespace Qt::StringLiterals;

namespace {
// pactl is the independent observer of the null sink's mute.
bool senkeStumm()
{
    QProcess p;
    p.start(u"pactl"_s, {u"get-sink-mute"_s, u"nullsink"_s});
    return p.waitForFinished(10000) && p.readAllStandardOutput().contains("yes");
}

void senkeSetzen(bool stumm)
{
    QProcess::execute(u"pactl"_s, {u"set-sink-mute"_s, u"nullsink"_s, stumm ? u"1"_s : u"0"_s});
}
} // namespace

class TestPCStummschaltung : public QObject
{
    Q_OBJECT
private slots:
    void stummUndZurueck_data() { falltabelle("system-faelle.txt", "stumm"); }

    void stummUndZurueck()
    {
        QFETCH(QString, vorher);
        QFETCH(QString, aufrufe);
        QFETCH(QString, nachher);
        senkeSetzen(vorher == u"ja"_s);
        QCOMPARE(GetMute(kLautsprecher), vorher == u"ja"_s);
        for (int i = 0; i < aufrufe.toInt(); ++i)
            PCStummschalten();
        QVERIFY(senkeStumm());
        QVERIFY(GetMute(kLautsprecher));
        PCStummschaltungZuruecksetzen();
        QCOMPARE(senkeStumm(), nachher == u"ja"_s);
    }

    void ohneServerStill()
    {
        // In a process of its own, so that ALSA reads its configuration afresh
        // and finds no sound server: nothing changes and nothing is printed.
        senkeSetzen(true);
        QProcess kind;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"PULSE_SERVER"_s, u"unix:/nonexistent/sendaro"_s);
        kind.setProcessEnvironment(env);
        kind.setProcessChannelMode(QProcess::MergedChannels);
        kind.start(QCoreApplication::applicationFilePath(), {u"--ohne-server"_s});
        QVERIFY(kind.waitForFinished(30000));
        QCOMPARE(kind.exitCode(), 0);
        QCOMPARE(kind.readAll(), "stumm=0\n"_ba);
        QVERIFY(senkeStumm());
    }
};

int main(int argc, char** argv)
{
    if (argc == 2 && qstrcmp(argv[1], "--ohne-server") == 0) {
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
