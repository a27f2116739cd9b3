#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "system/Grundbefehle.h"
#include "system/Programmordner.h"

using namespace Qt::StringLiterals;

class TestGrundbefehle : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void dateinameAusPfad_data();
    void dateinameAusPfad();
    void ordnerAusPfad_data();
    void ordnerAusPfad();
    void pfadMitBackslash_data();
    void pfadMitBackslash();
    void dateiExistiert_data();
    void dateiExistiert();
    void dateiExistiertSocket();
    void ordnerExistiert_data();
    void ordnerExistiert();
    void nullErsetzen();
    void logZeile_data();
    void logZeile();
    void freierSpeicher();

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_programmordner;
};

void TestGrundbefehle::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_programmordner.isValid());
    AppPfadSetzen(m_programmordner.path());
    QDir d(m_dir.path());
    QVERIFY(d.mkpath(u"ordner/unter"_s));
    QVERIFY(d.mkpath(u"nurohne"_s));
    for (const auto& name : {u"tv.exe"_s, u"Liesmich.TXT"_s, u".versteckt"_s, u"ohne_endung"_s,
                             u"ordner/kanal.azs"_s, u"nurohne/LIESMICH"_s}) {
        QFile f(d.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(d.filePath(u"tv.exe"_s), d.filePath(u"verweis.exe"_s)));
    QVERIFY(QFile::link(d.filePath(u"ordner"_s), d.filePath(u"ordnerverweis"_s)));
}

void TestGrundbefehle::dateinameAusPfad_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("backslash") << uR"(C:\a\b.exe)"_s << u"b.exe"_s;
    QTest::newRow("slash") << u"C:/a/b.exe"_s << u"b.exe"_s;
    QTest::newRow("gemischt") << uR"(C:\a/b\c.txt)"_s << u"c.txt"_s;
    QTest::newRow("ohne ordner") << u"b.exe"_s << u"b.exe"_s;
    QTest::newRow("endet mit trenner") << uR"(C:\a\)"_s << QString();
    QTest::newRow("linux") << u"/usr/bin/tvtime"_s << u"tvtime"_s;
    QTest::newRow("leer") << QString() << QString();
}

void TestGrundbefehle::dateinameAusPfad()
{
    QFETCH(QString, pfad);
    QFETCH(QString, erwartet);
    QCOMPARE(DateinameAusPfad(pfad), erwartet);
}

void TestGrundbefehle::ordnerAusPfad_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("backslash") << uR"(C:\a\b.exe)"_s << uR"(C:\a)"_s;
    QTest::newRow("laufwerk") << uR"(C:\b.exe)"_s << u"C:"_s;
    QTest::newRow("ohne ordner") << u"b.exe"_s << QString();
    QTest::newRow("endet mit trenner") << uR"(C:\a\)"_s << uR"(C:\a)"_s;
    QTest::newRow("trenner vorn") << u"/b.exe"_s << QString();
    QTest::newRow("linux") << u"/opt/tv/tv"_s << u"/opt/tv"_s;
    QTest::newRow("leer") << QString() << QString();
}

void TestGrundbefehle::ordnerAusPfad()
{
    QFETCH(QString, pfad);
    QFETCH(QString, erwartet);
    QCOMPARE(OrdnerAusPfad(pfad), erwartet);
}

void TestGrundbefehle::pfadMitBackslash_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("ohne") << u"/opt/a"_s << u"/opt/a/"_s;
    QTest::newRow("schon da") << u"/opt/a/"_s << u"/opt/a/"_s;
    QTest::newRow("leer") << QString() << u"/"_s;
    QTest::newRow("wurzel") << u"/"_s << u"/"_s;
    // Only the native separator is tested, as the Windows original tested only its own.
    QTest::newRow("endet mit backslash") << uR"(C:\a\)"_s << uR"(C:\a\/)"_s;
}

void TestGrundbefehle::pfadMitBackslash()
{
    QFETCH(QString, pfad);
    QFETCH(QString, erwartet);
    QCOMPARE(PfadMitBackslash(pfad), erwartet);
}

void TestGrundbefehle::dateiExistiert_data()
{
    QTest::addColumn<QString>("relativ");
    QTest::addColumn<bool>("erwartet");
    QTest::newRow("datei") << u"tv.exe"_s << true;
    QTest::newRow("andere schreibweise ohne platzhalter") << u"TV.EXE"_s << false;
    QTest::newRow("fehlt") << u"fehlt.exe"_s << false;
    QTest::newRow("ordner") << u"ordner"_s << false;
    QTest::newRow("versteckt") << u".versteckt"_s << false;
    QTest::newRow("verweis auf datei") << u"verweis.exe"_s << true;
    QTest::newRow("verweis auf ordner") << u"ordnerverweis"_s << false;
    QTest::newRow("stern punkt stern") << u"*.*"_s << true;
    QTest::newRow("stern punkt stern leerer ordner") << u"ordner/unter/*.*"_s << false;
    QTest::newRow("stern punkt stern trifft namen ohne punkt") << u"nurohne/*.*"_s << true;
    QTest::newRow("muster ignoriert schreibweise") << u"*.txt"_s << true;
    QTest::newRow("fragezeichen") << u"t?.exe"_s << true;
    QTest::newRow("fragezeichen genau eins") << u"t?.ex"_s << false;
    QTest::newRow("muster im unterordner") << u"ordner/*.AZS"_s << true;
    QTest::newRow("muster trifft nur ordner") << u"ordn*"_s << false;
    QTest::newRow("muster trifft nur versteckte") << u".vers*"_s << false;
    QTest::newRow("stern punkt ohne endung") << u"ohne*."_s << true;
    QTest::newRow("stern punkt mit endung") << u"tv*."_s << false;
    QTest::newRow("backslash als trenner") << uR"(ordner\kanal.azs)"_s << true;
    QTest::newRow("ordner fehlt") << u"gibtsnicht/*.*"_s << false;
    QTest::newRow("endet mit trenner") << u"ordner/"_s << false;
    QTest::newRow("eckige klammern sind zeichen") << u"[a-z]*"_s << false;
}

void TestGrundbefehle::dateiExistiert()
{
    QFETCH(QString, relativ);
    QFETCH(bool, erwartet);
    QCOMPARE(DateiExistiert(m_dir.path() + u'/' + relativ), erwartet);
}

void TestGrundbefehle::dateiExistiertSocket()
{
    const QString pfad = m_dir.filePath(u"steckdose"_s);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    const QByteArray p = QFile::encodeName(pfad);
    QVERIFY(p.size() < qsizetype(sizeof adresse.sun_path));
    memcpy(adresse.sun_path, p.constData(), p.size());
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse), 0);
    QVERIFY(!DateiExistiert(pfad));
    QVERIFY(!DateiExistiert(m_dir.filePath(u"steck*"_s)));
    ::close(fd);
}

void TestGrundbefehle::ordnerExistiert_data()
{
    QTest::addColumn<QString>("relativ");
    QTest::addColumn<bool>("erwartet");
    QTest::newRow("ordner") << u"ordner"_s << true;
    QTest::newRow("unterordner") << u"ordner/unter"_s << true;
    QTest::newRow("datei") << u"tv.exe"_s << false;
    QTest::newRow("fehlt") << u"fehlt"_s << false;
    QTest::newRow("verweis auf ordner") << u"ordnerverweis"_s << true;
}

void TestGrundbefehle::ordnerExistiert()
{
    QFETCH(QString, relativ);
    QFETCH(bool, erwartet);
    QDir::setCurrent(m_dir.path());
    QCOMPARE(OrdnerExistiert(m_dir.path() + u'/' + relativ), erwartet);
    QCOMPARE(QDir::currentPath(), QDir(m_programmordner.path()).canonicalPath());
}

void TestGrundbefehle::nullErsetzen()
{
    QCOMPARE(NullErsetzen(QVariant(), u"x"_s), QVariant(u"x"_s));
    QCOMPARE(NullErsetzen(QVariant(QMetaType::fromType<QString>()), 0), QVariant(0));
    QCOMPARE(NullErsetzen(QVariant(5), u"x"_s), QVariant(5));
    QCOMPARE(NullErsetzen(QVariant(QString()), 1).typeId(), QMetaType::QString);
}

void TestGrundbefehle::logZeile_data()
{
    QTest::addColumn<bool>("datum");
    QTest::addColumn<bool>("speicher");
    QTest::addColumn<QString>("muster");
    QTest::newRow("nur text") << false << false << u"^Grüße\r\n$"_s;
    QTest::newRow("mit datum")
        << true << false << u"^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d \\| Grüße\r\n$"_s;
    QTest::newRow("mit speicher") << false << true << u"^-?\\d+ Bytes frei \\| Grüße\r\n$"_s;
    QTest::newRow("beides")
        << true << true
        << u"^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d \\| -?\\d+ Bytes frei \\| Grüße\r\n$"_s;
}

void TestGrundbefehle::logZeile()
{
    QFETCH(bool, datum);
    QFETCH(bool, speicher);
    QFETCH(QString, muster);
    const QString datei = m_dir.filePath(u"protokoll.log"_s);
    QFile::remove(datei);
    LogZeileSchreiben(datei, u"Grüße"_s, datum, speicher);
    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray inhalt = f.readAll();
    QVERIFY2(inhalt.contains("Gr\xfc\xdf"), "written in Windows-1252");
    const QRegularExpression ausdruck(muster);
    QVERIFY2(ausdruck.match(QString::fromLatin1(inhalt)).hasMatch(), inhalt.constData());

    // Appends; and a folder that does not exist is ignored silently.
    LogZeileSchreiben(datei, u"zwei"_s, false, false);
    f.seek(0);
    QVERIFY(f.readAll().endsWith("\r\nzwei\r\n"));
    LogZeileSchreiben(m_dir.filePath(u"fehlt/x.log"_s), u"x"_s, true, true);
    QVERIFY(!QFile::exists(m_dir.filePath(u"fehlt/x.log"_s)));
}

void TestGrundbefehle::freierSpeicher()
{
    // The figure is the low 32 bits of MemAvailable, clamped at 4 GiB - 1.
    QFile meminfo(u"/proc/meminfo"_s);
    QVERIFY(meminfo.open(QIODevice::ReadOnly));
    const QByteArray text = meminfo.readAll();
    const qsizetype p = text.indexOf("MemAvailable:");
    QVERIFY(p >= 0);
    const quint64 kb =
        text.mid(p + 13, text.indexOf('\n', p) - p - 13).trimmed().split(' ')[0].toULongLong();
    const quint64 bytes = std::min<quint64>(kb * 1024, 0xFFFFFFFFu);
    const qint32 erwartet = static_cast<qint32>(static_cast<quint32>(bytes));
    const qint32 gemessen = GetFreierSpeicher();
    // Memory moves between the two readings; the sign and rough size agree.
    QCOMPARE(gemessen < 0, erwartet < 0);
    QVERIFY(qAbs(qint64(gemessen) - qint64(erwartet)) < 256 * 1024 * 1024);
}

QTEST_GUILESS_MAIN(TestGrundbefehle)
#include "tst_grundbefehle.moc"
