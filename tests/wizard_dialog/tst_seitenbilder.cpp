// Renders every kind of wizard page with the wizard's own texts to PNG files
// (tests/seiten/ in the build folder) for review, and checks each page's
// layout: controls inside their panel, no two overlapping, no text cut off,
// and every field on a scrolling part reachable with Tab and then in view.
//
// With SENDARO_SEITEN_BILDSCHIRM set to a folder, each page is also
// photographed from the X screen (ImageMagick's import), for a run under
// tests/mit-x.sh.

#include <functional>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>

#include "Seitenhelfer.h"
#include "wizard_dialog/Bildfeld.h"

using namespace Qt::StringLiterals;

namespace {
const QString Titel = u"TV-Anwendung verknüpfen"_s;
const QString CRLF = u"\r\n"_s;
const QString Befehle =
    u",AnwendungStarten,FensterAktivieren,Warten,TastenSenden,Terminieren,Beep"_s;
const QString TestText =
    u"Der Aufzeichnungstest wird nun durchgeführt. Warten Sie etwa 15 Sekunden ab und beobachten "
    "Sie, ob alles erwartungsgemäß abläuft. Klicken Sie auf (Weiter) wenn sich nach diesem Test im "
    "Aufzeichnungsordner Ihrer TV-Anwendung eine aufrufbare Videodatei befindet. Klicken Sie "
    "andernfalls auf (Zurück) und korrigieren Sie die aktuellen Einstellungen."_s;

ComboTextTabelle tabelle(const QList<QPair<QString, QString>>& zeilen)
{
    ComboTextTabelle t(12);
    int k = 1;
    for (const auto& [befehl, parameter] : zeilen) {
        t.setzen(k, 1, befehl);
        t.setzen(k, 2, parameter);
        ++k;
    }
    return t;
}

struct Seite
{
    const char* name;
    std::function<void(frmWizard&)> zeigen;
};

const QList<Seite>& seiten()
{
    static const QList<Seite> liste{
        {"s01_willkommen",
         [](frmWizard& d) {
             d.ShowShapeNurAnzeige(
                 1, 2, 1, 0, Titel,
                 u"Dieser Assistent unterstützt Sie dabei, Ihre TV-Anwendung an den Sendaro "
                 "anzubinden. Der Sendaro kann dann Sendungen im TV zeitgesteuert für Sie "
                 "mitschneiden. Achten Sie darauf, dass Ihre TV-Anwendung generell Sendungen "
                 "aufzeichnen kann und so voreingestellt ist, dass sie der Sendaro nur noch zu "
                 "laden braucht und die Aufzeichnung dann direkt starten und stoppen kann. Klicken "
                 "Sie auf (Weiter), wenn Sie beginnen möchten."_s,
                 u"TV-Anwendung verknüpfen"_s);
         }},
        {"s02_erkannte_anwendungen",
         [](frmWizard& d) {
             d.ShowShapeAusListeAuswählen(
                 1, 1, 1, 0, Titel,
                 u"Folgende kompatibele TV-Anwendungen wurden auf Ihrem System automatisch "
                 u"erkannt. "
                 "Bitte wählen Sie eine aus, wenn Sie diese verwenden möchten. Wählen Sie "
                 "andernfalls \"(keine von diesen)\" und klicken Sie auf weiter."_s,
                 u"(keine von diesen)\r\nHauppauge WinTV2000\r\nTerraTec Home Cinema\r\nVLC media "
                 "player"_s,
                 u"2"_s, true, false);
         }},
        {"s04_programmordner",
         [](frmWizard& d) {
             d.ShowShapeDateiAuswählen(
                 1, 1, 1, 0, Titel,
                 u"Bitte geben Sie an, in welchem Ordner sich Ihre TV-Anwendung befindet."_s,
                 u"Programmordner der TV-Anwendung"_s, u"/opt/hauppauge/wintv2000"_s, 999,
                 u"TV-Anwendung (wintv2000)|wintv2000"_s, false, false, true);
         }},
        {"s05_stummschaltung",
         [](frmWizard& d) {
             d.ShowShapeHäkchenSetzen(
                 1, 1, 1, 0, Titel,
                 u"Möchten Sie, dass während der Aufnahme Ihr PC stumm geschaltet wird? Die "
                 "Aufzeichnung erfolgt weiterhin mit Ton, der PC bleibt aber während der Aufnahme "
                 "stumm."_s,
                 u"Stummschaltung (Mute)"_s, true);
         }},
        {"s07_definition_aendern",
         [](frmWizard& d) {
             d.ShowShapeOptionAuswählen(1, 1, 1, 0, Titel,
                                        u"Möchten Sie die Definition zur Anwendung \"Hauppauge "
                                        "WinTV2000\" vor dem Aufzeichnungstest noch einmal "
                                        "ändern?"_s,
                                        u"ja"_s + CRLF + u"nein"_s, 2);
         }},
        {"s09_name",
         [](frmWizard& d) {
             d.ShowShapeTextzeileEingeben(
                 1, 1, 1, 0, Titel,
                 u"Bitte geben Sie den Namen Ihrer TV-Anwendung an. Verwenden Sie dazu möglichst "
                 "die Bezeichnung der originalen Verknüpfung unter Start-Programme. Geben Sie auch "
                 "möglichst den Namen des Herstellers an. Zum Beispiel \"Hauppauge WinTV2000\"."_s,
                 u"Hauppauge WinTV2000"_s, true);
         }},
        {"s10_startdatei",
         [](frmWizard& d) {
             d.ShowShapeDateiAuswählen(
                 1, 1, 1, 0, Titel,
                 u"Bitte geben Sie die Datei an, die gestartet werden muss, um Ihre TV-Anwendung "
                 "zu starten."_s,
                 u"Start-Datei der TV-Anwendung"_s, QString(), 1, QString(), false, false, true);
         }},
        {"s12_anwendung_starten",
         [](frmWizard& d) {
             d.ShowShapeHäkchenSetzen(
                 1, 1, 1, 0, Titel,
                 u"Die TV-Anwendung wird jetzt minimiert gestartet. Stellen Sie diese "
                 "gegebenenfalls auf stumm, um die nächsten Schritte in Ruhe ausführen zu können. "
                 "Deaktivieren Sie die untere Einstellung, wenn die Anwendung bereits geladen "
                 "ist."_s,
                 u"Gestartet wird: /opt/hauppauge/wintv2000/wintv2000"_s, true);
         }},
        {"s13_prozessname",
         [](frmWizard& d) {
             QStringList prozesse{u"wintv2000"_s,   u"pulseaudio"_s,     u"openbox"_s, u"Xvfb"_s,
                                  u"dbus-daemon"_s, u"systemd"_s,        u"bash"_s,    u"sshd"_s,
                                  u"cron"_s,        u"rsyslogd"_s,       u"agetty"_s,  u"polkitd"_s,
                                  u"udisksd"_s,     u"NetworkManager"_s, u"gvfsd"_s};
             d.ShowShapeAusListeAuswählen(
                 1, 1, 1, 0, Titel,
                 u"Bitte geben Sie den Prozessnamen an, unter dem die TV-Anwendung jetzt in der "
                 "Liste der geladenen Programme zu finden ist."_s,
                 prozesse.join(CRLF), u"1"_s, true, false);
         }},
        {"s14_fenstertitel",
         [](frmWizard& d) {
             d.ShowShapeTextzeileEingeben(
                 1, 1, 1, 0, Titel,
                 u"Bitte geben Sie jetzt den Fenstertitel der TV-Anwendung an. Sie finden diesen "
                 "Text im Tooltipp des Eintrags momentan in Ihrer Taskleiste oder in der blauen "
                 "Titelleiste des geöffneten Fensters Ihrer TV-Anwendung. Achten Sie dabei auf "
                 "korrekte Groß- und Kleinschreibung."_s,
                 u"WinTV2000"_s, true);
         }},
        {"s15_anwendung_starten",
         [](frmWizard& d) {
             d.ShowShapeComboTextEingeben(
                 1, 1, 1, 0, Titel,
                 u"Geben Sie jetzt die einzelnen Schritte an, die nötig sind, um Ihre "
                 "TV-Anwendung zu starten."_s +
                     CRLF + CRLF +
                     u"Einige Schritte, die zum Starten der Anwendung erforderlich sind, sind "
                     "bereits vordefiniert. Sie können diese ändern oder weitere Schritte "
                     "hinzufügen."_s,
                 Befehle,
                 tabelle({{u"AnwendungStarten"_s, u"/opt/hauppauge/wintv2000/wintv2000"_s},
                          {u"FensterAktivieren"_s, u"WinTV2000"_s}}));
         }},
        {"s16_kanal_wechseln",
         [](frmWizard& d) {
             d.ShowShapeComboTextEingeben(
                 1, 1, 1, 0, Titel,
                 u"Bitte geben Sie jetzt an, wie vor der Aufzeichnung zum richtigen Kanal "
                 "gewechselt werden kann. Verwenden Sie den Platzhalter \"[Kanal]\". Dieser "
                 "Platzhalter wird bei der Ausführung durch die tatsächliche "
                 "Programmplatznummer des Senders ersetzt. Zum Beispiel durch \"02\" für "
                 "\"ZDF\"."_s +
                     CRLF + CRLF +
                     u"In der Regel reicht es, bei der laufenden TV-Anwendung, zweistellig die "
                     "Programmplatznummer einzutippen. Passen Sie, falls nötig, die Befehle an "
                     "Ihre TV-Anwendung an."_s,
                 Befehle,
                 tabelle({{u"FensterAktivieren"_s, u"WinTV2000"_s},
                          {u"TastenSenden"_s, u"[Kanal]"_s},
                          {u"Warten"_s, u"3"_s}}));
         }},
        {"s18_aufnahme_beenden_zwoelf_zeilen",
         [](frmWizard& d) {
             d.ShowShapeComboTextEingeben(
                 1, 1, 1, 0, Titel,
                 u"Bestimmen Sie nun, wie eine laufende Aufzeichnung beendet werden kann."_s,
                 Befehle,
                 tabelle({{u"FensterAktivieren"_s, u"WinTV2000"_s},
                          {u"TastenSenden"_s, u"[ESC]"_s},
                          {u"Warten"_s, u"3"_s},
                          {u"TastenSenden"_s, u"[Alt]s"_s},
                          {u"Warten"_s, u"1.5"_s},
                          {u"Beep"_s, QString()},
                          {u"FensterAktivieren"_s, u"Aufnahme speichern"_s},
                          {u"TastenSenden"_s, u"[ENTER]"_s},
                          {u"Warten"_s, u"2"_s},
                          {u"TastenSenden"_s, u"[Alt][F4]"_s},
                          {u"Warten"_s, u"3"_s},
                          {u"Terminieren"_s, u"wintv2000"_s}}));
         }},
        {"s20_hinweistext",
         [](frmWizard& d) {
             d.ShowShapeTextzeileEingeben(
                 1, 1, 1, 0, Titel,
                 u"Bestimmen Sie jetzt, falls erforderlich, noch einen Hinweistext, der immer dann "
                 "angezeigt wird, wenn Ihre TV-Anwendung später im Einstellungsbereich des "
                 "Sendaros, zur Aufzeichnung ausgewählt wird. Bei diesem Text können Sie auf "
                 "Besonderheiten hinweisen, die zur Nutzung im Sendaro beachtet werden müssen."_s,
                 QString(), false);
         }},
        {"s21_dateiname",
         [](frmWizard& d) {
             d.ShowShapeTextzeileEingeben(
                 1, 1, 1, 0, Titel,
                 u"Die Definition der Verknüpfung Ihrer TV-Anwendung mit dem Sendaro ist nun "
                 "abgeschlossen."_s +
                     CRLF + CRLF +
                     u"Bitte geben Sie einen Dateinamen an, unter dem Sie Ihre eben erstellte "
                     "Definition speichern möchten."_s,
                 u"link-hauppauge-wintv2000.azs"_s, true);
         }},
        {"t1_testfrage",
         [](frmWizard& d) {
             d.ShowShapeHäkchenSetzen(
                 1, 1, 1, 0, Titel,
                 u"Dieser Assistent hat nun alle erforderlichen Einstellungen, um einen Test "
                 "durchführen zu können. Möchten Sie jetzt eine 15 Sekunden lange "
                 "Testaufzeichnung durchführen?"_s,
                 u"Testaufzeichnung durchführen"_s, true);
         }},
        {"t2_statusseite",
         [](frmWizard& d) {
             d.ShowShapeNurAnzeige(2, 2, 2, 0, u"14,9 Sek."_s,
                                   TestText + CRLF + CRLF +
                                       u"Status: 15 Sekunden aufzeichnen (14,9 Sek.)"_s);
         }},
        {"t3_abschluss",
         [](frmWizard& d) {
             d.ShowShapeNurAnzeige(2, 1, 0, 1, Titel,
                                   u"Es sind nun alle erforderlichen Einstellungen bekannt. Sie "
                                   "können alle TV- und Aufzeichnungsfunktionen des Sendaros "
                                   "jetzt verwenden."_s);
         }},
        {"x1_checkboxen",
         [](frmWizard& d) {
             d.ShowShapeCheckboxenSetzen(
                 1, 1, 1, 0, Titel,
                 u"Welche Befehlslisten sollen bei der Testaufzeichnung ausgeführt werden?"_s,
                 u"Anwendung starten"_s + CRLF +
                     u"Kanal wechseln: Der Platzhalter \"[Kanal]\" "
                     "wird durch eine zufällige Programmplatznummer "
                     "zwischen 01 und 03 ersetzt"_s +
                     CRLF + u"Aufnahme starten"_s + CRLF + u"Aufnahme beenden"_s + CRLF +
                     u"Anwendung beenden"_s,
                 u"1\r\n3\r\n4"_s);
         }},
        {"x2_textfelder",
         [](frmWizard& d) {
             d.ShowShapeTexteEingeben(
                 1, 1, 1, 0, Titel, u"Bitte prüfen Sie die Angaben zu Ihrer TV-Anwendung."_s,
                 u"Name der TV-Anwendung"_s + CRLF + u"Prozessname"_s + CRLF +
                     u"Fenstertitel (achten Sie auf Groß- und Kleinschreibung)"_s,
                 u"Hauppauge WinTV2000"_s + CRLF + u"wintv2000"_s + CRLF + u"WinTV2000"_s);
         }},
        {"x3_userdefiniert",
         [](frmWizard& d) {
             auto* eigene = d.findChild<Bildfeld*>(u"ShapeEigeneSeite"_s);
             if (!eigene) {
                 eigene = new Bildfeld(&d, u"ShapeEigeneSeite"_s);
                 eigene->resize(394, 309);
                 auto* text =
                     new QLabel(u"Eine Seite, die der Aufrufer selbst gebaut hat."_s, eigene);
                 text->setObjectName(u"ShapeEigeneSeiteText"_s);
                 text->setGeometry(0, 0, 394, 40);
             }
             d.ShowShapeUserdefiniert(1, 1, 1, 0, Titel, u"shapeeigeneseite"_s);
         }},
    };
    return liste;
}

/// Layout faults of the visible controls directly on `flaeche`: outside
/// `rahmen`, text cut off, two overlapping. The rows on a scrolling area are
/// checked against the area's visible width and their own height.
QStringList layoutFehler(const QWidget* flaeche, const QRect& rahmen)
{
    QStringList fehler;
    QList<const QWidget*> sichtbar;
    for (const QObject* o : flaeche->children()) {
        const auto* w = qobject_cast<const QWidget*>(o);
        if (w && !w->isHidden())
            sichtbar << w;
    }
    for (const QWidget* w : sichtbar) {
        if (!rahmen.contains(w->geometry()))
            fehler << w->objectName() + u" ragt aus der Seite"_s;
        if (const auto* bereich = qobject_cast<const QScrollArea*>(w)) {
            const QWidget* zeilen = bereich->widget();
            fehler << layoutFehler(zeilen,
                                   QRect(0, 0, bereich->viewport()->width(), zeilen->height()));
        }
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->wordWrap() && !label->text().isEmpty() &&
                label->height() < label->heightForWidth(label->width()))
                fehler << w->objectName() + u" schneidet Text ab"_s;
        }
        if (const auto* knopf = qobject_cast<const QAbstractButton*>(w)) {
            const QString text = QString(knopf->text()).remove(u'&');
            const int noetig = knopf->fontMetrics().horizontalAdvance(text) +
                               (qobject_cast<const QPushButton*>(w) ? 8 : 20);
            if (!text.isEmpty() && noetig > knopf->width())
                fehler << w->objectName() + u" schneidet Text ab"_s;
        }
    }
    // Neighbouring rows of the command-step editor share one border line.
    for (qsizetype i = 0; i < sichtbar.size(); ++i) {
        for (qsizetype j = i + 1; j < sichtbar.size(); ++j) {
            const QRect schnitt = sichtbar[i]->geometry() & sichtbar[j]->geometry();
            if (schnitt.width() > 1 && schnitt.height() > 1)
                fehler << sichtbar[i]->objectName() + u" überdeckt "_s + sichtbar[j]->objectName();
        }
    }
    return fehler;
}

/// The fields on a scrolling area of the panel that the user cannot bring
/// into view: walking with Shift+Tab and then Tab over all of them, each one
/// has to be seen whole on the panel while it has the focus.
QStringList unerreichbar(frmWizard& dialog, const QWidget* panel)
{
    QStringList fehler;
    for (const QScrollArea* bereich : panel->findChildren<QScrollArea*>()) {
        if (bereich->isHidden())
            continue;
        QSet<const QWidget*> offen;
        for (const QWidget* w : bereich->widget()->findChildren<QWidget*>()) {
            if (w->isVisibleTo(panel) && (w->focusPolicy() & Qt::TabFocus))
                offen << w;
        }
        const QRect sichtbar =
            QRect(bereich->viewport()->mapTo(panel, QPoint(0, 0)), bereich->viewport()->size()) &
            panel->rect();
        auto imBereich = [bereich](const QWidget* w) {
            return w && bereich->widget()->isAncestorOf(w);
        };
        auto besuchen = [&](const QWidget* w) {
            offen.remove(w);
            // A command field stands in its frame, which the frame clips.
            const QWidget* zeile =
                qobject_cast<const Bildfeld*>(w->parentWidget()) ? w->parentWidget() : w;
            if (!sichtbar.contains(QRect(zeile->mapTo(panel, QPoint(0, 0)), zeile->size())))
                fehler << w->objectName() + u" mit dem Fokus nicht ganz sichtbar"_s;
        };
        if (!imBereich(dialog.focusWidget())) {
            fehler << bereich->objectName() + u": kein Feld hat den Fokus"_s;
            continue;
        }
        const qsizetype schritte = offen.size() + 1;
        for (const Qt::Key k : {Qt::Key_Backtab, Qt::Key_Tab}) {
            for (qsizetype i = 0; i < schritte && imBereich(dialog.focusWidget()); ++i) {
                besuchen(dialog.focusWidget());
                QTest::keyClick(dialog.focusWidget(), k,
                                k == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            }
            // Back onto the area from the control next to it.
            if (k == Qt::Key_Backtab)
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        }
        for (const QWidget* w : std::as_const(offen))
            fehler << w->objectName() + u" mit Tab nicht erreichbar"_s;
    }
    return fehler;
}

const QWidget* sichtbareSeite(const frmWizard& d)
{
    for (const Bildfeld* f : d.findChildren<Bildfeld*>()) {
        if (f->parentWidget() == &d && !f->isHidden() && f->objectName().startsWith(u"Shape"_s))
            return f;
    }
    return nullptr;
}
} // namespace

class TestSeitenbilder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void seite_data();
    void seite();

private:
    frmWizard m_dialog;
    QDir m_ziel;
};

void TestSeitenbilder::initTestCase()
{
    m_ziel = QDir(QCoreApplication::applicationDirPath());
    QVERIFY(m_ziel.mkpath(u"seiten"_s));
    QVERIFY(m_ziel.cd(u"seiten"_s));
}

void TestSeitenbilder::seite_data()
{
    QTest::addColumn<int>("nummer");
    for (qsizetype i = 0; i < seiten().size(); ++i)
        QTest::newRow(seiten().at(i).name) << static_cast<int>(i);
}

void TestSeitenbilder::seite()
{
    QFETCH(int, nummer);
    const Seite& s = seiten().at(nummer);
    const QString name = QString::fromUtf8(s.name);

    QStringList fehler;
    bool gemalt = false;
    auto aufnehmen = [&] {
        if (gemalt)
            return;
        gemalt = true;
        const QWidget* panel = sichtbareSeite(m_dialog);
        if (!panel) {
            fehler << u"keine Seite sichtbar"_s;
            return;
        }
        fehler << layoutFehler(panel, panel->rect());
        if (!m_dialog.grab().save(m_ziel.filePath(name + u".png"_s)))
            fehler << u"PNG nicht geschrieben"_s;
        fehler << unerreichbar(m_dialog, panel);
        // A page that had to scroll is shown a second time, at its end.
        const auto* bereich = panel->findChild<QScrollArea*>();
        if (bereich && bereich->verticalScrollBar()->value() > 0 &&
            !m_dialog.grab().save(m_ziel.filePath(name + u"_unten.png"_s)))
            fehler << u"PNG nicht geschrieben"_s;
        const QString bildschirm = qEnvironmentVariable("SENDARO_SEITEN_BILDSCHIRM");
        if (!bildschirm.isEmpty()) {
            QTest::qWait(400);
            QProcess::execute(u"import"_s, {u"-window"_s, u"root"_s,
                                            QDir(bildschirm).filePath(name + u".png"_s)});
        }
    };

    Wachhund wachhund(m_dialog);
    spaeter([&] {
        aufnehmen();
        m_dialog.SeiteBeenden();
    });
    s.zeigen(m_dialog);
    // Status pages return at once; they are photographed afterwards.
    aufnehmen();
    QTest::qWait(10);
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(u"; "_s)));
}

QTEST_MAIN(TestSeitenbilder)
#include "tst_seitenbilder.moc"
