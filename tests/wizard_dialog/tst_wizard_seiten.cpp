// The page types: StringStück, which cuts their multi-line parameters, and
// the pages driven as a user would: what they show and return, the
// required-input gate and the layout below the caption.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>

#include "Seitenhelfer.h"
#include "wizard_dialog/StringStueck.h"
#include "wizard_dialog/Twips.h"

using namespace Qt::StringLiterals;

/// A page (see zeigen), its entries and default ("|" between pieces) and
/// the entries clicked (their numbers); the entries shown ("|" between them)
/// and the result.
struct Eingabe
{
    const char* name;
    QStringView art, a, b, klicks, gezeigt, ergebnis;
};
Q_DECLARE_METATYPE(Eingabe)

/// A page with its input required and its default; the button states
/// passed; the buttons before and after the user gives or takes away the
/// input (types into an empty field or clears a full one, clicks the list's
/// second entry or the box).
struct Pflicht
{
    const char* name;
    QStringView art, vorgabe;
    QList<int> zustand;
    QStringView vorher, nachher;
};
Q_DECLARE_METATYPE(Pflicht)

class TestWizardSeiten : public QObject
{
    Q_OBJECT
private slots:
    void stuecke_data();
    void stuecke();
    void ergebnis_data();
    void ergebnis();
    void pflichteingabe_data();
    void pflichteingabe();
    void layout_data();
    void layout();

private:
    frmWizard m_dialog;
};

// Text, separator, whether a leading line feed is dropped; the pieces cut
// until the rest is empty.
void TestWizardSeiten::stuecke_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trenner");
    QTest::addColumn<bool>("lfWeg");
    QTest::addColumn<QStringList>("stuecke");

    const QString cr = u"\r"_s;
    QTest::newRow("leer") << QString() << cr << true << QStringList{};
    QTest::newRow("ohne trenner") << u"abc"_s << u";"_s << true << QStringList{u"abc"_s};
    QTest::newRow("cr lf") << u"ja\r\nnein"_s << cr << true << QStringList{u"ja"_s, u"nein"_s};
    QTest::newRow("lf bleibt ohne schalter")
        << u"ja\r\nnein"_s << cr << false << QStringList{u"ja"_s, u"\nnein"_s};
    QTest::newRow("cr lf am ende gibt ein leeres stueck")
        << u"a\r\nb\r\n"_s << cr << true << QStringList{u"a"_s, u"b"_s, QString()};
    QTest::newRow("nur ein lf vorne faellt weg")
        << u"\n\nx\ry\nz"_s << cr << true << QStringList{u"\nx"_s, u"y\nz"_s};
}

void TestWizardSeiten::stuecke()
{
    QFETCH(QString, text);
    QFETCH(QString, trenner);
    QFETCH(bool, lfWeg);
    QFETCH(QStringList, stuecke);

    QStringList ist;
    for (int schutz = 0; !text.isEmpty() && schutz < 100; ++schutz)
        ist << StringStück(text, trenner, lfWeg);
    QCOMPARE(ist, stuecke);
    // Once the rest is empty, it stays empty and every piece is empty.
    QCOMPARE(StringStück(text, trenner, lfWeg), QString());
    QVERIFY(text.isEmpty());
}

void TestWizardSeiten::ergebnis_data()
{
    QTest::addColumn<Eingabe>("e");
    // clang-format off
    const Eingabe faelle[] = {
        {"zeile: leerzeichen bleiben", u"zeile", u"", u"  a  ", u"", u"", u"  a  "},
        {"datei: leerzeichen bleiben", u"datei", u"Datei", u" /tv ", u"", u"Datei", u" /tv "},
        {"liste: zwei eintraege", u"liste", u"a|b", u"", u"", u"a|b", u""},
        {"liste: cr lf am ende", u"liste", u"a|b|", u"", u"", u"a|b|", u""},
        {"liste: vorauswahl 2", u"liste", u"a|b|c", u"2", u"", u"a|b|c", u"2"},
        {"liste: nur der erste treffer", u"liste", u"a|b|c", u"3;1", u"", u"a|b|c", u"1"},
        {"liste: 11 ist nicht 1", u"liste", u"a|b|c", u"11", u"", u"a|b|c", u""},
        {"liste: klick waehlt um", u"liste", u"a|b|c", u"1", u"3", u"a|b|c", u"3"},
        {"mehrfach: 1 und 3 geklickt", u"mehrfach", u"a|b|c", u"", u"13", u"a|b|c", u"1;3"},
        {"mehrfach: vorauswahl", u"mehrfach", u"a|b|c", u"3;1", u"", u"a|b|c", u"1;3"},
        {"haekchen: gesetzt", u"haekchen", u"Mute", u"ja", u"", u"Mute", u"ja"},
        {"haekchen: angeklickt", u"haekchen", u"Mute", u"nein", u"1", u"Mute", u"ja"},
        {"option: vorauswahl 2", u"option", u"ja|nein", u"2", u"", u"ja|nein", u"2"},
        {"option: ohne vorauswahl die erste", u"option", u"ja|nein", u"0", u"", u"ja|nein", u"1"},
        {"option: negative vorauswahl", u"option", u"ja|nein", u"-3", u"", u"ja|nein", u"1"},
        {"option: leeres stueck beendet", u"option", u"ja||nein", u"", u"", u"ja", u"1"},
        {"option: leerzeichen", u"option", u"ja |   | nein", u"2", u"", u"ja | nein", u"2"},
        {"option: klick auf das label", u"option", u"ja|nein", u"2", u"1", u"ja|nein", u"1"},
        {"option: hinter den gezeigten", u"option", u"ja|nein", u"5", u"", u"ja|nein", u"5"},
        {"option: ueber zehn ist keine", u"option", u"ja|nein", u"11", u"", u"ja|nein", u"0"},
        {"option: mehr als zehn", u"option", u"1|2|3|4|5|6|7|8|9|10|11|12", u"10", u"",
         u"1|2|3|4|5|6|7|8|9|10", u"10"},
        {"check: vorauswahl 1 und 3", u"check", u"a|b|c", u"1|3", u"", u"a|b|c", u"1\r3"},
        {"check: label kreuzt an und ab", u"check", u"a|b|c", u"1|3", u"23", u"a|b|c", u"1\r2"},
        {"check: zahlwert", u"check", u"a|b|c", u" 2|3x", u"", u"a|b|c", u"2\r3"},
        {"check: leeres stueck beendet", u"check", u"a|b|c", u"1||3", u"", u"a|b|c", u"1"},
        {"check: leerer text, nummer zu gross", u"check", u"a|  |b", u"3|2", u"", u"a|b", u"2"},
        {"texte: leere beschriftung", u"texte", u"N|  |T", u"x|weg|y", u"", u"N|T", u"x\ry\r"},
    };
    // clang-format on
    for (const Eingabe& e : faelle)
        QTest::newRow(e.name) << e;
}

void TestWizardSeiten::ergebnis()
{
    QFETCH(Eingabe, e);
    QStringList ist;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        // The entries are list rows, or the numbered labels (and the box)
        // that the page shows.
        auto* liste = element<QListWidget>(m_dialog, u"ShapeAusListeauswählenListe"_s);
        const QRegularExpression eintrag(u"(Label\\d+|HäkchenSetzenCheck)$"_s);
        QList<QWidget*> felder;
        for (QWidget* w : m_dialog.findChildren<QWidget*>()) {
            if (w->isVisible() && eintrag.match(w->objectName()).hasMatch())
                felder << w;
        }
        for (const QWidget* w : felder)
            ist << w->property("text").toString();
        for (int i = 0; liste->isVisible() && i < liste->count(); ++i)
            ist << liste->item(i)->text();
        for (const QChar k : e.klicks) {
            const int i = k.digitValue() - 1;
            if (liste->isVisible())
                QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                                  liste->visualItemRect(liste->item(i)).center());
            else
                klicken(felder.at(i));
        }
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const QString ergebnis = zeigen(m_dialog, e.art, u"Frage"_s, e.a.toString(), e.b.toString());
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY(m_dialog.blnBenutzerWeiterGedrückt);
    QCOMPARE(ist.join(u'|'), e.gezeigt);
    QCOMPARE(ergebnis, e.ergebnis);
}

void TestWizardSeiten::pflichteingabe_data()
{
    QTest::addColumn<Pflicht>("p");
    const QList<int> alle{1, 1, 1, 1};
    // clang-format off
    const Pflicht faelle[] = {
        {"zeile leer", u"zeile", u"", alle, u"ve ve vg vg", u"ve ve ve ve"},
        {"zeile nur leerzeichen", u"zeile", u"   ", alle, u"ve ve vg vg", u"ve ve ve ve"},
        {"zeile geleert", u"zeile", u"abc", alle, u"ve ve ve ve", u"ve ve vg vg"},
        {"weiter als 2 bleibt grau", u"zeile", u"", {1, 1, 2, 0}, u"ve ve vg hg", u"ve ve vg hg"},
        {"fertig ohne weiter", u"zeile", u"", {2, 1, 0, 1}, u"vg ve hg vg", u"vg ve hg ve"},
        {"datei leer", u"datei", u"", alle, u"ve ve vg vg", u"ve ve ve ve"},
        {"liste ohne auswahl", u"liste", u"", alle, u"ve ve vg vg", u"ve ve ve ve"},
        {"liste mit vorauswahl", u"liste", u"1", alle, u"ve ve ve ve", u"ve ve ve ve"},
        {"haekchen leer", u"haekchen", u"nein", alle, u"ve ve vg vg", u"ve ve ve ve"},
    };
    // clang-format on
    for (const Pflicht& p : faelle)
        QTest::newRow(p.name) << p;
}

void TestWizardSeiten::pflichteingabe()
{
    QFETCH(Pflicht, p);
    QString vorher, nachher;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        vorher = knoepfe(m_dialog);
        auto* liste = element<QListWidget>(m_dialog, u"ShapeAusListeauswählenListe"_s);
        auto* feld = element<QLineEdit>(m_dialog, u"ShapeDateinameAuswählenDateiname"_s);
        if (p.art == u"liste")
            QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                              liste->visualItemRect(liste->item(1)).center());
        else if (p.art == u"haekchen")
            klicken(element(m_dialog, u"ShapeHäkchenSetzenCheck"_s));
        else
            QTest::keyClicks(feld, feld->text().trimmed().isEmpty() ? u"x"_s : u"\b\b\b"_s);
        nachher = knoepfe(m_dialog);
        m_dialog.SeiteBeenden();
    });
    zeigen(m_dialog, p.art, u"Frage"_s, u"a|b"_s, p.vorgabe.toString(), true, p.zustand);
    QVERIFY(!wachhund.abgelaufen);
    QCOMPARE(vorher, p.vorher);
    QCOMPARE(nachher, p.nachher);
}

// Each page's controls from top to bottom (left to right where level), with
// a caption of one line and one of several: the gap in pixels below the one
// before, or "=" where level with it; Z is one line's height. Also the
// control that has the focus.
void TestWizardSeiten::layout_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("fokus");
    QTest::addColumn<QString>("folge");
    const QString lang = u"Bitte geben Sie jetzt den Fenstertitel der TV-Anwendung an. Sie finden "
                         "diesen Text im Tooltipp des Eintrags momentan in Ihrer Taskleiste."
                         "\r\n\r\nAchten Sie auf korrekte Groß- und Kleinschreibung."_s;
    const QString drei = u"eins|"_s + u"zwei "_s.repeated(18) + u"|drei"_s;
    QString befehle = u"Label+0"_s;
    for (int k = 1; k <= 12; ++k)
        befehle += u" ComboFrame%1%2 Text%1="_s.arg(k).arg(k == 1 ? u"+8" : u"-1");
    // clang-format off
    const QStringList seiten[] = {
        {u"zeile"_s, {}, u"ShapeDateinameAuswählenDateiname"_s, u"Label+0 Dateiname+Z"_s},
        {u"datei"_s, u"Start-Datei"_s, u"ShapeDateinameAuswählenDateiname"_s,
         u"Label+0 Label2+Z Dateiname+0 Durchsuchen+3"_s},
        {u"liste"_s, u"a|b"_s, u"ShapeAusListeauswählenListe"_s, u"Label+0 Liste+6"_s},
        {u"haekchen"_s, u"Mute"_s, u"ShapeHäkchenSetzenCheck"_s, u"Label+0 Check+6"_s},
        {u"option"_s, drei, u"ShapeOptionAuswählenOption1"_s, u"Label+0 Option1+8 OptionLabel1= "
         "Option2+4 OptionLabel2= Option3+4 OptionLabel3="_s},
        {u"check"_s, drei, u"ShapeCheckAuswählenCheck1"_s, u"Label+0 Check1+8 CheckLabel1= "
         "Check2+4 CheckLabel2= Check3+4 CheckLabel3="_s},
        {u"texte"_s, drei, u"frmWizard"_s, u"Beschriftung+0 Label1+8 Text1+0 Label2+4 Text2+0 "
         "Label3+4 Text3+0"_s},
        {u"befehle"_s, {}, u"ShapeComboTextText1"_s, befehle},
        {u"nuranzeige"_s, drei, u"frmWizard"_s, u"Überschrift+0 Label+6"_s},
        {u"nuranzeige"_s, {}, u"frmWizard"_s, u"Label+0"_s}};
    // clang-format on
    for (const QStringList& z : seiten) {
        for (const QString& text : {u"Kurz."_s, lang})
            QTest::addRow("%s%s %d", qPrintable(z[0]), z[1].isEmpty() ? "" : "+", int(text.size()))
                << z[0] << text << z[1] << z[2] << z[3];
    }
}

void TestWizardSeiten::layout()
{
    QFETCH(QString, art);
    QFETCH(QString, text);
    QFETCH(QString, a);
    QFETCH(QString, fokus);
    QFETCH(QString, folge);

    QString istFokus, istFolge;
    QRect seite, beschriftung, liste;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        istFokus = m_dialog.focusWidget()->objectName();
        const QWidget* s = nullptr;
        for (const QLabel* l : m_dialog.findChildren<QLabel*>()) {
            if (l->isVisible() && l->text() == QString(text).replace(u"\r\n"_s, u"\n"_s)) {
                s = l->parentWidget();
                seite = s->geometry();
                // Kept whole: as high as its text needs.
                beschriftung =
                    l->height() >= l->heightForWidth(l->width()) ? l->geometry() : QRect();
            }
        }
        // The page's controls and the command-step editor's rows, by the
        // part of their names after the page's name.
        QList<std::pair<QRect, QString>> teile;
        for (const QWidget* w : s->findChildren<QWidget*>()) {
            const QWidget* p = w->parentWidget();
            if (!w->isVisible() || w->inherits("QScrollArea") ||
                (p != s && !p->objectName().endsWith(u"Flaeche")))
                continue;
            qsizetype n = 0;
            while (n < s->objectName().size() && n < w->objectName().size() &&
                   w->objectName().at(n) == s->objectName().at(n))
                ++n;
            teile.append({QRect(w->mapTo(s, QPoint()), w->size()), w->objectName().mid(n)});
        }
        std::sort(teile.begin(), teile.end(), [](const auto& x, const auto& y) {
            return std::pair(x.first.y(), x.first.x()) < std::pair(y.first.y(), y.first.x());
        });
        int unten = -1, oben = -1;
        for (const auto& [r, name] : teile) {
            istFolge += u' ' + name +
                        (r.y() == oben ? u"="_s : QString::asprintf("%+d", r.y() - unten - 1));
            oben = r.y();
            unten = r.bottom();
            liste = name == u"Liste" ? r : liste;
        }
        m_dialog.SeiteBeenden();
    });
    zeigen(m_dialog, art, text, a);
    QVERIFY(!wachhund.abgelaufen);

    const Twips t(m_dialog);
    QCOMPARE(istFokus, fokus);
    QCOMPARE(istFolge.trimmed(),
             QString(folge).replace(u'Z', QString::number(QFontMetrics(m_dialog.font()).height())));
    QCOMPARE(seite.topLeft(), QPoint(t.x(2055), t.y(75)));
    QCOMPARE(beschriftung.width(), t.x(5910));
    if (art == u"liste")
        QCOMPARE(liste.bottom() + 1 + 3, seite.height());
}

QTEST_MAIN(TestWizardSeiten)
#include "tst_wizard_seiten.moc"
