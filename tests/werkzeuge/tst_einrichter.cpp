#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "tests/gemeinsam/Falltabelle.h"

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

    void anlegen_data() { falltabelle("werkzeuge-faelle.txt", "anlegen"); }

    void anlegen()
    {
        QFETCH(QString, vorlage);
        QFETCH(QString, ergebnis);
        QVERIFY(vorlageKopieren(vorlage));
        const QByteArray vorher = lesen(m_cfg);
        const QByteArray erwartet = ergebnis == u"unveraendert"_s ? vorher : standarddatei();
        const QString meldung = ergebnis == u"neu"_s       ? u"angelegt"_s
                                : ergebnis == u"ersetzt"_s ? u"gesichert"_s
                                                           : u"unverändert"_s;
        for (int lauf = 0; lauf < 2; ++lauf) { // a second run leaves the new file alone
            const ino_t inodeVorher = inode(m_cfg);
            QCOMPARE(starten({}), 0);
            QVERIFY2(m_ausgabe.contains(lauf ? u"unverändert"_s : meldung), qPrintable(m_ausgabe));
            QCOMPARE(lesen(m_cfg).toHex(), erwartet.toHex());
            if (lauf || ergebnis == u"unveraendert"_s)
                QCOMPARE(inode(m_cfg), inodeVorher); // not even replaced by an equal copy
            // Only an unusable file is kept, with its old bytes.
            QCOMPARE(QFile::exists(m_cfg + u".bak"_s), ergebnis == u"ersetzt"_s);
            if (ergebnis == u"ersetzt"_s)
                QCOMPARE(lesen(m_cfg + u".bak"_s).toHex(), vorher.toHex());
        }
    }

    void sicherungVorhanden()
    {
        // Older backups are never overwritten: the first free name is used.
        const auto schreiben = [](const QString& pfad, const QByteArray& inhalt) {
            QFile f(pfad);
            return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
        };
        QVERIFY(vorlageKopieren(u"sendwacht-leerer-wert.cfg"_s));
        QVERIFY(schreiben(m_cfg + u".bak"_s, "erste Sicherung"));
        QVERIFY(schreiben(m_cfg + u".1.bak"_s, "zweite Sicherung"));
        const QByteArray vorher = lesen(m_cfg);
        QCOMPARE(starten({}), 0);
        QVERIFY2(m_ausgabe.contains(u"\"%1.2.bak\" gesichert"_s.arg(m_cfg)), qPrintable(m_ausgabe));
        QCOMPARE(lesen(m_cfg + u".bak"_s), QByteArray("erste Sicherung"));
        QCOMPARE(lesen(m_cfg + u".1.bak"_s), QByteArray("zweite Sicherung"));
        QCOMPARE(lesen(m_cfg + u".2.bak"_s), vorher);
        QCOMPARE(lesen(m_cfg), standarddatei());
    }

    void zeigen_data() { falltabelle("werkzeuge-faelle.txt", "zeigen"); }

    void zeigen()
    {
        QFETCH(QString, vorlage);
        QFETCH(QString, code);
        QFETCH(QString, texte);
        QVERIFY(vorlageKopieren(vorlage));
        const QByteArray vorher = lesen(m_cfg);
        QCOMPARE(starten({u"--zeigen"_s}), code.toInt());
        for (const QString& text : texte.split(u'|'))
            QVERIFY2((u'\n' + m_ausgabe).contains(u'\n' + text), qPrintable(m_ausgabe));
        // Looking changes nothing and creates nothing.
        QCOMPARE(QFile::exists(m_cfg), !vorlage.isEmpty());
        QCOMPARE(lesen(m_cfg), vorher);
    }
};

QTEST_GUILESS_MAIN(TestEinrichter)
#include "tst_einrichter.moc"
