// The wizard driver walked by a scripted user along the roads of
// tests/data/assistent-wege.txt. Each road runs in a fresh program folder;
// see that file for the form of a road.
#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include "system/Einstellungsarray.h"
#include "system/Programmordner.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "tests/gemeinsam/Fehlerpruefung.h"
#include "tests/wizard/Skriptbenutzer.h"
#include "wizard/Assistent.h"

namespace {
/// The lines of one road, split at tabs, with {T}, {P} and {n*c} put in.
QList<QStringList> weg(const QString& name, const QString& wurzel)
{
    QFile f(QStringLiteral(SENDARO_TESTDATEN "/assistent-wege.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> zeilen;
    bool drin = false;
    static const QRegularExpression wiederholung(u"\\{(\\d+)\\*(.)\\}"_s);
    for (QString zeile : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (zeile.startsWith(u'[')) {
            drin = zeile == u'[' + name + u']';
            continue;
        }
        if (!drin || zeile.trimmed().isEmpty() || zeile.startsWith(u'#'))
            continue;
        zeile.replace(u"{T}"_s, wurzel).replace(u"{P}"_s, wurzel + u"/prog"_s);
        for (auto m = wiederholung.match(zeile); m.hasMatch(); m = wiederholung.match(zeile))
            zeile.replace(m.capturedStart(), m.capturedLength(),
                          m.captured(2).repeated(m.captured(1).toInt()));
        zeilen << zeile.split(u'\t');
    }
    return zeilen;
}

QByteArray dateiinhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

/// A file of tests/data with {T} replaced by the test's folder.
QByteArray vorlage(const QString& name, const QString& wurzel)
{
    return dateiinhalt(QStringLiteral(SENDARO_TESTDATEN "/") + name)
        .replace("{T}", QFile::encodeName(wurzel));
}

bool anlegen(const QString& pfad, const QByteArray& inhalt)
{
    QDir().mkpath(QFileInfo(pfad).path());
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
}

/// The settings einrichter writes, with the road's changes.
Einstellungsarray einstellungen(const QMap<int, QString>& aenderungen)
{
    Einstellungsarray array(0, 128);
    array.textSetzen(10, QString());
    array.textSetzen(11, QString());
    array.wahrheitswertSetzen(15, true);
    array.wahrheitswertSetzen(17, true);
    array.setzen(127, Einstellungswert::ausZahl(0));
    for (auto it = aenderungen.cbegin(); it != aenderungen.cend(); ++it) {
        if (it.value() == u"Wahr"_s || it.value() == u"Falsch"_s)
            array.wahrheitswertSetzen(it.key(), it.value() == u"Wahr"_s);
        else
            array.textSetzen(it.key(), it.value());
    }
    return array;
}

/// The status pages wait for nobody, so a road lists them without answer.
bool wartet(const QStringList& zeile)
{
    return zeile.size() > 2 && !zeile[2].isEmpty();
}
} // namespace

class TestAssistent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanupTestCase() { AppPfadSetzen(QString()); }

    void wege_data()
    {
        QTest::addColumn<QString>("name");
        QFile f(QStringLiteral(SENDARO_TESTDATEN "/assistent-wege.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        for (const QString& zeile : QString::fromUtf8(f.readAll()).split(u'\n')) {
            if (zeile.startsWith(u'['))
                QTest::newRow(qPrintable(zeile.mid(1, zeile.size() - 2)))
                    << zeile.mid(1, zeile.size() - 2);
        }
    }

    // Every way of the step table is taken by some road, and no road takes
    // another: a changed target of Weiter or Zurück fails that road.
    void schritte_data() { falltabelle("assistent-schritte.txt", "schritte"); }
    void schritte()
    {
        QFETCH(QString, weiter);
        QFETCH(QString, zurueck);
        const QString schritt = QString::fromUtf8(QTest::currentDataTag());
        QSet<QString> istWeiter, istZurueck;
        const auto id = [](const QString& feld) {
            QString i = feld.section(u'{', 0, 0).section(u'*', 0, 0);
            return i.endsWith(u"neu"_s) ? i.chopped(3) : i;
        };
        static const QRegularExpression schrittname(u"^(S\\d+|Testfrage)$"_s);
        QFile f(QStringLiteral(SENDARO_TESTDATEN "/assistent-wege.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        // The pages of each road in order, with their answers.
        QList<QStringList> seiten;
        for (const QString& zeile : QString::fromUtf8(f.readAll()).split(u'\n')) {
            if (zeile.startsWith(u'['))
                seiten << QStringList{u"["_s};
            else if (!zeile.isEmpty() && zeile.at(0).isUpper())
                seiten << QStringList{id(zeile.section(u'\t', 0, 0)), zeile.section(u'\t', 2, 2)};
        }
        for (qsizetype i = 0; i < seiten.size(); ++i) {
            if (seiten[i].first() != schritt)
                continue;
            const QString antwort = seiten[i].value(1).section(u' ', 0, 0);
            if (antwort != u"w"_s && antwort != u"z"_s)
                continue;
            // Boxes and status pages lie on the way; a page answered with
            // a button of its own ends it.
            for (qsizetype j = i + 1; j < seiten.size() && seiten[j].first() != u"["_s; ++j) {
                if (schrittname.match(seiten[j].first()).hasMatch()) {
                    (antwort == u"w"_s ? istWeiter : istZurueck) << seiten[j].first();
                    break;
                }
                const QString a = seiten[j].value(1);
                if (a.startsWith(u'w') || a.startsWith(u'z') || a.startsWith(u'a'))
                    break;
            }
        }
        const auto menge = [](const QString& text) {
            const QStringList teile = text.split(u'|', Qt::SkipEmptyParts);
            return QSet<QString>(teile.cbegin(), teile.cend());
        };
        QCOMPARE(istWeiter, menge(weiter));
        QCOMPARE(istZurueck, menge(zurueck));
    }

    void wege()
    {
        QFETCH(QString, name);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString wurzel = tmp.path();
        const QString prog = wurzel + u"/prog/"_s;
        QVERIFY(QDir().mkpath(prog));
        AppPfadSetzen(prog);

        Skriptseiten seiten;
        Skriptumgebung umgebung;
        umgebung.d.sonderOrdnerSetzen(38, wurzel + u"/opt"_s);
        umgebung.d.sonderOrdnerSetzen(36, wurzel + u"/usr"_s);
        umgebung.d.sonderOrdnerSetzen(37, wurzel + u"/usr/bin"_s);

        // Set-up, the pages with their answers, and the expectations.
        QMap<int, QString> aenderungen;
        QString einstellungsdatei = u"standard"_s;
        QStringList erwarteteIds, erwarteteVorgaben;
        QList<QStringList> erwartungen;
        std::function<void()> aktion;
        rlim_t dateigrenze = RLIM_INFINITY;
        const QList<QStringList> zeilen = weg(name, wurzel);
        QVERIFY2(!zeilen.isEmpty(), "Der Weg ist leer.");
        for (const QStringList& z : zeilen) {
            const QString& art = z[0];
            const QString a = z.value(1), b = z.value(2);
            if (art == u"=>"_s) {
                erwartungen << z.mid(1);
            } else if (art == u"einstellung"_s) {
                aenderungen[a.toInt()] = b;
            } else if (art == u"einstellungsdatei"_s) {
                einstellungsdatei = a;
            } else if (art == u"definition"_s) {
                QVERIFY(anlegen(prog + a, vorlage(b, wurzel)));
            } else if (art == u"datei"_s) {
                QVERIFY(anlegen(wurzel + u'/' + a, "x"));
            } else if (art == u"fifo"_s) {
                QCOMPARE(::mkfifo(QFile::encodeName(wurzel + u'/' + a).constData(), 0600), 0);
            } else if (art == u"ordner"_s) {
                QVERIFY(QDir().mkpath(wurzel + u'/' + a));
            } else if (art == u"prozess"_s) {
                umgebung.prozesse << a;
            } else if (art == u"startet"_s) {
                umgebung.startet[a] = b;
                umgebung.d.startbar << a;
            } else if (art == u"fenster"_s) {
                umgebung.d.fenster << a;
            } else if (art == u"dateigrenze"_s) {
                dateigrenze = a.toLongLong();
            } else if (art == u"zufall"_s) {
                umgebung.zufallswert = a.toDouble();
            } else if (art == u"aendern"_s) {
                // Done by the user while the next page waits.
                aktion = [=, this] { QVERIFY(anlegen(prog + a, vorlage(b, wurzel))); };
            } else {
                QVERIFY2(art[0].isUpper() || art[0] == u'?', qPrintable(u"Zeile: "_s + art));
                erwarteteIds << art;
                erwarteteVorgaben << a;
                if (wartet(z)) {
                    if (aktion)
                        seiten.aktionen[seiten.antworten.size()] = std::exchange(aktion, {});
                    seiten.antworten << b;
                }
            }
        }

        if (einstellungsdatei == u"leer"_s)
            QVERIFY(anlegen(prog + u"sendwacht.cfg"_s, QByteArray()));
        else if (einstellungsdatei == u"standard"_s)
            EinstellungsdateiSchreiben(Einstellungsdateipfad(), einstellungen(aenderungen));
        const QByteArray vorherCfg = dateiinhalt(Einstellungsdateipfad());
        QMap<QString, QByteArray> vorherDateien;
        for (const QString& n : QDir(prog).entryList(QDir::Files))
            vorherDateien[n] = dateiinhalt(prog + n);

        // A file size limit holds for root too: writing past it fails
        // (with SIGXFSZ ignored), the one write error a test can cause here.
        rlimit grenzeVorher{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &grenzeVorher), 0);
        const auto signalVorher = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit grenze{dateigrenze, grenzeVorher.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &grenze), 0);
        Assistent assistent(seiten, umgebung);
        const QString fehler = fehlerVon([&] { assistent.ausfuehren(); });
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &grenzeVorher), 0);
        std::signal(SIGXFSZ, signalVorher);

        // The countdown pages are one entry of the road; their captions are
        // checked here.
        QStringList ids, vorgaben, sekunden;
        int lauf = 0;
        for (qsizetype i = 0; i < seiten.ids.size(); ++i) {
            const QString& id = seiten.ids[i];
            if (!id.startsWith(u"Sek{"_s)) {
                ids << id;
                vorgaben << seiten.vorgaben[i];
                continue;
            }
            if (i == 0 || !seiten.ids[i - 1].startsWith(u"Sek{"_s)) {
                ids << QString();
                vorgaben << QString();
                lauf = 0;
            }
            sekunden << id.mid(4, id.size() - 5);
            ids.last() = u"Sek*"_s + QString::number(++lauf);
        }
        QCOMPARE(ids, erwarteteIds);
        QStringList erwartet, gezeigt;
        for (qsizetype i = 0; i < ids.size(); ++i) {
            if (erwarteteVorgaben[i].isEmpty())
                continue;
            erwartet << ids[i] + u": "_s +
                            (erwarteteVorgaben[i] == u"\"\""_s ? QString() : erwarteteVorgaben[i]);
            gezeigt << ids[i] + u": "_s + vorgaben[i];
        }
        QCOMPARE(gezeigt, erwartet);
        // Every recording wait counts 14,9 down to 0,0 in tenths.
        QStringList countdown;
        for (int t = 149; t >= 0; --t)
            countdown << QStringLiteral("%1,%2").arg(t / 10).arg(t % 10);
        for (qsizetype i = 0; i < sekunden.size(); i += 150)
            QCOMPARE(sekunden.mid(i, 150), countdown);

        bool fehlerErwartet = false;
        QStringList geaendert; // files the road expects to change
        for (const QStringList& e : erwartungen) {
            const QString& was = e[0];
            const QString a = e.value(1), b = e.value(2);
            if (was == u"fehler"_s) {
                fehlerErwartet = true;
                QVERIFY2(fehler.startsWith(a), qPrintable(fehler));
            } else if (was == u"datei"_s) {
                geaendert << a;
                const QByteArray ist = dateiinhalt(prog + a), soll = vorlage(b, wurzel);
                // The first line that differs, then the whole.
                const QList<QByteArray> a1 = ist.split('\n'), a2 = soll.split('\n');
                for (qsizetype i = 0; i < std::min(a1.size(), a2.size()); ++i)
                    QCOMPARE(a1[i], a2[i]);
                QCOMPARE(ist, soll);
            } else if (was == u"neu"_s) {
                geaendert << a;
                QVERIFY2(QFileInfo::exists(prog + a), qPrintable(a));
            } else if (was == u"keine datei"_s) {
                QVERIFY2(!QFileInfo::exists(prog + a), qPrintable(a));
            } else if (was == u"einstellungen"_s) {
                geaendert << u"sendwacht.cfg"_s;
                einstellungenPruefen(vorherCfg, a);
            } else if (was == u"stumm"_s) {
                QCOMPARE(umgebung.stumm.join(u','), a);
            } else if (was == u"desktop"_s) {
                QCOMPARE(umgebung.d.protokoll.join(u'|'), a);
            } else if (was == u"gestartet"_s) {
                QCOMPARE(umgebung.minimiertGestartet.join(u'|'), a);
            } else if (was == u"schlafen"_s) {
                QCOMPARE(umgebung.geschlafen, a.toLongLong());
            } else {
                QFAIL(qPrintable(u"Unbekannte Erwartung: "_s + was));
            }
        }
        if (!fehlerErwartet) {
            QCOMPARE(fehler, QString());
            QVERIFY(seiten.geschlossen);
        }
        // Everything the road does not name stays as it was.
        for (auto it = vorherDateien.cbegin(); it != vorherDateien.cend(); ++it) {
            if (!geaendert.contains(it.key()))
                QVERIFY2(dateiinhalt(prog + it.key()) == it.value(), qPrintable(it.key()));
        }
        for (const QString& n : QDir(prog).entryList(QDir::Files))
            QVERIFY2(vorherDateien.contains(n) || geaendert.contains(n), qPrintable(n));
    }

private:
    /// "10=…;11=…;15=…": those three elements hold the values given, every
    /// other element keeps its bytes.
    static void einstellungenPruefen(const QByteArray& vorher, const QString& werte)
    {
        const Einstellungsarray alt = Einstellungsarray::dekodieren(vorher);
        const Einstellungsarray neu = EinstellungsdateiLesen(Einstellungsdateipfad());
        QCOMPARE(neu.untergrenze(), alt.untergrenze());
        QCOMPARE(neu.anzahl(), alt.anzahl());
        QMap<qint32, QString> soll;
        for (const QString& paar : werte.split(u';'))
            soll[paar.section(u'=', 0, 0).toInt()] = paar.section(u'=', 1);
        QCOMPARE(soll.keys(), QList<qint32>({10, 11, 15}));
        for (qint32 i = 0; i < alt.anzahl(); ++i) {
            if (!soll.contains(i)) {
                QVERIFY2(neu.element(i).bytes() == alt.element(i).bytes(),
                         qPrintable(QString::number(i)));
                continue;
            }
            // Stored as the suite reads them: 15 with type code 11 (boolean),
            // 10 and 11 with type code 8 (text), low byte first.
            QCOMPARE(neu.element(i).bytes().left(2).toHex(), i == 15 ? "0b00"_ba : "0800"_ba);
            QCOMPARE(neu.element(i).alsText(), soll[i]);
        }
    }
};

QTEST_GUILESS_MAIN(TestAssistent)
#include "tst_assistent.moc"
