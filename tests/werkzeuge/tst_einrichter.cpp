#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// The default file, encoded by the test from the layout alone: header (array
// of variants, one dimension, 128 elements from 0), then type code and data
// of each element: 10 and 11 empty texts, 15 and 17 true, 127 a long 0.
QByteArray standarddatei()
{
    QByteArray d = QByteArray::fromHex("0c2001008000000000000000");
    for (int i = 0; i < 128; ++i)
        d += QByteArray::fromHex(i == 10 || i == 11   ? "08000000"
                                 : i == 15 || i == 17 ? "0b00ffff"
                                 : i == 127           ? "030000000000"
                                                      : "0000");
    return d;
}

QByteArray lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ino_t inode(const QString& pfad)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(pfad).constData(), &st) == 0 ? st.st_ino : 0;
}
} // namespace

/// einrichter as a real process, from a copy in a folder of the test's own.
class TestEinrichter : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_cfg;
    QString m_ausgabe; // standard output and error of the last run

    int starten(const QStringList& argumente)
    {
        QProcess p;
        p.setWorkingDirectory(QDir::tempPath()); // not the program folder: it must find its own
        p.start(m_ordner->filePath(u"einrichter"_s), argumente);
        const bool fertig = p.waitForFinished(30000);
        p.kill();
        m_ausgabe = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return fertig && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    bool vorlageKopieren(const QString& vorlage)
    {
        return vorlage.isEmpty() ||
               QFile::copy(QStringLiteral(SENDARO_TESTDATEN "/") + vorlage, m_cfg);
    }

private slots:
    void init()
    {
        m_ordner = std::make_unique<QTemporaryDir>();
        QVERIFY(m_ordner->isValid());
        m_cfg = m_ordner->filePath(u"sendwacht.cfg"_s);
        QVERIFY(QFile::copy(QStringLiteral(SENDARO_PROGRAMMORDNER "/einrichter"),
                            m_ordner->filePath(u"einrichter"_s)));
    }

    void anlegen_data()
    {
        QTest::addColumn<QString>("vorlage"); // empty: no file
        QTest::newRow("keine datei") << QString();
        QTest::newRow("leere datei") << u"sendwacht-leer.cfg"_s;
        QTest::newRow("alle typen und unbekannte") << u"sendwacht-alle-typen-und-unbekannte.cfg"_s;
        QTest::newRow("beschaedigt") << u"sendwacht-absurde-anzahl.cfg"_s;
    }

    void anlegen()
    {
        QFETCH(QString, vorlage);
        QVERIFY(vorlageKopieren(vorlage));
        const bool neu = lesen(m_cfg).isEmpty();
        const QByteArray erwartet = neu ? standarddatei() : lesen(m_cfg);
        for (int lauf = neu ? 0 : 1; lauf < 2; ++lauf) { // a second run leaves a new file alone
            const ino_t inodeVorher = inode(m_cfg);
            QCOMPARE(starten({}), 0);
            QVERIFY2(m_ausgabe.contains(lauf ? u"unverändert"_s : u"angelegt"_s),
                     qPrintable(m_ausgabe));
            QCOMPARE(lesen(m_cfg).toHex(), erwartet.toHex());
            QVERIFY(!lauf || inode(m_cfg) == inodeVorher); // not even replaced by an equal copy
        }
    }

    void zeigen_data()
    {
        QTest::addColumn<QString>("vorlage"); // empty: no file
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("texte"); // beginnings of lines on standard output or error
        QTest::newRow("alle typen")
            << u"sendwacht-alle-typen-und-unbekannte.cfg"_s << 0
            << QStringList{u"0\t0\t(leer)\n"_s,
                           u"3\t3\t-2000000000\n"_s,
                           u"8\t8\t\"Größe – ok\"\n"_s,
                           u"14\t11\tWahr\n"_s,
                           u"18\t19\t(4 Bytes: ef be ad de)\n"_s,
                           u"23\t20\t(8 Bytes: fb ff ff ff ff ff ff ff)\n"_s};
        QTest::newRow("fehlt") << QString() << 1
                               << QStringList{u"Fehler: Der Sendaro ist nicht initialisiert."_s};
        QTest::newRow("abgeschnitten")
            << u"sendwacht-text-laenger-als-datei.cfg"_s << 1
            << QStringList{u"Fehler: Die Datei \"sendwacht.cfg\" ist beschädigt oder hat ein "
                           u"unbekanntes Format: sie endet mitten im Element 1.\n"_s};
        QTest::newRow("unbekannter typ")
            << u"sendwacht-unbekannter-typ-14.cfg"_s << 1
            << QStringList{u"11\t8\t\"/opt/tv\"\n"_s,
                           u"Fehler: Das Element 12 der Datei \"sendwacht.cfg\" kann nicht gelesen "
                           u"werden, weil das Element 12 den unbekannten Typcode 14 hat"_s};
    }

    void zeigen()
    {
        QFETCH(QString, vorlage);
        QFETCH(int, code);
        QFETCH(QStringList, texte);
        QVERIFY(vorlageKopieren(vorlage));
        const QByteArray vorher = lesen(m_cfg);
        QCOMPARE(starten({u"--zeigen"_s}), code);
        for (const QString& text : std::as_const(texte))
            QVERIFY2((u'\n' + m_ausgabe).contains(u'\n' + text), qPrintable(m_ausgabe));
        // Looking changes nothing and creates nothing.
        QCOMPARE(QFile::exists(m_cfg), !vorlage.isEmpty());
        QCOMPARE(lesen(m_cfg), vorher);
    }
};

QTEST_GUILESS_MAIN(TestEinrichter)
#include "tst_einrichter.moc"
