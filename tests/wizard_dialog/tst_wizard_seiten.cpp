// The page types of the wizard window, driven as a user would: results,
// the required-input gate, the layout below the caption and label clicks.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "Seitenhelfer.h"
#include "wizard_dialog/Bildfeld.h"
#include "wizard_dialog/Twips.h"

using namespace Qt::StringLiterals;

namespace {
const QString CRLF = u"\r\n"_s;

int unten(const QWidget* w)
{
    return w->y() + w->height();
}

/// "e" enabled, "g" greyed, "h" hidden: Weiter and Fertig stellen.
QString weiterUndFertig(const frmWizard& d)
{
    QString s;
    for (const QString& name : {u"cmdWeiter"_s, u"cmdFertigstellen"_s}) {
        const QPushButton* k = knopf(d, name);
        s += k->isHidden() ? u'h' : (k->isEnabled() ? u'e' : u'g');
    }
    return s;
}
} // namespace

class TestWizardSeiten : public QObject
{
    Q_OBJECT
private slots:
    void textzeile_data();
    void textzeile();
    void liste_data();
    void liste();
    void pflichteingabe_data();
    void pflichteingabe();
    void haekchen_data();
    void haekchen();
    void optionen_data();
    void optionen();
    void checkboxen_data();
    void checkboxen();
    void textfelder_data();
    void textfelder();
    void nurAnzeige_data();
    void nurAnzeige();
    void layout_data();
    void layout();
    void userdefiniert();

private:
    frmWizard m_dialog;
};

// Default text, keys typed into the field (the caret starts after the
// last character), result.
void TestWizardSeiten::textzeile_data()
{
    QTest::addColumn<QString>("vorgabe");
    QTest::addColumn<QString>("tippen");
    QTest::addColumn<QString>("ergebnis");

    QTest::newRow("leerzeichen bleiben") << u"  abc  "_s << QString() << u"  abc  "_s;
    QTest::newRow("getippt wird angehaengt") << u"link-"_s << u"tv.azs"_s << u"link-tv.azs"_s;
    QTest::newRow("leer") << QString() << QString() << QString();
    QTest::newRow("umlaute") << u"Fernseh-Anwendung für Größen"_s << u"ß"_s
                             << u"Fernseh-Anwendung für Größenß"_s;
}

void TestWizardSeiten::textzeile()
{
    QFETCH(QString, vorgabe);
    QFETCH(QString, tippen);
    QFETCH(QString, ergebnis);

    Wachhund wachhund(m_dialog);
    spaeter([&] {
        if (!tippen.isEmpty())
            QTest::keyClicks(m_dialog.focusWidget(), tippen);
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const QString ist =
        m_dialog.ShowShapeTextzeileEingeben(1, 1, 1, 0, u"T"_s, u"Name"_s, vorgabe, false);
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(m_dialog.blnBenutzerWeiterGedrückt);
    QCOMPARE(ist, ergebnis);
    QVERIFY(element(m_dialog, u"ShapeDateinameAuswählenDurchsuchen"_s)->isHidden());
    QVERIFY(element(m_dialog, u"ShapeDateinameAuswählenLabel2"_s)->isHidden());
}

// Entries, pre-selection, several allowed, rows clicked (0-based), the
// entries shown, the result.
void TestWizardSeiten::liste_data()
{
    QTest::addColumn<QString>("eintraege");
    QTest::addColumn<QString>("vorgabe");
    QTest::addColumn<bool>("mehrere");
    QTest::addColumn<QList<int>>("klicks");
    QTest::addColumn<QStringList>("gezeigt");
    QTest::addColumn<QString>("ergebnis");

    const QStringList abc{u"a"_s, u"b"_s, u"c"_s};
    const QString abcText = u"a\r\nb\r\nc"_s;
    QTest::newRow("zwei eintraege") << u"a\r\nb"_s << QString() << false << QList<int>{}
                                    << QStringList{u"a"_s, u"b"_s} << QString();
    QTest::newRow("cr lf am ende gibt leeren eintrag")
        << u"a\r\nb\r\n"_s << QString() << false << QList<int>{}
        << QStringList{u"a"_s, u"b"_s, QString()} << QString();
    QTest::newRow("leerer eintrag in der mitte")
        << u"a\r\n\r\nb"_s << u"2"_s << false << QList<int>{}
        << QStringList{u"a"_s, QString(), u"b"_s} << u"2"_s;
    QTest::newRow("vorauswahl 2 unveraendert")
        << abcText << u"2"_s << false << QList<int>{} << abc << u"2"_s;
    QTest::newRow("vorauswahl 0 waehlt nichts")
        << abcText << u"0"_s << false << QList<int>{} << abc << QString();
    QTest::newRow("einzeln: nur der erste treffer")
        << abcText << u"3;1"_s << false << QList<int>{} << abc << u"1"_s;
    QTest::newRow("einzeln: klick waehlt um")
        << abcText << u"1"_s << false << QList<int>{2} << abc << u"3"_s;
    QTest::newRow("einzeln: zweiter klick behaelt")
        << abcText << QString() << false << QList<int>{1, 1} << abc << u"2"_s;
    QTest::newRow("mehrfach 1 und 3 geklickt")
        << abcText << QString() << true << QList<int>{0, 2} << abc << u"1;3"_s;
    QTest::newRow("mehrfach vorauswahl")
        << abcText << u"3;1"_s << true << QList<int>{} << abc << u"1;3"_s;
    QTest::newRow("mehrfach klick hebt auf")
        << abcText << u"1;2"_s << true << QList<int>{0} << abc << u"2"_s;
    QTest::newRow("zehn und mehr")
        << u"0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10"_s << u"11"_s << false
        << QList<int>{} << QStringList{u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s,
                                       u"6"_s, u"7"_s, u"8"_s, u"9"_s, u"10"_s}
        << u"11"_s;
}

void TestWizardSeiten::liste()
{
    QFETCH(QString, eintraege);
    QFETCH(QString, vorgabe);
    QFETCH(bool, mehrere);
    QFETCH(QList<int>, klicks);
    QFETCH(QStringList, gezeigt);
    QFETCH(QString, ergebnis);

    QStringList ist;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        auto* liste = element<QListWidget>(m_dialog, u"ShapeAusListeauswählenListe"_s);
        for (int i = 0; i < liste->count(); ++i)
            ist << liste->item(i)->text();
        for (int zeile : klicks) {
            const QRect r = liste->visualItemRect(liste->item(zeile));
            QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, r.center());
        }
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const QString ergebnisIst = m_dialog.ShowShapeAusListeAuswählen(
        1, 1, 1, 0, u"T"_s, u"Liste"_s, eintraege, vorgabe, false, mehrere);
    QVERIFY(!wachhund.abgelaufen());
    QCOMPARE(ist, gezeigt);
    QCOMPARE(ergebnisIst, ergebnis);
}

// Page, its input at the start, the user's action; Weiter and Fertig
// stellen (e/g/h) before and after the action. States 1, 1, 1, 1 unless
// the row says otherwise.
void TestWizardSeiten::pflichteingabe_data()
{
    QTest::addColumn<QString>("seite");
    QTest::addColumn<bool>("zwingend");
    QTest::addColumn<QString>("vorgabe");
    QTest::addColumn<QList<int>>("zustand");
    QTest::addColumn<QString>("vorher");
    QTest::addColumn<QString>("nachher");

    const QList<int> alle{1, 1, 1, 1};
    QTest::newRow("zeile leer, dann getippt")
        << u"zeile"_s << true << QString() << alle << u"gg"_s << u"ee"_s;
    QTest::newRow("zeile nur leerzeichen")
        << u"zeile"_s << true << u"   "_s << alle << u"gg"_s << u"ee"_s;
    QTest::newRow("zeile geleert")
        << u"zeile-leeren"_s << true << u"abc"_s << alle << u"ee"_s << u"gg"_s;
    QTest::newRow("zeile nicht zwingend")
        << u"zeile"_s << false << QString() << alle << u"ee"_s << u"ee"_s;
    QTest::newRow("weiter als 2 bleibt grau")
        << u"zeile"_s << true << QString() << QList<int>{1, 1, 2, 0} << u"gh"_s << u"gh"_s;
    QTest::newRow("fertig ohne weiter")
        << u"zeile"_s << true << QString() << QList<int>{2, 1, 0, 1} << u"hg"_s << u"he"_s;
    QTest::newRow("datei leer, dann getippt")
        << u"datei"_s << true << QString() << alle << u"gg"_s << u"ee"_s;
    QTest::newRow("liste ohne auswahl")
        << u"liste"_s << true << u"0"_s << alle << u"gg"_s << u"ee"_s;
    QTest::newRow("liste mit vorauswahl")
        << u"liste"_s << true << u"1"_s << alle << u"ee"_s << u"ee"_s;
    QTest::newRow("haekchen leer, dann gesetzt")
        << u"haekchen"_s << true << u"nein"_s << alle << u"gg"_s << u"ee"_s;
    QTest::newRow("haekchen wieder entfernt")
        << u"haekchen"_s << true << u"ja"_s << alle << u"ee"_s << u"gg"_s;
    QTest::newRow("haekchen nicht zwingend")
        << u"haekchen"_s << false << u"nein"_s << alle << u"ee"_s << u"ee"_s;
}

void TestWizardSeiten::pflichteingabe()
{
    QFETCH(QString, seite);
    QFETCH(bool, zwingend);
    QFETCH(QString, vorgabe);
    QFETCH(QList<int>, zustand);
    QFETCH(QString, vorher);
    QFETCH(QString, nachher);

    QString istVorher, istNachher;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        istVorher = weiterUndFertig(m_dialog);
        if (seite == u"zeile" || seite == u"datei") {
            QTest::keyClicks(element(m_dialog, u"ShapeDateinameAuswählenDateiname"_s), u"x"_s);
        } else if (seite == u"zeile-leeren") {
            auto* feld = element<QLineEdit>(m_dialog, u"ShapeDateinameAuswählenDateiname"_s);
            for (int i = 0; i < 3; ++i)
                QTest::keyClick(feld, Qt::Key_Backspace);
        } else if (seite == u"liste") {
            auto* liste = element<QListWidget>(m_dialog, u"ShapeAusListeauswählenListe"_s);
            QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                              liste->visualItemRect(liste->item(1)).center());
        } else {
            klicken(element(m_dialog, u"ShapeHäkchenSetzenCheck"_s));
        }
        istNachher = weiterUndFertig(m_dialog);
        m_dialog.SeiteBeenden();
    });
    const int a = zustand[0], z = zustand[1], w = zustand[2], f = zustand[3];
    if (seite.startsWith(u"zeile"))
        m_dialog.ShowShapeTextzeileEingeben(a, z, w, f, u"T"_s, u"Name"_s, vorgabe, zwingend);
    else if (seite == u"datei")
        m_dialog.ShowShapeDateiAuswählen(a, z, w, f, u"T"_s, u"Datei"_s, u"Start-Datei"_s, vorgabe,
                                         1, QString(), false, false, zwingend);
    else if (seite == u"liste")
        m_dialog.ShowShapeAusListeAuswählen(a, z, w, f, u"T"_s, u"Liste"_s, u"a\r\nb"_s, vorgabe,
                                            zwingend);
    else
        m_dialog.ShowShapeHäkchenSetzen(a, z, w, f, u"T"_s, u"Frage"_s, u"Kästchen"_s,
                                        vorgabe == u"ja", zwingend);
    QVERIFY(!wachhund.abgelaufen());
    QCOMPARE(istVorher, vorher);
    QCOMPARE(istNachher, nachher);
}

void TestWizardSeiten::haekchen_data()
{
    QTest::addColumn<bool>("vorgabe");
    QTest::addColumn<int>("klicks");
    QTest::addColumn<bool>("ergebnis");

    QTest::newRow("gesetzt, unveraendert") << true << 0 << true;
    QTest::newRow("leer, unveraendert") << false << 0 << false;
    QTest::newRow("leer, einmal geklickt") << false << 1 << true;
    QTest::newRow("gesetzt, zweimal geklickt") << true << 2 << true;
}

void TestWizardSeiten::haekchen()
{
    QFETCH(bool, vorgabe);
    QFETCH(int, klicks);
    QFETCH(bool, ergebnis);

    bool fokusAufKaestchen = false;
    QString text;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        auto* box = element<QCheckBox>(m_dialog, u"ShapeHäkchenSetzenCheck"_s);
        fokusAufKaestchen = m_dialog.focusWidget() == box;
        text = box->text();
        for (int i = 0; i < klicks; ++i)
            klicken(box);
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const bool ist = m_dialog.ShowShapeHäkchenSetzen(1, 1, 1, 0, u"T"_s, u"Frage"_s,
                                                     u"Stummschaltung (Mute)"_s, vorgabe);
    QVERIFY(!wachhund.abgelaufen());
    QCOMPARE(ist, ergebnis);
    QVERIFY(fokusAufKaestchen);
    QCOMPARE(text, u"Stummschaltung (Mute)"_s);
}

// Option texts, pre-selection, a label (n > 0) or button (n < 0) to click,
// the options shown, the result.
void TestWizardSeiten::optionen_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("vorauswahl");
    QTest::addColumn<int>("klick");
    QTest::addColumn<QStringList>("gezeigt");
    QTest::addColumn<int>("ergebnis");

    const QStringList jaNein{u"ja"_s, u"nein"_s};
    QTest::newRow("ja nein, vorauswahl 2") << u"ja\r\nnein"_s << 2 << 0 << jaNein << 2;
    QTest::newRow("vorauswahl 0 waehlt die erste") << u"ja\r\nnein"_s << 0 << 0 << jaNein << 1;
    QTest::newRow("negative vorauswahl") << u"ja\r\nnein"_s << -3 << 0 << jaNein << 1;
    QTest::newRow("leeres stueck beendet die liste")
        << u"ja\r\n\r\nnein"_s << 0 << 0 << QStringList{u"ja"_s} << 1;
    QTest::newRow("nur leerzeichen wird uebersprungen")
        << u"ja\r\n   \r\nnein"_s << 2 << 0 << jaNein << 2;
    QTest::newRow("text ungekuerzt")
        << u" ja \r\nnein"_s << 1 << 0 << QStringList{u" ja "_s, u"nein"_s} << 1;
    QTest::newRow("klick auf das label") << u"ja\r\nnein"_s << 2 << 1 << jaNein << 1;
    QTest::newRow("klick auf den knopf") << u"ja\r\nnein"_s << 1 << -2 << jaNein << 2;
    QTest::newRow("vorauswahl hinter den gezeigten") << u"ja\r\nnein"_s << 5 << 0 << jaNein << 5;
    QTest::newRow("vorauswahl ueber zehn: keine") << u"ja\r\nnein"_s << 11 << 0 << jaNein << 0;
    QStringList zwoelf;
    for (int i = 1; i <= 12; ++i)
        zwoelf << QString::number(i);
    QTest::newRow("mehr als zehn") << zwoelf.join(CRLF) << 10 << 0 << zwoelf.mid(0, 10) << 10;
}

void TestWizardSeiten::optionen()
{
    QFETCH(QString, texte);
    QFETCH(int, vorauswahl);
    QFETCH(int, klick);
    QFETCH(QStringList, gezeigt);
    QFETCH(int, ergebnis);

    QStringList ist;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        for (int k = 1; k <= 10; ++k) {
            auto* option = element<QRadioButton>(m_dialog, u"ShapeOptionAuswählenOption"_s +
                                                               QString::number(k));
            auto* label = element<QLabel>(m_dialog, u"ShapeOptionAuswählenOptionLabel"_s +
                                                        QString::number(k));
            if (option && !option->isHidden())
                ist << label->text();
        }
        if (klick > 0)
            klicken(
                element(m_dialog, u"ShapeOptionAuswählenOptionLabel"_s + QString::number(klick)));
        else if (klick < 0)
            klicken(element(m_dialog, u"ShapeOptionAuswählenOption"_s + QString::number(-klick)));
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const qint16 istErgebnis = m_dialog.ShowShapeOptionAuswählen(
        1, 1, 1, 0, u"T"_s, u"Frage"_s, texte, static_cast<qint16>(vorauswahl));
    QVERIFY(!wachhund.abgelaufen());
    QCOMPARE(ist, gezeigt);
    QCOMPARE(int(istErgebnis), ergebnis);
}

// Box texts, pre-selection, labels clicked, result (numbers joined by CR).
void TestWizardSeiten::checkboxen_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("vorauswahl");
    QTest::addColumn<QList<int>>("klicks");
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<QString>("ergebnis");

    const QString abc = u"a\r\nb\r\nc"_s;
    QTest::newRow("vorauswahl 1 und 3") << abc << u"1\r\n3"_s << QList<int>{} << 3 << u"1\r3"_s;
    QTest::newRow("keine") << abc << QString() << QList<int>{} << 3 << QString();
    QTest::newRow("label kreuzt an") << abc << u"1\r\n3"_s << QList<int>{2} << 3 << u"1\r2\r3"_s;
    QTest::newRow("label nimmt das kreuz") << abc << u"1\r\n3"_s << QList<int>{3} << 3 << u"1"_s;
    QTest::newRow("zweimal geklickt") << abc << QString() << QList<int>{2, 2} << 3 << QString();
    QTest::newRow("zahl mit leerzeichen und rest")
        << abc << u" 2\r\n3x"_s << QList<int>{} << 3 << u"2\r3"_s;
    QTest::newRow("leeres stueck beendet die vorauswahl")
        << abc << u"1\r\n\r\n3"_s << QList<int>{} << 3 << u"1"_s;
    QTest::newRow("nummer ueber der anzahl")
        << u"a\r\nb"_s << u"3\r\n2"_s << QList<int>{} << 2 << u"2"_s;
    QTest::newRow("leerzeilen-text uebersprungen")
        << u"a\r\n  \r\nb"_s << u"2"_s << QList<int>{} << 2 << u"2"_s;
}

void TestWizardSeiten::checkboxen()
{
    QFETCH(QString, texte);
    QFETCH(QString, vorauswahl);
    QFETCH(QList<int>, klicks);
    QFETCH(int, anzahl);
    QFETCH(QString, ergebnis);

    int istAnzahl = 0;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        for (int k = 1; k <= 10; ++k) {
            auto* box = element(m_dialog, u"ShapeCheckAuswählenCheck"_s + QString::number(k));
            istAnzahl += box && !box->isHidden();
        }
        for (int k : klicks)
            klicken(element(m_dialog, u"ShapeCheckAuswählenCheckLabel"_s + QString::number(k)));
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const QString ist =
        m_dialog.ShowShapeCheckboxenSetzen(1, 1, 1, 0, u"T"_s, u"Auswahl"_s, texte, vorauswahl);
    QVERIFY(!wachhund.abgelaufen());
    QCOMPARE(istAnzahl, anzahl);
    QCOMPARE(ist, ergebnis);
}

// Captions, defaults, text typed into field 1, the captions shown, result.
void TestWizardSeiten::textfelder_data()
{
    QTest::addColumn<QString>("beschriftungen");
    QTest::addColumn<QString>("vorgaben");
    QTest::addColumn<QString>("tippen");
    QTest::addColumn<QStringList>("gezeigt");
    QTest::addColumn<QString>("ergebnis");

    QTest::newRow("zwei felder") << u"Name\r\nTitel"_s << u"x\r\ny"_s << QString()
                                 << QStringList{u"Name"_s, u"Titel"_s} << u"x\ry\r"_s;
    QTest::newRow("getippt") << u"Name"_s << u"Haupp"_s << u"auge"_s << QStringList{u"Name"_s}
                             << u"Hauppauge\r"_s;
    QTest::newRow("leere beschriftung ueberspringt ihre vorgabe")
        << u"Name\r\n  \r\nTitel"_s << u"x\r\nweg\r\ny"_s << QString()
        << QStringList{u"Name"_s, u"Titel"_s} << u"x\ry\r"_s;
    QTest::newRow("fehlende vorgaben") << u"Name\r\nTitel"_s << QString() << QString()
                                       << QStringList{u"Name"_s, u"Titel"_s} << u"\r\r"_s;
    QTest::newRow("keine beschriftung")
        << QString() << u"x"_s << QString() << QStringList{} << QString();
}

void TestWizardSeiten::textfelder()
{
    QFETCH(QString, beschriftungen);
    QFETCH(QString, vorgaben);
    QFETCH(QString, tippen);
    QFETCH(QStringList, gezeigt);
    QFETCH(QString, ergebnis);

    QStringList ist;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        for (int k = 1; k <= 10; ++k) {
            auto* label = element<QLabel>(m_dialog, u"ShapeTextboxenLabel"_s + QString::number(k));
            if (label && !label->isHidden())
                ist << label->text();
        }
        if (!tippen.isEmpty()) {
            auto* feld = element<QLineEdit>(m_dialog, u"ShapeTextboxenText1"_s);
            klicken(feld);
            feld->end(false);
            QTest::keyClicks(feld, tippen);
        }
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const QString istErgebnis =
        m_dialog.ShowShapeTexteEingeben(1, 1, 1, 0, u"T"_s, u"Angaben"_s, beschriftungen, vorgaben);
    QVERIFY(!wachhund.abgelaufen());
    QCOMPARE(ist, gezeigt);
    QCOMPARE(istErgebnis, ergebnis);
}

void TestWizardSeiten::nurAnzeige_data()
{
    QTest::addColumn<QString>("ueberschrift");
    QTest::newRow("mit ueberschrift") << u"TV-Anwendung verknüpfen"_s;
    QTest::newRow("ohne ueberschrift") << QString();
}

void TestWizardSeiten::nurAnzeige()
{
    QFETCH(QString, ueberschrift);
    m_dialog.ShowShapeNurAnzeige(2, 2, 2, 0, u"T"_s, u"Zeile 1\r\nZeile 2"_s, ueberschrift);
    auto* kopf = element<QLabel>(m_dialog, u"ShapeNurAnzeigeÜberschrift"_s);
    auto* text = element<QLabel>(m_dialog, u"ShapeNurAnzeigeLabel"_s);
    QCOMPARE(text->text(), u"Zeile 1\nZeile 2"_s);
    QCOMPARE(kopf->isHidden(), ueberschrift.isEmpty());
    QCOMPARE(text->y(), ueberschrift.isEmpty() ? kopf->y() : unten(kopf) + 6);
    QVERIFY(kopf->font().bold());
    QCOMPARE(kopf->font().pointSizeF(), 9.75);
    QCOMPARE(text->font().pointSizeF(), 8.25);
    // Two lines of text make the label two lines high.
    QVERIFY(text->height() >= 2 * text->fontMetrics().height());
}

// Controls placed below the caption label by the gaps of each page, with a
// caption of one and of several lines.
void TestWizardSeiten::layout_data()
{
    QTest::addColumn<QString>("seite");
    QTest::addColumn<QString>("text");
    const QString kurz = u"Kurz."_s;
    const QString lang =
        u"Bitte geben Sie jetzt den Fenstertitel der TV-Anwendung an. Sie finden diesen Text im "
        "Tooltipp des Eintrags momentan in Ihrer Taskleiste.\r\n\r\nAchten Sie auf korrekte "
        "Groß- und Kleinschreibung."_s;
    for (const QString& seite : {u"zeile"_s, u"datei"_s, u"liste"_s, u"haekchen"_s, u"option"_s,
                                 u"check"_s, u"texte"_s, u"combo"_s}) {
        QTest::addRow("%s kurz", qPrintable(seite)) << seite << kurz;
        QTest::addRow("%s lang", qPrintable(seite)) << seite << lang;
    }
}

void TestWizardSeiten::layout()
{
    QFETCH(QString, seite);
    QFETCH(QString, text);

    const Twips t(m_dialog);
    QStringList fehler;
    auto pruefe = [&fehler](const char* was, int ist, int soll) {
        if (ist != soll)
            fehler << QStringLiteral("%1: %2 statt %3").arg(QLatin1String(was)).arg(ist).arg(soll);
    };
    const QString drei = u"eins\r\nzwei zwei zwei zwei zwei zwei zwei zwei zwei zwei zwei zwei "
                         "zwei zwei zwei zwei\r\ndrei"_s;

    Wachhund wachhund(m_dialog);
    spaeter([&] {
        const Bildfeld* panel = nullptr;
        for (const Bildfeld* f : m_dialog.findChildren<Bildfeld*>()) {
            if (f->parentWidget() == &m_dialog && !f->isHidden() &&
                f->objectName().startsWith(u"Shape"_s))
                panel = f;
        }
        if (!panel) {
            fehler << u"keine Seite"_s;
            m_dialog.SeiteBeenden();
            return;
        }
        pruefe("Seite links", panel->x(), t.x(2055));
        pruefe("Seite oben", panel->y(), t.y(75));
        QLabel* beschriftung = nullptr;
        for (QLabel* l : panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (l->y() == 0 && !l->isHidden() && l->wordWrap() &&
                l->text() == QString(text).replace(u"\r\n"_s, u"\n"_s))
                beschriftung = l;
        }
        if (!beschriftung) {
            fehler << u"keine Beschriftung oben"_s;
            m_dialog.SeiteBeenden();
            return;
        }
        if (beschriftung->height() < beschriftung->heightForWidth(beschriftung->width()))
            fehler << u"Beschriftung abgeschnitten"_s;
        if (beschriftung->width() != t.x(5910))
            fehler << u"Beschriftung nicht seitenbreit"_s;
        const int b = unten(beschriftung);
        auto w = [this](const QString& name) { return element(m_dialog, name); };
        if (seite == u"zeile") {
            pruefe("Label2", w(u"ShapeDateinameAuswählenLabel2"_s)->y(), b);
            pruefe("Feld", w(u"ShapeDateinameAuswählenDateiname"_s)->y(),
                   b + w(u"ShapeDateinameAuswählenLabel2"_s)->fontMetrics().height());
        } else if (seite == u"datei") {
            const QWidget* l2 = w(u"ShapeDateinameAuswählenLabel2"_s);
            const QWidget* feld = w(u"ShapeDateinameAuswählenDateiname"_s);
            pruefe("Label2", l2->y(), b + l2->height());
            pruefe("Feld", feld->y(), unten(l2));
            pruefe("Durchsuchen", w(u"ShapeDateinameAuswählenDurchsuchen"_s)->y(), unten(feld) + 3);
        } else if (seite == u"liste") {
            const QWidget* liste = w(u"ShapeAusListeauswählenListe"_s);
            pruefe("Liste", liste->y(), b + 6);
            pruefe("Liste unten", unten(liste), panel->height() - 3);
        } else if (seite == u"haekchen") {
            pruefe("Kästchen", w(u"ShapeHäkchenSetzenCheck"_s)->y(), b + 6);
        } else if (seite == u"option" || seite == u"check") {
            const QString knopfName = seite == u"option" ? u"ShapeOptionAuswählenOption"_s
                                                         : u"ShapeCheckAuswählenCheck"_s;
            const QString labelName = seite == u"option" ? u"ShapeOptionAuswählenOptionLabel"_s
                                                         : u"ShapeCheckAuswählenCheckLabel"_s;
            int soll = b + 8;
            for (int k = 1; k <= 3; ++k) {
                const QWidget* label = w(labelName + QString::number(k));
                pruefe("Label", label->y(), soll);
                pruefe("Knopf", w(knopfName + QString::number(k))->y(), label->y());
                const QWidget* knopf = w(knopfName + QString::number(k));
                if (label->x() < knopf->x() + knopf->width())
                    fehler << u"Label überdeckt seinen Knopf"_s;
                soll = unten(label) + 4;
            }
        } else if (seite == u"texte") {
            int soll = b + 8;
            for (int k = 1; k <= 3; ++k) {
                const QWidget* label = w(u"ShapeTextboxenLabel"_s + QString::number(k));
                const QWidget* feld = w(u"ShapeTextboxenText"_s + QString::number(k));
                pruefe("Label", label->y(), soll);
                pruefe("Feld", feld->y(), unten(label));
                soll = unten(feld) + 4;
            }
        } else if (seite == u"combo") {
            // The rows sit in their own area; read them as placed on the page.
            auto aufSeite = [panel](const QWidget* x) {
                return QRect(x->mapTo(panel, QPoint(0, 0)), x->size());
            };
            int soll = b + 8;
            for (int k = 1; k <= 12; ++k) {
                const QRect rahmen =
                    aufSeite(w(u"ShapeComboTextComboFrame"_s + QString::number(k)));
                const QRect feld = aufSeite(w(u"ShapeComboTextText"_s + QString::number(k)));
                pruefe("Rahmen", rahmen.y(), soll);
                pruefe("Parameter", feld.y(), rahmen.y());
                if (rahmen != t.rechteck(120, 0, 1995, 285).translated(0, rahmen.y()))
                    fehler << u"Rahmen hat nicht seine Größe"_s;
                if (feld != t.rechteck(2100, 0, 3720, 285).translated(0, feld.y()))
                    fehler << u"Parameterfeld hat nicht seine Größe"_s;
                soll = rahmen.y() + rahmen.height() - 1;
            }
        }
        m_dialog.SeiteBeenden();
    });

    if (seite == u"zeile")
        m_dialog.ShowShapeTextzeileEingeben(1, 1, 1, 0, u"T"_s, text, u"x"_s);
    else if (seite == u"datei")
        m_dialog.ShowShapeDateiAuswählen(1, 1, 1, 0, u"T"_s, text,
                                         u"Start-Datei der TV-Anwendung"_s, u"x"_s);
    else if (seite == u"liste")
        m_dialog.ShowShapeAusListeAuswählen(1, 1, 1, 0, u"T"_s, text, u"a\r\nb"_s);
    else if (seite == u"haekchen")
        m_dialog.ShowShapeHäkchenSetzen(1, 1, 1, 0, u"T"_s, text, u"Kästchen"_s, false);
    else if (seite == u"option")
        m_dialog.ShowShapeOptionAuswählen(1, 1, 1, 0, u"T"_s, text, drei);
    else if (seite == u"check")
        m_dialog.ShowShapeCheckboxenSetzen(1, 1, 1, 0, u"T"_s, text, drei);
    else if (seite == u"texte")
        m_dialog.ShowShapeTexteEingeben(1, 1, 1, 0, u"T"_s, text, drei, QString());
    else
        m_dialog.ShowShapeComboTextEingeben(1, 1, 1, 0, u"T"_s, text, u",Beep"_s,
                                            ComboTextTabelle(12));
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(u"; "_s)));
}

void TestWizardSeiten::userdefiniert()
{
    frmWizard dialog;
    auto* eigene = new Bildfeld(&dialog, u"ShapeMeineSeite"_s);
    eigene->resize(100, 100);
    eigene->move(0, 0);
    auto* feld = new QLineEdit(eigene);
    feld->setObjectName(u"MeinFeld"_s);
    eigene->hide();

    Wachhund wachhund(dialog);
    bool gezeigt = false;
    bool fokus = false;
    spaeter([&] {
        gezeigt = eigene->isVisible();
        fokus = dialog.focusWidget() == feld;
        klicken(knopf(dialog, u"cmdWeiter"_s));
    });
    dialog.ShowShapeUserdefiniert(1, 1, 1, 0, u"Eigene Seite"_s, u"shapemeineseite"_s,
                                  u"MEINFELD"_s);
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(dialog.blnBenutzerWeiterGedrückt);
    QVERIFY(gezeigt);
    QVERIFY(fokus);
    const Twips t(dialog);
    QCOMPARE(eigene->pos(), QPoint(t.x(2055), t.y(75)));
    QCOMPARE(dialog.windowTitle(), u"Eigene Seite"_s);

    // Any other page hides the caller's panel again, as it is named "Shape…".
    dialog.ShowShapeNurAnzeige(2, 2, 2, 0, u"T"_s, u"Status"_s);
    QVERIFY(eigene->isHidden());
}

QTEST_MAIN(TestWizardSeiten)
#include "tst_wizard_seiten.moc"
