#include <csignal>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "script/Aufzeichnungskript.h"
#include "script/Skriptfelder.h"
#include "script/x11/X11Desktop.h"
#include "system/Einstellungsarray.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "tests/gemeinsam/Fehlerpruefung.h"
#include "tests/gemeinsam/X11Testhilfe.h"

// Only as an independent observer of the keyboard.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

/// The X11 back-end on a real X server, once under openbox and once without
/// a window manager. Keys go to our key-recording window (tastenfenster) or
/// to xterm; xdotool, xprop and plain Xlib observe.
class TestX11Desktop : public QObject
{
    Q_OBJECT

    X11Desktop* m_desktop = nullptr;
    Display* m_x = nullptr;
    const bool m_mitWm = qgetenv("SENDARO_TEST_WM") == "1";
    QTemporaryDir m_tmp;
    QList<qint64> m_pids; // started through the desktop
    QByteArray m_funktion;

    QString datei(const QString& titel) const { return m_tmp.filePath(titel + u".txt"_s); }
    QProcess* starten(const QString& programm, const QStringList& argumente)
    {
        auto* p = new QProcess(this);
        p->start(programm, argumente);
        return p;
    }
    QProcess* empfaenger(const QString& titel)
    {
        return starten(QStringLiteral(SENDARO_TASTENFENSTER),
                       {u"--titel"_s, titel, u"--ausgabe"_s, datei(titel)});
    }

    // As the interpreter searches: try, wait for a change of the windows, again.
    bool aktivieren(const QString& titel, int maxMs = 15000)
    {
        QElapsedTimer uhr;
        uhr.start();
        while (!m_desktop->fensterAktivieren(titel, QString())) {
            if (uhr.elapsed() >= maxMs)
                return false;
            m_desktop->aufFensteraenderungWarten(int(maxMs - uhr.elapsed()));
        }
        return true;
    }

    // The server's input focus; with a window manager, its active window must agree.
    QString aktiverTitel() const
    {
        const QString fokus = programmAusgabe(u"xdotool"_s, {u"getwindowfocus"_s, u"-f"_s});
        const QString aktiv = programmAusgabe(u"xdotool"_s, {u"getactivewindow"_s});
        const QString titel = programmAusgabe(u"xdotool"_s, {u"getwindowname"_s, fokus});
        return !m_mitWm || aktiv == fokus ? titel : u"(Fokus %1, aktiv %2)"_s.arg(titel, aktiv);
    }

    QString fensterId(const QString& titel) const
    {
        return programmAusgabe(u"xdotool"_s, {u"search"_s, u"--name"_s, u'^' + titel + u'$'});
    }
    bool ikonisch(const QString& titel) const
    {
        return programmAusgabe(u"xprop"_s, {u"-id"_s, fensterId(titel), u"WM_STATE"_s})
            .contains(u"Iconic"_s);
    }

    QList<int> gedrueckteTasten() const
    {
        char tasten[32] = {};
        XQueryKeymap(m_x, tasten);
        QList<int> unten;
        for (int i = 0; i < 256; ++i)
            if (tasten[i / 8] & (1 << (i % 8)))
                unten << i;
        return unten;
    }

    bool keysymBelegt(KeySym keysym) const
    {
        int min = 0;
        int max = 0;
        XDisplayKeycodes(m_x, &min, &max);
        int breite = 0;
        KeySym* syms = XGetKeyboardMapping(m_x, KeyCode(min), max - min + 1, &breite);
        const bool belegt = std::count(syms, syms + (max - min + 1) * breite, keysym) > 0;
        XFree(syms);
        return belegt;
    }

    // The whole core keymap, to tell borrowed keycodes.
    QList<KeySym> tastaturKarte() const
    {
        int min = 0;
        int max = 0;
        XDisplayKeycodes(m_x, &min, &max);
        int breite = 0;
        KeySym* syms = XGetKeyboardMapping(m_x, KeyCode(min), max - min + 1, &breite);
        const QList<KeySym> karte(syms, syms + (max - min + 1) * breite);
        XFree(syms);
        return karte;
    }

    XkbStateRec tastaturZustand() const
    {
        XkbStateRec zustand{};
        XkbGetState(m_x, XkbUseCoreKbd, &zustand);
        return zustand;
    }
    void feststelltasteSetzen(bool an)
    {
        XkbLockModifiers(m_x, XkbUseCoreKbd, LockMask, an ? LockMask : 0);
        XSync(m_x, False);
    }

    // Runs a command line of a definition against the key-recording window of
    // the current test function; what the window got from it (with the
    // keysyms of named keys).
    QString empfangenNach(const QString& befehl, bool keysyms)
    {
        const QString titel = u"Tasten Empfänger"_s;
        if (findChildren<QProcess*>().isEmpty())
            starten(QStringLiteral(SENDARO_TASTENFENSTER),
                    QStringList{u"--titel"_s, titel, u"--ausgabe"_s, datei(titel)} +
                        QStringList(keysyms, u"--keysym"_s));
        if (!aktivieren(titel))
            return u"(nicht aktiviert)"_s;
        const qsizetype vorher = dateiText(datei(titel)).size();
        Skriptfelder felder;
        const QString fehler = fehlerVon([&] { BefehlAusführen(felder, *m_desktop, befehl); });
        if (!fehler.isEmpty())
            return fehler;
        // A marker sent afterwards tells when everything before it has arrived.
        if (!m_desktop->tastenSenden(u"#"_s))
            return u"(Marke nicht gesendet)"_s;
        QString text;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                text = dateiText(datei(titel)).mid(vorher);
                return text.endsWith(u'#');
            },
            5000));
        if (!gedrueckteTasten().isEmpty())
            return u"(Tasten bleiben gedrückt)"_s;
        if (!text.endsWith(u'#'))
            return text + u"(ohne Marke)"_s;
        text.chop(1);
        return text;
    }

    // aufzeichnen in a program folder of its own, with a settings file.
    QString programmordner() const { return m_tmp.filePath(u"programmordner"_s); }
    bool definitionSchreiben(const QString& name, const QString& inhalt)
    {
        QFile f(programmordner() + u'/' + name);
        const QByteArray utf8 = inhalt.toUtf8();
        return f.open(QIODevice::WriteOnly) && f.write(utf8) == utf8.size();
    }

    void allesBeenden()
    {
        for (QProcess* p : findChildren<QProcess*>()) {
            p->kill();
            p->waitForFinished(5000);
            delete p;
        }
        for (qint64 pid : std::as_const(m_pids))
            ::kill(pid_t(pid), SIGKILL);
        m_pids.clear();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_desktop = new X11Desktop;
        QVERIFY2(m_desktop->verbunden(), qPrintable(m_desktop->fehlermeldung()));
        QVERIFY((m_x = XOpenDisplay(nullptr)));
        // A script with a blank in its path that writes down its arguments.
        QFile f(m_tmp.filePath(u"Mein TV start"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.txt\"\n");
        f.close();
        QVERIFY(QFile::copy(f.fileName(), m_tmp.filePath(u"nicht-ausfuehrbar"_s)));
        QVERIFY(f.setPermissions(f.permissions() | QFileDevice::ExeOwner));

        QVERIFY(QDir().mkpath(programmordner()));
        QVERIFY(
            QFile::copy(QStringLiteral(SENDARO_AUFZEICHNEN), programmordner() + u"/aufzeichnen"_s));
        Einstellungsarray a(0, 20);
        a.textSetzen(11, programmordner());
        EinstellungsdateiSchreiben(programmordner() + u"/sendwacht.cfg"_s, a);
    }

    void init()
    {
        // The rows of a data-driven test share their windows.
        if (m_funktion != QTest::currentTestFunction()) {
            allesBeenden();
            m_funktion = QTest::currentTestFunction();
        }
        QVERIFY(fenstermanagerEingeholt());
    }

    void cleanupTestCase()
    {
        allesBeenden();
        delete m_desktop; // gives back borrowed keycodes
        tastaturbelegung(u"us"_s);
        XCloseDisplay(m_x);
    }

    void spaetesFensterWirdAktiviert()
    {
        // Opens two seconds into the search; found by a prefix in other case.
        const QString titel = u"Spätes Fenster – Empfänger"_s;
        QTimer::singleShot(2000, this, [&] { empfaenger(titel); });
        QVERIFY(aktivieren(u"SPÄTES FENSTER"_s));
        QCOMPARE(aktiverTitel(), titel);
        QVERIFY(m_desktop->tastenSenden(u"ok"_s));
        QTRY_COMPARE(dateiText(datei(titel)), u"ok"_s);
        // Showing takes the exact title.
        QVERIFY(!m_desktop->fensterZeigen(u"Spätes Fenster"_s));
        QVERIFY(m_desktop->fensterZeigen(titel));
    }

    void tasten_data() { falltabelle("script-faelle.txt", "x11-tasten"); }
    void tasten()
    {
        QFETCH(QString, ziel);
        QFETCH(QString, layout);
        QFETCH(QString, tasten);
        QFETCH(QString, erwartet);
        QFETCH(QString, feststelltaste);
        const QString titel = ziel + u" Empfänger"_s;
        if (findChildren<QProcess*>().isEmpty()) {
            empfaenger(u"fenster Empfänger"_s);
            const QString xterm = u"xterm Empfänger"_s;
            starten(u"env"_s,
                    {u"LC_ALL=C.UTF-8"_s, u"xterm"_s, u"-u8"_s, u"-T"_s, xterm, u"-e"_s, u"sh"_s,
                     u"-c"_s, u"stty raw -echo; exec cat > \"$0\""_s, datei(xterm)});
        }
        QVERIFY(tastaturbelegung(layout));
        QVERIFY(aktivieren(titel));
        if (ziel == u"xterm"_s)
            m_desktop->warten(300); // until the shell has put the terminal in raw mode
        const bool gross = feststelltaste == u"an"_s;
        feststelltasteSetzen(gross);
        const qsizetype vorher = dateiText(datei(titel)).size();
        if (erwartet.isEmpty()) {
            // A valid text afterwards arrives alone.
            QVERIFY(!m_desktop->tastenSenden(tasten));
            tasten = erwartet = u"z"_s;
        }
        QVERIFY(m_desktop->tastenSenden(tasten));
        const XkbStateRec nachher = tastaturZustand();
        feststelltasteSetzen(false);
        QTRY_COMPARE(dateiText(datei(titel)).mid(vorher), erwartet);
        QCOMPARE(gedrueckteTasten(), QList<int>());
        QCOMPARE(bool(nachher.locked_mods & LockMask), gross);
    }

    // Each key name of a definition, sent by the interpreter, arrives as its key.
    void tastennamen_data() { falltabelle("tasten-faelle.txt", "tastennamen"); }
    void tastennamen()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, empfangen);
        if (m_mitWm && empfangen.startsWith(u"<Print"_s))
            QSKIP("openbox takes the Print key for itself; the run without it checks it.");
        QVERIFY(tastaturbelegung(u"de"_s));
        QCOMPARE(empfangenNach(u"TastenSenden,\""_s + parameter + u'"', true), empfangen);
    }

    // A modifier reaches the next key or group only; later characters come
    // out as written.
    void zusatztastenBereich_data() { falltabelle("tasten-faelle.txt", "bereich"); }
    void zusatztastenBereich()
    {
        QFETCH(QString, layout);
        QFETCH(QString, tasten);
        QFETCH(QString, empfangen);
        QVERIFY(tastaturbelegung(layout));
        QCOMPARE(empfangenNach(u"TastenSenden,\""_s + tasten + u'"', false), empfangen);
    }

    void signalLaesstNichtsGedrueckt_data() { falltabelle("script-faelle.txt", "x11-signal"); }
    void signalLaesstNichtsGedrueckt()
    {
        QFETCH(QString, signal);
        QFETCH(QString, fehler);
        QVERIFY(tastaturbelegung(u"de"_s));
        feststelltasteSetzen(true);
        const QList<KeySym> karteVorher = tastaturKarte();
        // Far more characters missing from the map than there are unused
        // keycodes: the sender lends them in turns and waits in between.
        QString viele;
        for (char32_t c = 0x4E00; c < 0x4E00 + 600; ++c)
            viele += QString::fromUcs4(&c, 1);
        QVERIFY(definitionSchreiben(
            u"signal.azs"_s, u"<Sendaro Aufzeichnungsskript 1.0>\r\n"
                             u"BefehlAnwendungStarten=TastenSenden,\"+(Ab%1)\"\r\n"_s.arg(viele)));
        QProcess p;
        p.start(programmordner() + u"/aufzeichnen"_s, {u"signal.azs"_s});
        // Once keycodes are borrowed, the sequence is being typed.
        QTRY_VERIFY_WITH_TIMEOUT(tastaturKarte() != karteVorher, 10000);
        QVERIFY(::kill(pid_t(p.processId()), signal.toInt()) == 0);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()), fehler + u'\n');
        const XkbStateRec zustand = tastaturZustand();
        feststelltasteSetzen(false);
        QCOMPARE(gedrueckteTasten(), QList<int>());
        QCOMPARE(zustand.base_mods | zustand.latched_mods, 0);
        QCOMPARE(zustand.locked_mods & LockMask, LockMask);
        QCOMPARE(tastaturKarte(), karteVorher);
    }

    void fokusfensterVerschwindet()
    {
        // The server moves the focus itself when the focused window goes (as
        // a splash screen does); an idle window manager's focus request for
        // the next window then carries an older time and loses.
        QProcess* weg = empfaenger(u"Verschwindet"_s);
        QVERIFY(aktivieren(u"Verschwindet"_s));
        weg->kill();
        QVERIFY(weg->waitForFinished(5000));
        const QString titel = u"Kommt danach"_s;
        empfaenger(titel);
        QVERIFY(aktivieren(titel));
        QCOMPARE(aktiverTitel(), titel);
        QVERIFY(m_desktop->tastenSenden(u"ok"_s));
        QTRY_COMPARE(dateiText(datei(titel)), u"ok"_s);
    }

    void ersatztasteWirdZurueckgegeben()
    {
        const QString titel = u"Ersatztaste"_s;
        const KeySym schneemann = 0x1002603; // U+2603, on no keycode
        empfaenger(titel);
        QVERIFY(tastaturbelegung(u"us"_s));
        QVERIFY(aktivieren(titel));
        QVERIFY(!keysymBelegt(schneemann));
        QVERIFY(m_desktop->tastenSenden(u"☃"_s));
        QVERIFY(keysymBelegt(schneemann));
        QTRY_COMPARE(dateiText(datei(titel)), u"☃"_s);
        // Our window answers pings, so the keycode is cleared as soon as it
        // has read the key; it is borrowed again on the next use.
        QTRY_VERIFY_WITH_TIMEOUT(!keysymBelegt(schneemann), 5000);
        QVERIFY(m_desktop->tastenSenden(u"{☃ 2}"_s));
        QTRY_COMPARE(dateiText(datei(titel)), u"☃☃☃"_s);
        // More missing characters than unused keycodes: lent in turns.
        QString viele;
        for (char32_t c = 0x4E00; c < 0x4E00 + 50; ++c)
            viele += QString::fromUcs4(&c, 1);
        QVERIFY(m_desktop->tastenSenden(viele));
        QTRY_COMPARE_WITH_TIMEOUT(dateiText(datei(titel)), u"☃☃☃"_s + viele, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!keysymBelegt(0x1004E00 + 49), 5000);
    }

    void altF4()
    {
        const QString titel = u"Schließen mit Alt F4"_s;
        QProcess* p = empfaenger(titel);
        QVERIFY(aktivieren(titel));
        QVERIFY(tastaturbelegung(u"de"_s));
        QVERIFY(m_desktop->tastenSenden(u"%{F4}"_s)); // as "[Alt][F4]" is translated
        if (m_mitWm) {
            QTRY_COMPARE_WITH_TIMEOUT(p->state(), QProcess::NotRunning, 5000);
            QCOMPARE(dateiText(datei(titel)), QString());
        } else {
            // No window manager to close it: the window gets the key itself.
            QTRY_COMPARE(dateiText(datei(titel)), u"<Alt+F4>"_s);
            QCOMPARE(p->state(), QProcess::Running);
        }
        QCOMPARE(gedrueckteTasten(), QList<int>());
    }

    void programmStarten_data() { falltabelle("script-faelle.txt", "x11-programmstart"); }
    void programmStarten()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, startet);
        QFETCH(QString, argumente);
        const bool erwartet = startet == u"ja"_s;
        zeile.replace(u"{tmp}"_s, m_tmp.path());
        const QString ausgabe = m_tmp.filePath(u"Mein TV start.txt"_s);
        QFile::remove(ausgabe);
        const qint64 pidVorher = m_desktop->letzteProzessId();
        QCOMPARE(m_desktop->programmStarten(zeile, Desktop::Fensterart::Normal), erwartet);
        const qint64 pid = m_desktop->letzteProzessId();
        QCOMPARE(pid != pidVorher, erwartet);
        if (!erwartet)
            return;
        m_pids << pid;
        if (!argumente.isEmpty())
            QTRY_COMPARE(dateiText(ausgabe), argumente);
        // The program ends at once; it must not linger as our zombie.
        QTRY_VERIFY_WITH_TIMEOUT(
            !QFileInfo::exists(u"/proc/%1"_s.arg(pid)) ||
                !dateiText(u"/proc/%1/status"_s.arg(pid)).contains(u"PPid:\t%1\n"_s.arg(getpid())),
            5000);
    }

    void gestartetesProgrammIstAbgeloest()
    {
        // A program that lives on and writes to both outputs, started by
        // aufzeichnen whose output a shell reads until the pipe closes.
        const QString programm = m_tmp.filePath(u"lebt weiter"_s);
        QFile f(programm);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho $$ > \"$0.pid\"\necho Ausgabe des Programms\n"
                "echo Warnung des Programms >&2\nexec sleep 30\n");
        f.close();
        QVERIFY(f.setPermissions(f.permissions() | QFileDevice::ExeOwner));
        QVERIFY(definitionSchreiben(
            u"start.azs"_s, u"<Sendaro Aufzeichnungsskript 1.0>\r\n"
                            u"BefehlAnwendungStarten=AnwendungStarten,\"%1\"\r\n"_s.arg(programm)));
        // Empty when the shell still waits for the end of the pipe after 10 s.
        const QString aus =
            programmAusgabe(u"/bin/sh"_s, {u"-c"_s, u"a=$(\"$0\" start.azs 2>&1); echo \"$?|$a\""_s,
                                           programmordner() + u"/aufzeichnen"_s});
        QTRY_VERIFY(!dateiText(programm + u".pid"_s).isEmpty());
        const qint64 pid = dateiText(programm + u".pid"_s).trimmed().toLongLong();
        m_pids << pid;
        QVERIFY2(aus.startsWith(u"0|AZS-Datei wird eingeladen\nTV-Anwendung wird gestartet\n"_s),
                 qPrintable(aus));
        QVERIFY2(!aus.contains(u"Programms"_s), qPrintable(aus));

        // It lives on as "sleep", in a session of its own, with nothing of ours open.
        const QString proc = u"/proc/%1/"_s.arg(pid);
        QTRY_VERIFY(dateiText(proc + u"cmdline"_s).startsWith(u"sleep"_s));
        const QString stat = dateiText(proc + u"stat"_s);
        const QStringList felder = stat.mid(stat.lastIndexOf(u')') + 2).split(u' ');
        QVERIFY(felder.size() > 3);
        QVERIFY(felder.at(3).toLongLong() != getsid(0));
        const QDir fds(proc + u"fd"_s);
        QCOMPARE(fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                 QStringList({u"0"_s, u"1"_s, u"2"_s}));
        for (const QString& fd : {u"0"_s, u"1"_s, u"2"_s})
            QCOMPARE(QFileInfo(fds.filePath(fd)).symLinkTarget(), u"/dev/null"_s);
    }

    void minimiertOhneFokus()
    {
        const QString vorne = u"Vordergrund vorne"_s;
        const QString titel = u"Vordergrund"_s;
        empfaenger(vorne);
        QVERIFY(aktivieren(vorne));
        QVERIFY(m_desktop->programmStarten(
            u"\"%1\" --titel \"%2\" --ausgabe \"%3\""_s.arg(QStringLiteral(SENDARO_TASTENFENSTER),
                                                            titel, datei(titel)),
            Desktop::Fensterart::MinimiertOhneFokus));
        m_pids << m_desktop->letzteProzessId();
        QTRY_VERIFY_WITH_TIMEOUT(!fensterId(titel).isEmpty(), 10000);
        if (m_mitWm)
            QTRY_VERIFY_WITH_TIMEOUT(ikonisch(titel), 5000);
        m_desktop->warten(1500); // time for the back-end to hand the focus back
        QCOMPARE(aktiverTitel(), vorne);
        QCOMPARE(ikonisch(titel), m_mitWm);
        // The exact title wins over the older window whose title begins with
        // it; activating restores the minimised window.
        QVERIFY(aktivieren(titel, 5000));
        QCOMPARE(aktiverTitel(), titel);
        QVERIFY(!ikonisch(titel));
    }

    void fensterwahl_data() { falltabelle("script-faelle.txt", "x11-fensterwahl"); }
    void fensterwahl()
    {
        QFETCH(QString, fenster);
        QFETCH(QString, spaeter);
        QFETCH(QString, anwendung);
        QFETCH(QString, suche);
        QFETCH(QString, erwartet);
        allesBeenden();
        // The TV application: our key-recording window under a name of its
        // own, so the process list holds exactly one process of that name,
        // also while this test runs on another X server at the same time.
        const QString name = u"fernsehprogramm-%1"_s.arg(QCoreApplication::applicationPid());
        anwendung += name.mid(anwendung.size());
        const QString tv = m_tmp.filePath(name);
        if (!QFileInfo::exists(tv))
            QVERIFY(QFile::copy(QStringLiteral(SENDARO_TASTENFENSTER), tv));
        QMap<QString, QString> dateien; // title -> file of the keys it got
        const auto oeffnen = [&](QString titel) -> QProcess* {
            QString programm = QStringLiteral(SENDARO_TASTENFENSTER);
            QStringList zusatz;
            if (titel.startsWith(u"tv:"_s)) {
                programm = tv;
                titel.remove(0, 3);
            } else if (titel.startsWith(u"verborgen:"_s) || titel.startsWith(u"ausblenden:"_s)) {
                zusatz << u"--"_s + titel.section(u':', 0, 0);
                titel = titel.section(u':', 1);
            } else if (titel.startsWith(u"vollbild:"_s)) {
                zusatz << u"--vollbild-nach"_s << u"600"_s;
                titel = titel.section(u':', 1);
            }
            const QString datei = m_tmp.filePath(u"wahl-%1.txt"_s.arg(dateien.size()));
            dateien.insert(titel, datei);
            return starten(programm,
                           QStringList{u"--titel"_s, titel, u"--ausgabe"_s, datei} + zusatz);
        };
        for (const QString& f : fenster.split(u'|')) {
            QProcess* p = oeffnen(f);
            if (f.startsWith(u"ausblenden:"_s)) {
                QTRY_VERIFY_WITH_TIMEOUT(p->canReadLine(), 10000);
            } else {
                // One after the other, so the first listed is the older window.
                QVERIFY(p->waitForStarted(5000));
                QTest::qWait(500);
            }
        }
        QVERIFY(fenstermanagerEingeholt());
        if (!spaeter.isEmpty())
            QTimer::singleShot(3000, this, [&] { oeffnen(spaeter); });

        Skriptfelder felder;
        felder.TVAnwendungdatei = anwendung;
        QElapsedTimer uhr;
        uhr.start();
        const QString fehler = fehlerVon(
            [&] { BefehlAusführen(felder, *m_desktop, u"FensterAktivieren,\"%1\""_s.arg(suche)); });
        if (erwartet.isEmpty()) {
            QVERIFY2(fehler.contains(u"15 Sekunden lang nicht gefunden"_s), qPrintable(fehler));
            QVERIFY(uhr.elapsed() >= 14000);
            return;
        }
        QCOMPARE(fehler, QString());
        if (!spaeter.isEmpty())
            QVERIFY(uhr.elapsed() >= 2900); // not the window that was there before
        QCOMPARE(aktiverTitel(), erwartet);
        if (m_mitWm && (fenster + u'|' + spaeter).contains(u"vollbild:"_s + erwartet)) {
            // Left to map its window itself, the program got its full screen.
            XWindowAttributes a;
            QVERIFY(XGetWindowAttributes(m_x, Window(fensterId(erwartet).toULong()), &a));
            QCOMPARE(QSize(a.width, a.height), QSize(DisplayWidth(m_x, 0), DisplayHeight(m_x, 0)));
        }
        QVERIFY(m_desktop->tastenSenden(u"ok"_s));
        QTRY_COMPARE(dateiText(dateien.value(erwartet)), u"ok"_s);
        m_desktop->warten(200);
        for (auto i = dateien.cbegin(); i != dateien.cend(); ++i)
            if (i.key() != erwartet)
                QVERIFY2(dateiText(i.value()).isEmpty(), qPrintable(i.key()));
    }
};

QTEST_GUILESS_MAIN(TestX11Desktop)
#include "tst_x11desktop.moc"
