#include <stdexcept>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// The test's own reader of the file layout, written from the format alone
// so that it does not share a mistake with the program's reader. It knows
// only the element types einrichter writes.
struct Element
{
    quint16 typ = 0;
    QByteArray daten;
};

struct Gelesen
{
    qint32 untergrenze = 0;
    QList<Element> elemente;
    qsizetype rest = -1; // bytes after the array
};

Gelesen unabhaengigLesen(const QByteArray& d)
{
    Gelesen g;
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
    const auto anzahl = qint32(zahl(4));
    g.untergrenze = qint32(zahl(4));
    for (qint32 i = 0; i < anzahl; ++i) {
        Element e;
        e.typ = quint16(zahl(2));
        const qsizetype anfang = pos;
        switch (e.typ) {
        case 0:
            break;
        case 3:
            zahl(4);
            break;
        case 8:
            pos += zahl(2);
            break;
        case 11:
            zahl(2);
            break;
        default:
            throw std::runtime_error("unerwarteter Typ");
        }
        if (pos > d.size())
            throw std::runtime_error("abgeschnitten");
        e.daten = d.mid(anfang, pos - anfang);
        g.elemente.append(e);
    }
    g.rest = d.size() - pos;
    return g;
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

class TestEinrichter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void legtStandarddateiAn_data();
    void legtStandarddateiAn();
    void zweiterLaufAendertNichts();
    void fremdeDateiBleibtUnveraendert_data();
    void fremdeDateiBleibtUnveraendert();
    void zeigen();
    void zeigenFehler_data();
    void zeigenFehler();

private:
    int starten(const QStringList& argumente, QByteArray* aus = nullptr,
                QByteArray* fehler = nullptr);
    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_cfg;
};

void TestEinrichter::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    QVERIFY(m_ordner->isValid());
    m_cfg = m_ordner->filePath(u"sendwacht.cfg"_s);
    // einrichter works in its own folder, so it runs from a copy there.
    QVERIFY(QFile::copy(QStringLiteral(SENDARO_PROGRAMMORDNER "/einrichter"),
                        m_ordner->filePath(u"einrichter"_s)));
}

int TestEinrichter::starten(const QStringList& argumente, QByteArray* aus, QByteArray* fehler)
{
    QProcess p;
    p.setWorkingDirectory(QDir::tempPath()); // not the program folder: it must find its own
    p.start(m_ordner->filePath(u"einrichter"_s), argumente);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (aus)
        *aus = p.readAllStandardOutput();
    if (fehler)
        *fehler = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void TestEinrichter::legtStandarddateiAn_data()
{
    QTest::addColumn<bool>("leereDateiVorher");
    QTest::newRow("keine datei") << false;
    QTest::newRow("leere datei") << true;
}

void TestEinrichter::legtStandarddateiAn()
{
    QFETCH(bool, leereDateiVorher);
    if (leereDateiVorher) {
        QFile f(m_cfg);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QByteArray aus;
    QCOMPARE(starten({}, &aus), 0);
    QVERIFY2(aus.contains("angelegt"), aus.constData());

    const Gelesen g = unabhaengigLesen(lesen(m_cfg));
    QCOMPARE(g.untergrenze, 0);
    QCOMPARE(g.elemente.size(), 128);
    QCOMPARE(g.rest, 0);
    // 10 and 11 empty texts, 15 and 17 true, 127 a 32-bit 0, the rest empty.
    const QMap<int, Element> gesetzt = {
        {10, {8, QByteArray(2, '\0')}}, {11, {8, QByteArray(2, '\0')}},  {15, {11, "\xff\xff"}},
        {17, {11, "\xff\xff"}},         {127, {3, QByteArray(4, '\0')}},
    };
    for (int i = 0; i < 128; ++i) {
        const Element erwartet = gesetzt.value(i);
        QCOMPARE(g.elemente[i].typ, erwartet.typ);
        QCOMPARE(g.elemente[i].daten, erwartet.daten);
    }
}

void TestEinrichter::zweiterLaufAendertNichts()
{
    QCOMPARE(starten({}), 0);
    const QByteArray vorher = lesen(m_cfg);
    const ino_t inodeVorher = inode(m_cfg);
    QByteArray aus;
    QCOMPARE(starten({}, &aus), 0);
    QVERIFY2(aus.contains("unver\xc3\xa4ndert"), aus.constData());
    QCOMPARE(lesen(m_cfg), vorher);
    QCOMPARE(inode(m_cfg), inodeVorher); // not even replaced by an equal copy
}

void TestEinrichter::fremdeDateiBleibtUnveraendert_data()
{
    QTest::addColumn<QString>("vorlage");
    QTest::newRow("alle typen") << u"sendwacht-alle-typen-und-unbekannte.cfg"_s;
    QTest::newRow("unbekannter typ") << u"sendwacht-unbekannter-typ-14.cfg"_s;
    QTest::newRow("beschaedigt") << u"sendwacht-absurde-anzahl.cfg"_s;
}

void TestEinrichter::fremdeDateiBleibtUnveraendert()
{
    QFETCH(QString, vorlage);
    QVERIFY(QFile::copy(QStringLiteral(SENDARO_TESTDATEN) + u'/' + vorlage, m_cfg));
    const QByteArray vorher = lesen(m_cfg);
    QCOMPARE(starten({}), 0);
    QCOMPARE(lesen(m_cfg), vorher);
}

void TestEinrichter::zeigen()
{
    QVERIFY(QFile::copy(
        QStringLiteral(SENDARO_TESTDATEN "/sendwacht-alle-typen-und-unbekannte.cfg"), m_cfg));
    QByteArray aus;
    QCOMPARE(starten({u"--zeigen"_s}, &aus), 0);
    const QStringList zeilen = QString::fromUtf8(aus).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(zeilen.size(), 24);
    QCOMPARE(zeilen[0], u"0\t0\t(leer)"_s);
    QCOMPARE(zeilen[3], u"3\t3\t-2000000000"_s);
    QCOMPARE(zeilen[8], u"8\t8\t\"Größe – ok\""_s);
    QCOMPARE(zeilen[9], u"9\t8\t\"\""_s);
    QCOMPARE(zeilen[14], u"14\t11\tWahr"_s);
    QCOMPARE(zeilen[18], u"18\t19\t(4 Bytes: ef be ad de)"_s);

    QVERIFY(QFile::remove(m_cfg));
    QCOMPARE(starten({}), 0);
    QCOMPARE(starten({u"--zeigen"_s}, &aus), 0);
    const QStringList standard = QString::fromUtf8(aus).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(standard.size(), 128);
    QCOMPARE(standard[11], u"11\t8\t\"\""_s);
    QCOMPARE(standard[17], u"17\t11\tWahr"_s);
    QCOMPARE(standard[127], u"127\t3\t0"_s);
}

void TestEinrichter::zeigenFehler_data()
{
    QTest::addColumn<QString>("vorlage");
    QTest::addColumn<QString>("meldung");
    QTest::newRow("fehlt") << QString() << u"nicht initialisiert"_s;
    QTest::newRow("abgeschnitten") << u"sendwacht-text-laenger-als-datei.cfg"_s << u"beschädigt"_s;
    QTest::newRow("unbekannter typ")
        << u"sendwacht-unbekannter-typ-14.cfg"_s << u"unbekannten Typcode 14"_s;
}

void TestEinrichter::zeigenFehler()
{
    QFETCH(QString, vorlage);
    QFETCH(QString, meldung);
    if (!vorlage.isEmpty())
        QVERIFY(QFile::copy(QStringLiteral(SENDARO_TESTDATEN) + u'/' + vorlage, m_cfg));
    const QByteArray vorher = lesen(m_cfg);
    QByteArray fehler;
    QCOMPARE(starten({u"--zeigen"_s}, nullptr, &fehler), 1);
    QVERIFY2(QString::fromUtf8(fehler).contains(meldung), fehler.constData());
    QCOMPARE(QFile::exists(m_cfg), !vorlage.isEmpty()); // looking creates nothing
    QCOMPARE(lesen(m_cfg), vorher);
}

QTEST_GUILESS_MAIN(TestEinrichter)
#include "tst_einrichter.moc"
