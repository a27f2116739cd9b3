#include <stdexcept>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// The test's own reader of the file layout, written from the format alone so
// that it does not share a mistake with the program's reader: each element
// as "type:bytes in hex". It knows only the element types einrichter writes.
QStringList unabhaengigLesen(const QByteArray& d)
{
    qsizetype pos = 0;
    const auto zahl = [&](int bytes) {
        if (pos + bytes > d.size())
            throw std::runtime_error("abgeschnitten");
        qint64 wert = 0;
        for (int i = 0; i < bytes; ++i)
            wert |= qint64(quint8(d[pos + i])) << (8 * i);
        pos += bytes;
        return wert;
    };
    if (zahl(2) != 0x200C || zahl(2) != 1)
        throw std::runtime_error("kopf");
    const qint64 anzahl = zahl(4);
    if (zahl(4) != 0)
        throw std::runtime_error("untergrenze");
    QStringList elemente;
    for (qint64 i = 0; i < anzahl; ++i) {
        const qint64 typ = zahl(2);
        const qsizetype anfang = pos;
        if (typ == 3)
            zahl(4); // long
        else if (typ == 8)
            pos += zahl(2); // text: length, then the bytes
        else if (typ == 11)
            zahl(2); // boolean
        else if (typ != 0)
            throw std::runtime_error("unerwarteter Typ");
        if (pos > d.size())
            throw std::runtime_error("abgeschnitten");
        elemente << u"%1:%2"_s.arg(typ).arg(
            QString::fromLatin1(d.mid(anfang, pos - anfang).toHex()));
    }
    if (pos != d.size())
        throw std::runtime_error("Rest nach dem Feld");
    return elemente;
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

    int starten(const QStringList& argumente, QByteArray* ausgabe = nullptr)
    {
        QProcess p;
        p.setWorkingDirectory(QDir::tempPath()); // not the program folder: it must find its own
        p.start(m_ordner->filePath(u"einrichter"_s), argumente);
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        if (ausgabe)
            *ausgabe = p.readAllStandardOutput() + p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    void vorlageKopieren(const QString& vorlage)
    {
        QVERIFY(QFile::copy(QStringLiteral(SENDARO_TESTDATEN) + u'/' + vorlage, m_cfg));
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

    void legtStandarddateiAn_data()
    {
        QTest::addColumn<bool>("leereDateiVorher");
        QTest::newRow("keine datei") << false;
        QTest::newRow("leere datei") << true;
    }

    void legtStandarddateiAn()
    {
        QFETCH(bool, leereDateiVorher);
        QFile leer(m_cfg);
        QVERIFY(!leereDateiVorher || leer.open(QIODevice::WriteOnly));
        QByteArray aus;
        QCOMPARE(starten({}, &aus), 0);
        QVERIFY2(aus.contains("angelegt"), aus.constData());
        // 128 elements: 10 and 11 empty texts, 15 and 17 true, 127 a long 0,
        // the rest empty.
        QStringList erwartet(128, u"0:"_s);
        erwartet[10] = erwartet[11] = u"8:0000"_s;
        erwartet[15] = erwartet[17] = u"11:ffff"_s;
        erwartet[127] = u"3:00000000"_s;
        QCOMPARE(unabhaengigLesen(lesen(m_cfg)), erwartet);
    }

    void vorhandeneDateiBleibt_data()
    {
        QTest::addColumn<QString>("vorlage"); // empty: the file of a first run
        QTest::newRow("zweiter lauf") << QString();
        QTest::newRow("alle typen und unbekannte") << u"sendwacht-alle-typen-und-unbekannte.cfg"_s;
        QTest::newRow("unbekannter typ") << u"sendwacht-unbekannter-typ-14.cfg"_s;
        QTest::newRow("beschaedigt") << u"sendwacht-absurde-anzahl.cfg"_s;
    }

    void vorhandeneDateiBleibt()
    {
        QFETCH(QString, vorlage);
        if (vorlage.isEmpty())
            QCOMPARE(starten({}), 0);
        else
            vorlageKopieren(vorlage);
        const QByteArray vorher = lesen(m_cfg);
        const ino_t inodeVorher = inode(m_cfg);
        QByteArray aus;
        QCOMPARE(starten({}, &aus), 0);
        QVERIFY2(aus.contains("unver\xc3\xa4ndert"), aus.constData());
        QCOMPARE(lesen(m_cfg), vorher);
        QCOMPARE(inode(m_cfg), inodeVorher); // not even replaced by an equal copy
    }

    void zeigen_data()
    {
        QTest::addColumn<QString>("vorlage"); // empty: no file
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("texte"); // on standard output or error
        QTest::newRow("alle typen")
            << u"sendwacht-alle-typen-und-unbekannte.cfg"_s << 0
            << QStringList{u"\n0\t0\t(leer)\n"_s,
                           u"\n3\t3\t-2000000000\n"_s,
                           u"\n8\t8\t\"Größe – ok\"\n"_s,
                           u"\n14\t11\tWahr\n"_s,
                           u"\n18\t19\t(4 Bytes: ef be ad de)\n"_s,
                           u"\n23\t20\t(8 Bytes: fb ff ff ff ff ff ff ff)\n"_s};
        QTest::newRow("fehlt") << QString() << 1 << QStringList{u"nicht initialisiert"_s};
        QTest::newRow("abgeschnitten")
            << u"sendwacht-text-laenger-als-datei.cfg"_s << 1 << QStringList{u"beschädigt"_s};
        QTest::newRow("unbekannter typ") << u"sendwacht-unbekannter-typ-14.cfg"_s << 1
                                         << QStringList{u"unbekannten Typcode 14"_s};
    }

    void zeigen()
    {
        QFETCH(QString, vorlage);
        QFETCH(int, code);
        QFETCH(QStringList, texte);
        if (!vorlage.isEmpty())
            vorlageKopieren(vorlage);
        const QByteArray vorher = lesen(m_cfg);
        QByteArray aus;
        QCOMPARE(starten({u"--zeigen"_s}, &aus), code);
        for (const QString& text : std::as_const(texte))
            QVERIFY2((u'\n' + QString::fromUtf8(aus)).contains(text), aus.constData());
        // Looking changes nothing and creates nothing.
        QCOMPARE(QFile::exists(m_cfg), !vorlage.isEmpty());
        QCOMPARE(lesen(m_cfg), vorher);
    }
};

QTEST_GUILESS_MAIN(TestEinrichter)
#include "tst_einrichter.moc"
