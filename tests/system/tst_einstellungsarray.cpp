#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

#include <QFile>
#include <QLocale>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include "system/Einstellungsarray.h"
#include "system/Programmordner.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "tests/gemeinsam/Fehlerpruefung.h"

using namespace Qt::StringLiterals;

namespace {
// The test's own encoder of the layout, independent of the one under test
// (the test machine is little-endian).
template<typename T>
QByteArray roh(T v)
{
    return QByteArray(reinterpret_cast<const char*>(&v), sizeof v);
}
const auto u16 = roh<quint16>;
const auto el = [](quint16 typ, const QByteArray& daten = {}) { return u16(typ) + daten; };
const auto txt = [](const QByteArray& ansi) { return el(8, u16(quint16(ansi.size())) + ansi); };
const auto kopf = [](qint32 n, qint32 ab) { return u16(0x200C) + u16(1) + roh(n) + roh(ab); };
constexpr qint32 kMin = -2147483647 - 1;

// One element of type code `typ` holding `daten`.
QByteArray element(quint16 typ, const QString& daten)
{
    if (typ == 8)
        return txt(daten.toLatin1());
    if (typ == 4 || typ == 5 || typ == 7) // single, double, date
        return el(typ, typ == 4 ? roh(daten.toFloat()) : roh(daten.toDouble()));
    // Integers: the low bytes of the number; empty and null have no data.
    const int laenge = QMap<int, int>{{2, 2}, {3, 4}, {6, 8}, {11, 2}, {17, 1}, {19, 4}}.value(typ);
    return el(typ, roh(daten.toLongLong()).left(laenge));
}

QByteArray dateiLesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
}
bool dateiSchreiben(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
}
QByteArray vorlage(const QString& name)
{
    return dateiLesen(QStringLiteral(SENDARO_TESTDATEN "/") + name);
}
} // namespace

class TestEinstellungsarray : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(m_ordner.isValid());
        AppPfadSetzen(m_ordner.path());
    }

    void init() { QFile::remove(m_cfg); }

    void lesefehler_data() { falltabelle("system-faelle.txt", "lesefehler"); }

    void lesefehler()
    {
        QFETCH(QString, datei);
        QFETCH(QString, meldung);
        const QByteArray inhalt = datei.isEmpty() ? QByteArray() : vorlage(datei);
        QVERIFY(datei.isEmpty() || dateiSchreiben(m_cfg, inhalt));
        for (int versuch = 0; versuch < 2; ++versuch) { // the next start fails the same way
            QCOMPARE(fehlerVon([] { GetEinstellung(10); }),
                     u"(1) GetEinstellungsarray: "_s + meldung);
            QCOMPARE(dateiLesen(m_cfg), inhalt); // a missing file is left behind empty
        }
    }

    void keineGewoehnlicheDatei()
    {
        // A link to a pipe or to an endless device is refused at once,
        // checked on the opened file.
        const QString pipe = m_ordner.filePath(u"pipe"_s);
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        for (const QString& ziel : {pipe, u"/dev/zero"_s}) {
            QFile::remove(m_cfg);
            QVERIFY(QFile::link(ziel, m_cfg));
            QCOMPARE(fehlerVon([] { GetEinstellungsarray(); }),
                     u"(75) GetEinstellungsarray: \"%1\" ist keine gewöhnliche Datei (sondern ein "
                     u"Ordner, eine Pipe oder ein Gerät) und wird nicht gelesen."_s.arg(m_cfg));
        }
        QFile::remove(m_cfg);
    }

    void alleTypen()
    {
        // Every type code the suite writes, unknown ones that can be delimited
        // (nested arrays among them) and four bytes after the array.
        const QByteArray vorher = vorlage(u"sendwacht-alle-typen-und-unbekannte.cfg"_s);
        QVERIFY(dateiSchreiben(m_cfg, vorher));
        Einstellungsarray array = GetEinstellungsarray();
        PutEinstellungsarray(array);
        QCOMPARE(dateiLesen(m_cfg), vorher);

        // Elements 10 to 15 as they stand in the file, and after 10, 11 and 15 are set.
        const QByteArray mitte = el(11, u16(0xFFFF)) + el(11, u16(0)) + el(11, u16(1));
        const QByteArray alt = txt("alt.azs") + txt("C:\\Programme\\TV") + mitte + el(11, u16(0));
        const QByteArray neu = txt("neu-l\xe4nger ?.azs") + txt("") + mitte + el(11, u16(0xFFFF));
        QCOMPARE(vorher.count(alt), 1);
        array.textSetzen(10, u"neu-länger Ω.azs"_s); // stored in 1252, "?" for Ω
        array.textSetzen(11, QString());
        array.wahrheitswertSetzen(15, true);
        PutEinstellungsarray(array);
        QCOMPARE(dateiLesen(m_cfg), QByteArray(vorher).replace(alt, neu));
        QCOMPARE(GetEinstellung(10).alsText(), u"neu-länger ?.azs"_s);

        // Cut short anywhere inside the array, the file counts as damaged.
        QVERIFY(vorher.endsWith("REST"));
        const QByteArray ganz = vorher.chopped(4);
        for (qsizetype laenge = 1; laenge < ganz.size(); ++laenge) {
            const QString f = fehlerVon([&] { Einstellungsarray::dekodieren(ganz.left(laenge)); });
            QVERIFY2(f.contains(u"beschädigt"_s), qPrintable(u"%1: %2"_s.arg(laenge).arg(f)));
        }
    }

    void werte_data() { falltabelle("system-faelle.txt", "werte"); }

    void werte()
    {
        QFETCH(QString, typ);
        QFETCH(QString, daten);
        QFETCH(QString, erwartet);
        const QByteArray wert = element(typ.toUShort(), daten);
        const Einstellungswert w = Einstellungsarray::dekodieren(kopf(1, 0) + wert).element(0);
        QCOMPARE(w.bytes(), wert);
        const auto als = [](auto umwandlung) {
            QString text;
            const QString f = fehlerVon([&] { text = umwandlung(); });
            return f.isEmpty() ? text : u'!' + f.section(u')', 0, 0).mid(1);
        };
        QCOMPARE(als([&] { return w.alsText(); }) + u'|' +
                     als([&] { return QString::number(int(w.alsWahrheitswert())); }) + u'|' +
                     als([&] { return QString::number(w.alsZahl()); }),
                 erwartet);
    }

    void unbekannterTypOhneLaenge()
    {
        // Element 12 has type 14, whose length is not known: what follows it
        // cannot be found, so nothing may be written.
        const QByteArray vorher = vorlage(u"sendwacht-unbekannter-typ-14.cfg"_s);
        QVERIFY(dateiSchreiben(m_cfg, vorher));
        Einstellungsarray array = GetEinstellungsarray();
        QCOMPARE(array.element(11).alsText(), u"/opt/tv"_s);
        const QString f12 = fehlerVon([&] { array.element(12); });
        QVERIFY2(f12.contains(u"weil das Element 12 den unbekannten Typcode 14 hat"_s),
                 qPrintable(f12));
        array.textSetzen(10, u"b.azs"_s);
        const QString f = fehlerVon([&] { PutEinstellungsarray(array); });
        QVERIFY2(f.startsWith(u"(1) PutEinstellungsarray: "_s) &&
                     f.contains(u"wird nicht geschrieben"_s),
                 qPrintable(f));
        QCOMPARE(dateiLesen(m_cfg), vorher);
    }

    void grenzen()
    {
        const Einstellungsarray ab1 = Einstellungsarray::dekodieren(
            vorlage(u"sendwacht-untergrenze-1.cfg"_s)); // element i holds 100 * i, up to 20
        for (qint32 index : {1, 10, 20})
            QCOMPARE(ab1.element(index).alsZahl(), 100 * index);
        for (qint32 index : {0, 21, kMin})
            QVERIFY(fehlerVon([&] { ab1.element(index); }).startsWith(u"(9) "_s));
        // Empty, at the lowest lower bound: the upper bound lies below 32 bits.
        QVERIFY_THROWS_EXCEPTION(Fehler,
                                 Einstellungsarray::dekodieren(kopf(0, kMin)).element(kMin));

        // Too long for the 2-byte length, or outside the bounds: nothing changes.
        Einstellungsarray array(0, 3);
        const QByteArray vorher = array.kodieren();
        QCOMPARE(vorher, kopf(3, 0) + el(0) + el(0) + el(0));
        QVERIFY_THROWS_EXCEPTION(Fehler, array.textSetzen(2, QString(65535, u'x')));
        QVERIFY_THROWS_EXCEPTION(Fehler, array.setzen(3, Einstellungswert()));
        QCOMPARE(array.kodieren(), vorher);
    }

    void schreibfehlerLaesstDateiStehen()
    {
        // A write that fails part-way (disk full; here a file size limit,
        // which holds for root too) must leave the shared file as it was.
        const QByteArray vorher = vorlage(u"sendwacht-alle-typen-und-unbekannte.cfg"_s);
        QVERIFY(dateiSchreiben(m_cfg, vorher));
        Einstellungsarray array = GetEinstellungsarray();
        array.textSetzen(10, QString(2000, u'x'));
        rlimit alt{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &alt), 0);
        const auto signalVorher = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit grenze{rlim_t(vorher.size()), alt.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &grenze), 0);
        const QString f = fehlerVon([&] { PutEinstellungsarray(array); });
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &alt), 0);
        std::signal(SIGXFSZ, signalVorher);
        QVERIFY2(f.startsWith(u"(75) PutEinstellungsarray: "_s), qPrintable(f));
        QCOMPARE(dateiLesen(m_cfg), vorher);
    }

private:
    QTemporaryDir m_ordner;
    const QString m_cfg = m_ordner.filePath(u"sendwacht.cfg"_s);
};

QTEST_GUILESS_MAIN(TestEinstellungsarray)
#include "tst_einstellungsarray.moc"
