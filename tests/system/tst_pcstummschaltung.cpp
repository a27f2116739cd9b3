#include <QProcess>
#include <QTest>

#include <cstdio>
#include <map>

#include "system/Mischpult.h"
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

/// A speaker element of any shape; "klemmt" marks a channel whose switch
/// can be neither read nor set.
struct Testelement : Mischpultelement
{
    std::map<int, QString> kanaele;
    bool schalterDa = true;
    bool verbunden = false;

    bool hatWiedergabeschalter() const override { return schalterDa; }
    bool hatKanal(int kanal) const override { return kanaele.count(kanal) != 0; }
    std::optional<bool> schalter(int kanal) const override
    {
        const QString& z = kanaele.at(kanal);
        if (!schalterDa || z == u"klemmt"_s)
            return std::nullopt;
        return z == u"an"_s;
    }
    bool schalterSetzen(int kanal, bool an) override
    {
        if (!schalterDa || kanaele.at(kanal) == u"klemmt"_s)
            return false;
        // One switch for all: setting any channel sets them all.
        for (auto& [k, z] : kanaele)
            if (k == kanal || (verbunden && z != u"klemmt"_s))
                z = an ? u"an"_s : u"aus"_s;
        return true;
    }
    QString zustand() const
    {
        QStringList teile;
        for (const auto& [k, z] : kanaele)
            teile << QString::number(k) + u':' + z;
        return teile.join(u' ');
    }
};

/// Hands out views of one element, as a mixer hands out its element anew
/// on every open.
struct Testmischpult : Mischpult
{
    Testelement element_;
    QByteArray name = "Master";
    struct Sicht : Mischpultelement
    {
        Testelement& e;
        explicit Sicht(Testelement& e)
            : e(e)
        {}
        bool hatWiedergabeschalter() const override { return e.hatWiedergabeschalter(); }
        bool hatKanal(int k) const override { return e.hatKanal(k); }
        std::optional<bool> schalter(int k) const override { return e.schalter(k); }
        bool schalterSetzen(int k, bool an) override { return e.schalterSetzen(k, an); }
    };
    std::unique_ptr<Mischpultelement> element(const char* gesucht) override
    {
        if (name != gesucht)
            return nullptr;
        return std::make_unique<Sicht>(element_);
    }
};
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

    void kanaele_data() { falltabelle("system-faelle.txt", "kanaele"); }

    void kanaele()
    {
        QFETCH(QString, art);
        QFETCH(QString, kanaele);
        QFETCH(QString, stumm);
        QFETCH(QString, waehrend);
        QFETCH(QString, danach);
        Testmischpult m;
        m.element_.schalterDa = art != u"nur lautstaerke"_s;
        m.element_.verbunden = art == u"verbunden"_s;
        if (art == u"anderer name"_s)
            m.name = "PCM";
        for (const QString& k : kanaele.split(u' ', Qt::SkipEmptyParts))
            m.element_.kanaele[k.section(u':', 0, 0).toInt()] = k.section(u':', 1);
        QCOMPARE(GetMute(m, kLautsprecher), stumm == u"ja"_s);
        PCStummschalten(m);
        QCOMPARE(m.element_.zustand(), waehrend);
        PCStummschaltungZuruecksetzen(m);
        QCOMPARE(m.element_.zustand(), danach);
        // Only the speaker line has an element.
        SetMute(m, kLautsprecher + 1, true);
        QCOMPARE(m.element_.zustand(), danach);
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
