#include <cstring>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include "system/Einstellungsarray.h"
#include "system/Fehler.h"
#include "system/Programmordner.h"

using namespace Qt::StringLiterals;

namespace {
// The test's own encoder of the file layout, independent of the one under
// test: little-endian numbers, tagged values with a 2-byte type code.
template<typename T>
QByteArray roh(T v)
{
    QByteArray b(sizeof(T), '\0');
    std::memcpy(b.data(), &v, sizeof(T)); // the test machine is little-endian
    return b;
}
QByteArray u16(quint16 v)
{
    return roh(v);
}
QByteArray i32(qint32 v)
{
    return roh(v);
}
QByteArray kopf(qint32 anzahl, qint32 untergrenze)
{
    return u16(0x200C) + u16(1) + i32(anzahl) + i32(untergrenze);
}
QByteArray el(quint16 typ, const QByteArray& daten = {})
{
    return u16(typ) + daten;
}
QByteArray txt(const QByteArray& ansi)
{
    return el(8, u16(quint16(ansi.size())) + ansi);
}

// The elements of tests/data/sendwacht-alle-typen-und-unbekannte.cfg, in order.
QList<QByteArray> alleTypen()
{
    return {
        el(0),
        el(1),
        el(2, roh<qint16>(-12345)),
        el(3, i32(-2000000000)),
        el(4, roh<float>(1.5f)),
        el(5, roh<double>(-2.25)),
        el(6, roh<qint64>(123456)),
        el(7, roh<double>(45000.5)),
        txt("Gr\xf6\xdf"
            "e \x96 ok"),
        txt(""),
        txt("alt.azs"),
        txt("C:\\Programme\\TV"),
        el(11, u16(0xFFFF)),
        el(11, u16(0)),
        el(11, u16(1)),
        el(11, u16(0)),
        el(17, QByteArray(1, char(200))),
        el(11, u16(0xFFFF)),
        el(19, i32(qint32(0xDEADBEEF))),
        el(0x200C, u16(1) + i32(2) + i32(0) + el(2, roh<qint16>(7)) + txt("x")),
        el(0x2011, u16(1) + i32(3) + i32(1) + QByteArray("\x01\x02\x03")),
        el(10, i32(qint32(0x800A0001))),
        el(0x2008, u16(2) + i32(2) + i32(0) + i32(1) + i32(0) + u16(2) + "ab" + u16(0)),
        el(20, roh<qint64>(-5)),
    };
}

QByteArray dateiLesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
}
} // namespace

class TestEinstellungsarray : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void nichtInitialisiert_data();
    void nichtInitialisiert();
    void rundreiseAendertNurGesetzteElemente();
    void werte_data();
    void werte();
    void beschaedigt_data();
    void beschaedigt();
    void jedesAbgeschnitteneEndeIstEinFehler();
    void unbekannterTypOhneLaenge();
    void untergrenzeEins();
    void textInAnsi();

private:
    void vorlage(const QString& name);
    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_cfg;
};

void TestEinstellungsarray::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestEinstellungsarray::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    QVERIFY(m_ordner->isValid());
    AppPfadSetzen(m_ordner->path());
    m_cfg = m_ordner->filePath(u"sendwacht.cfg"_s);
    QCOMPARE(Einstellungsdateipfad(), m_cfg);
}

void TestEinstellungsarray::vorlage(const QString& name)
{
    QVERIFY(QFile::copy(QStringLiteral(SENDARO_TESTDATEN) + u'/' + name, m_cfg));
}

void TestEinstellungsarray::nichtInitialisiert_data()
{
    QTest::addColumn<bool>("vorhanden");
    QTest::addColumn<QByteArray>("inhalt");
    QTest::newRow("fehlt") << false << QByteArray();
    QTest::newRow("leer") << true << QByteArray();
    QTest::newRow("leerer wert") << true << el(0) + "egal";
}

void TestEinstellungsarray::nichtInitialisiert()
{
    QFETCH(bool, vorhanden);
    QFETCH(QByteArray, inhalt);
    if (vorhanden) {
        QFile f(m_cfg);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    for (int versuch = 0; versuch < 2; ++versuch) { // the next start fails the same way
        try {
            GetEinstellung(10);
            QFAIL("keine Ausnahme");
        } catch (const Fehler& f) {
            QCOMPARE(f.nummer(), 1);
            QCOMPARE(f.quelle(), u"GetEinstellungsarray"_s);
            QCOMPARE(f.meldung(),
                     u"Der Sendaro ist nicht initialisiert. Die Datei \"sendwacht.cfg\" "
                     u"exisitiert nicht. Starten Sie das Hilfsprogramm \"einrichter.exe\", um "
                     u"dieses Problem zu korrigieren."_s);
        }
        QVERIFY(QFileInfo(m_cfg).isFile());
        QCOMPARE(dateiLesen(m_cfg), inhalt);
    }
}

void TestEinstellungsarray::rundreiseAendertNurGesetzteElemente()
{
    vorlage(u"sendwacht-alle-typen-und-unbekannte.cfg"_s);
    QList<QByteArray> elemente = alleTypen();
    const QByteArray rest("REST");
    QCOMPARE(dateiLesen(m_cfg), kopf(24, 0) + elemente.join() + rest);

    Einstellungsarray array = GetEinstellungsarray();
    QCOMPARE(array.untergrenze(), 0);
    QCOMPARE(array.obergrenze(), qint64(23));
    QVERIFY(array.vollstaendig());
    for (qint32 i = 0; i < 24; ++i)
        QCOMPARE(array.element(i).bytes(), elemente[i]);

    // Unchanged, the file comes back byte for byte, the bytes after the
    // array included.
    PutEinstellungsarray(array);
    QCOMPARE(dateiLesen(m_cfg), kopf(24, 0) + elemente.join() + rest);

    array.textSetzen(10, u"neu-länger.azs"_s);
    array.textSetzen(11, u""_s);
    array.wahrheitswertSetzen(15, true);
    PutEinstellungsarray(array);

    elemente[10] = txt("neu-l\xe4nger.azs");
    elemente[11] = txt("");
    elemente[15] = el(11, u16(0xFFFF));
    QCOMPARE(dateiLesen(m_cfg), kopf(24, 0) + elemente.join() + rest);
    QCOMPARE(GetEinstellung(10).alsText(), u"neu-länger.azs"_s);
    QCOMPARE(GetEinstellung(16).bytes(), elemente[16]);
}

void TestEinstellungsarray::werte_data()
{
    QTest::addColumn<QByteArray>("wert");
    QTest::addColumn<QString>("text"); // "!" + number: that error is expected
    QTest::addColumn<QString>("wahr");
    QTest::addColumn<QString>("zahl");

    QTest::newRow("leer") << el(0) << u""_s << u"0"_s << u"0"_s;
    QTest::newRow("null") << el(1) << u"!94"_s << u"!94"_s << u"!94"_s;
    QTest::newRow("int32") << el(3, i32(-2000000000)) << u"-2000000000"_s << u"1"_s
                           << u"-2000000000"_s;
    QTest::newRow("single") << el(4, roh<float>(2.5f)) << u"2,5"_s << u"1"_s << u"2"_s;
    QTest::newRow("double") << el(5, roh<double>(-3.5)) << u"-3,5"_s << u"1"_s << u"-4"_s;
    QTest::newRow("double gross") << el(5, roh<double>(1e20)) << u"1E+20"_s << u"1"_s << u"!6"_s;
    QTest::newRow("waehrung") << el(6, roh<qint64>(-123456)) << u"-12,3456"_s << u"1"_s << u"-12"_s;
    QTest::newRow("waehrung halb") << el(6, roh<qint64>(25000)) << u"2,5"_s << u"1"_s << u"2"_s;
    QTest::newRow("datum") << el(7, roh<double>(45000.5)) << u"15.03.2023 12:00:00"_s << u"1"_s
                           << u"45000"_s;
    QTest::newRow("datum ohne zeit")
        << el(7, roh<double>(-1.0)) << u"29.12.1899"_s << u"1"_s << u"-1"_s;
    QTest::newRow("text zahl") << txt(" 42 ") << u" 42 "_s << u"1"_s << u"42"_s;
    QTest::newRow("text wahr") << txt("Wahr") << u"Wahr"_s << u"1"_s << u"!13"_s;
    QTest::newRow("text hex") << txt("&HFF") << u"&HFF"_s << u"1"_s << u"255"_s;
    QTest::newRow("text leer") << txt("") << u""_s << u"!13"_s << u"!13"_s;
    QTest::newRow("wahr") << el(11, u16(0xFFFF)) << u"Wahr"_s << u"1"_s << u"-1"_s;
    QTest::newRow("byte") << el(17, QByteArray(1, char(200))) << u"200"_s << u"1"_s << u"200"_s;
    QTest::newRow("unbekannt") << el(19, i32(1)) << u"!13"_s << u"!13"_s << u"!13"_s;
}

void TestEinstellungsarray::werte()
{
    QFETCH(QByteArray, wert);
    QFETCH(QString, text);
    QFETCH(QString, wahr);
    QFETCH(QString, zahl);
    const Einstellungswert w = Einstellungsarray::dekodieren(kopf(1, 0) + wert).element(0);

    const auto pruefen = [](const QString& erwartet, auto umwandlung) {
        try {
            const QString ergebnis = umwandlung();
            QCOMPARE(ergebnis, erwartet);
        } catch (const Fehler& f) {
            QCOMPARE(u"!"_s + QString::number(f.nummer()), erwartet);
        }
    };
    pruefen(text, [&] { return w.alsText(); });
    pruefen(wahr, [&] { return QString::number(int(w.alsWahrheitswert())); });
    pruefen(zahl, [&] { return QString::number(w.alsZahl()); });
}

void TestEinstellungsarray::beschaedigt_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QString>("grund");
    QTest::newRow("kein array") << u"sendwacht-falscher-kopf-text.cfg"_s << u"Typcode 8"_s;
    QTest::newRow("zwei dimensionen") << u"sendwacht-zwei-dimensionen.cfg"_s << u"2 Dimensionen"_s;
    QTest::newRow("absurde anzahl") << u"sendwacht-absurde-anzahl.cfg"_s << u"2147483647"_s;
    QTest::newRow("negative anzahl") << u"sendwacht-negative-anzahl.cfg"_s << u"negativ"_s;
    QTest::newRow("grenzen") << u"sendwacht-grenzen-ueberlauf.cfg"_s << u"Indexgrenzen"_s;
    QTest::newRow("text zu lang") << u"sendwacht-text-laenger-als-datei.cfg"_s << u"Element 1"_s;
    QTest::newRow("kopf") << u"sendwacht-kopf-abgeschnitten.cfg"_s << u"Kopf"_s;
}

void TestEinstellungsarray::beschaedigt()
{
    QFETCH(QString, datei);
    QFETCH(QString, grund);
    vorlage(datei);
    const QByteArray vorher = dateiLesen(m_cfg);
    try {
        GetEinstellungsarray();
        QFAIL("keine Ausnahme");
    } catch (const Fehler& f) {
        QCOMPARE(f.quelle(), u"GetEinstellungsarray"_s);
        QVERIFY2(f.meldung().startsWith(u"Die Datei \"sendwacht.cfg\" ist beschädigt"_s),
                 qPrintable(f.meldung()));
        QVERIFY2(f.meldung().contains(grund), qPrintable(f.meldung()));
    }
    QCOMPARE(dateiLesen(m_cfg), vorher);
}

void TestEinstellungsarray::jedesAbgeschnitteneEndeIstEinFehler()
{
    const QByteArray ganz = kopf(24, 0) + alleTypen().join();
    for (qsizetype laenge = 1; laenge < ganz.size(); ++laenge) {
        try {
            Einstellungsarray::dekodieren(ganz.left(laenge));
            QFAIL(qPrintable(u"Länge %1 gelesen"_s.arg(laenge)));
        } catch (const Fehler& f) {
            QVERIFY2(f.meldung().contains(u"beschädigt"_s), qPrintable(f.meldung()));
        }
    }
    QCOMPARE(Einstellungsarray::dekodieren(ganz).kodieren(), ganz);
}

void TestEinstellungsarray::unbekannterTypOhneLaenge()
{
    vorlage(u"sendwacht-unbekannter-typ-14.cfg"_s);
    const QByteArray vorher = dateiLesen(m_cfg);
    Einstellungsarray array = GetEinstellungsarray();
    QVERIFY(!array.vollstaendig());
    QCOMPARE(array.element(10).alsText(), u"a.azs"_s);
    QCOMPARE(array.element(11).alsText(), u"/opt/tv"_s);
    for (qint32 index : {12, 14}) {
        try {
            array.element(index);
            QFAIL("Element hinter dem unbekannten Typ gelesen");
        } catch (const Fehler& f) {
            QVERIFY2(f.meldung().contains(u"weil das Element 12 den unbekannten Typcode 14 hat"_s),
                     qPrintable(f.meldung()));
        }
    }
    array.textSetzen(10, u"b.azs"_s);
    try {
        PutEinstellungsarray(array);
        QFAIL("geschrieben");
    } catch (const Fehler& f) {
        QCOMPARE(f.quelle(), u"PutEinstellungsarray"_s);
        QVERIFY2(f.meldung().contains(u"wird nicht geschrieben"_s), qPrintable(f.meldung()));
    }
    QCOMPARE(dateiLesen(m_cfg), vorher);
}

void TestEinstellungsarray::untergrenzeEins()
{
    vorlage(u"sendwacht-untergrenze-1.cfg"_s);
    QCOMPARE(GetEinstellung(10).alsZahl(), 1000);
    QCOMPARE(GetEinstellung(1).alsZahl(), 100);
    QCOMPARE(GetEinstellung(20).alsZahl(), 2000);
    for (qint32 index : {0, 21, -2147483647 - 1}) {
        try {
            GetEinstellung(index);
            QFAIL("außerhalb gelesen");
        } catch (const Fehler& f) {
            QCOMPARE(f.nummer(), 9);
        }
    }

    // Empty, at the lowest lower bound: the upper bound lies below 32 bits.
    const Einstellungsarray leer = Einstellungsarray::dekodieren(kopf(0, -2147483647 - 1));
    QCOMPARE(leer.obergrenze(), qint64(-2147483649LL));
    QVERIFY_THROWS_EXCEPTION(Fehler, leer.element(-2147483647 - 1));
}

void TestEinstellungsarray::textInAnsi()
{
    Einstellungsarray array(0, 3);
    array.textSetzen(1, u"€ä Ω"_s);
    QCOMPARE(array.kodieren(), kopf(3, 0) + el(0) + txt("\x80\xe4 ?") + el(0));
    QCOMPARE(array.element(1).alsText(), u"€ä ?"_s);

    // Too long for the 2-byte length, or outside the bounds: nothing changes.
    const QByteArray vorher = array.kodieren();
    QVERIFY_THROWS_EXCEPTION(Fehler, array.textSetzen(2, QString(65535, u'x')));
    QVERIFY_THROWS_EXCEPTION(Fehler, array.setzen(3, Einstellungswert()));
    QCOMPARE(array.kodieren(), vorher);
    array.textSetzen(2, QString(65534, u'x'));
    QCOMPARE(array.element(2).daten().size(), 2 + 65534);
}

QTEST_GUILESS_MAIN(TestEinstellungsarray)
#include "tst_einstellungsarray.moc"
