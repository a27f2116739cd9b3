#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "system/Grundbefehle.h"
#include "system/Programmordner.h"
#include "tests/gemeinsam/Falltabelle.h"

using namespace Qt::StringLiterals;

class TestGrundbefehle : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_programmordner.isValid());
        AppPfadSetzen(m_programmordner.path());
        QDir d(m_dir.path());
        QVERIFY(d.mkpath(u"ordner/unter"_s) && d.mkpath(u"nurohne"_s));
        for (const auto& name : {u"tv.exe"_s, u"Liesmich.TXT"_s, u".versteckt"_s, u"ohne_endung"_s,
                                 u"ordner/kanal.azs"_s, u"nurohne/LIESMICH"_s})
            QVERIFY(QFile(d.filePath(name)).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(d.filePath(u"tv.exe"_s), d.filePath(u"verweis.exe"_s)));
        QCOMPARE(::mkfifo(QFile::encodeName(d.filePath(u"rohr"_s)).constData(), 0600), 0);
    }

    void pfade_data() { falltabelle("system-faelle.txt", "pfade"); }

    void pfade()
    {
        QFETCH(QString, pfad);
        QFETCH(QString, dateiname);
        QFETCH(QString, ordner);
        QFETCH(QString, mitTrenner);
        QCOMPARE(DateinameAusPfad(pfad), dateiname);
        QCOMPARE(OrdnerAusPfad(pfad), ordner);
        QCOMPARE(PfadMitBackslash(pfad), mitTrenner);
    }

    void existiert_data() { falltabelle("system-faelle.txt", "existiert"); }

    void existiert()
    {
        QFETCH(QString, relativ);
        QFETCH(QString, datei);
        QFETCH(QString, ordner);
        const QString pfad = m_dir.path() + u'/' + relativ;
        QCOMPARE(DateiExistiert(pfad), datei == u"ja"_s);
        QDir::setCurrent(m_dir.path());
        QCOMPARE(OrdnerExistiert(pfad), ordner == u"ja"_s);
        QCOMPARE(QDir::currentPath(), QDir(m_programmordner.path()).canonicalPath());
    }

    void logZeile()
    {
        const QString datei = m_dir.filePath(u"protokoll.log"_s);
        LogZeileSchreiben(datei, u"Grüße"_s, true, true);
        LogZeileSchreiben(datei, u"zwei"_s, false, false); // appended: just the text
        LogZeileSchreiben(datei, u"drei"_s, true, false);
        QFile f(datei);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString inhalt = QString::fromLatin1(f.readAll()); // these 1252 letters are Latin-1
        const QString datum = u"\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d \\| "_s;
        const auto zeilen =
            QRegularExpression(
                u"^%1(-?\\d+) Bytes frei \\| Grüße\r\nzwei\r\n%1drei\r\n$"_s.arg(datum))
                .match(inhalt);
        QVERIFY2(zeilen.hasMatch(), qPrintable(inhalt));

        // The low 32 bits of MemAvailable, at most 4 GiB - 1, as the suite has
        // always logged it. Memory moves between the readings.
        QFile meminfo(u"/proc/meminfo"_s);
        QVERIFY(meminfo.open(QIODevice::ReadOnly));
        const auto kb = QRegularExpression(u"MemAvailable:\\s*(\\d+) kB"_s)
                            .match(QString::fromLatin1(meminfo.readAll()))
                            .captured(1)
                            .toULongLong();
        const auto erwartet = qint32(quint32(std::min<quint64>(kb * 1024, 0xFFFFFFFFu)));
        for (const qint64 gemessen :
             {qint64(GetFreierSpeicher()), zeilen.captured(1).toLongLong()}) {
            QCOMPARE(gemessen < 0, erwartet < 0);
            QVERIFY(kb > 0 && qAbs(gemessen - erwartet) < 256 * 1024 * 1024);
        }
    }

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_programmordner;
};

QTEST_GUILESS_MAIN(TestGrundbefehle)
#include "tst_grundbefehle.moc"
