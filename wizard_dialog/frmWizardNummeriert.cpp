// The pages with numbered controls: options, check boxes, text fields.

#include "wizard_dialog/frmWizard.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "system/TextZeile2Collection.h"
#include "wizard_dialog/KlickLabel.h"
#include "wizard_dialog/StringStueck.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int HoechsteAnzahl = 10;
// Gaps in pixels: first entry below the caption, entries below each other.
constexpr int AbstandErsterEintrag = 8;
constexpr int AbstandEintraege = 4;

const QString CR = u"\r"_s;

bool leer(const QString& text)
{
    return LeerzeichenEntfernen(text).isEmpty();
}

/// The pieces of a multi-line text up to the first empty one; pieces of
/// blanks only are skipped. More than the controls can show are dropped.
QStringList eintraege(QString text)
{
    QStringList ergebnis;
    for (;;) {
        const QString stueck = StringStück(text, CR, true);
        if (stueck.isEmpty())
            break;
        if (!leer(stueck) && ergebnis.size() < HoechsteAnzahl)
            ergebnis << stueck;
    }
    return ergebnis;
}

/// The number a text begins with, after blanks and tabs; 0 when there is none.
double zahlwert(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    qsizetype ende = i;
    if (ende < text.size() && (text.at(ende) == u'+' || text.at(ende) == u'-'))
        ++ende;
    bool punkt = false;
    while (ende < text.size() && (text.at(ende).isDigit() || (!punkt && text.at(ende) == u'.'))) {
        punkt = punkt || text.at(ende) == u'.';
        ++ende;
    }
    bool ok = false;
    const double wert = text.mid(i, ende - i).toDouble(&ok);
    return ok ? wert : 0.0;
}
} // namespace

qint16 frmWizard::ShowShapeOptionAuswählen(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                           qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                           const QString& BeschriftungsText,
                                           const QString& Optionstexte, qint16 VorAuswahlIndex,
                                           const QPixmap* GrafikfürAnzeige)
{
    seiteVorbereiten(Seite::Option, Abbrechen, Zurueck, Weiter, Fertigstellen, GrafikfürAnzeige);
    int unten = textHoeheSetzen(ShapeOptionAuswählenLabel, BeschriftungsText, 0);
    optionenAnlegen(HoechsteAnzahl);
    for (int k = 0; k < HoechsteAnzahl; ++k) {
        ShapeOptionAuswählenOption.at(k)->hide();
        ShapeOptionAuswählenOptionLabel.at(k)->hide();
    }

    const QStringList texte = eintraege(Optionstexte);
    int abstand = AbstandErsterEintrag;
    for (qsizetype k = 0; k < texte.size(); ++k) {
        KlickLabel* label = ShapeOptionAuswählenOptionLabel.at(k);
        QRadioButton* option = ShapeOptionAuswählenOption.at(k);
        const int oben = unten + abstand;
        beschriftungSetzen(option, label, texte.at(k));
        unten = textHoeheSetzen(label, texte.at(k), oben);
        option->move(0, oben);
        option->show();
        label->show();
        abstand = AbstandEintraege;
    }

    const int gewaehlt = VorAuswahlIndex > 0 ? VorAuswahlIndex : 1;
    if (gewaehlt <= HoechsteAnzahl) {
        ShapeOptionAuswählenOption.at(gewaehlt - 1)->setChecked(true);
    } else {
        // No such option: none is selected.
        for (QRadioButton* option : std::as_const(ShapeOptionAuswählenOption)) {
            option->setAutoExclusive(false);
            option->setChecked(false);
            option->setAutoExclusive(true);
        }
    }

    seiteZeigen(ShapeOptionAuswählen, Fensterbeschriftung);
    dialogZeigen();
    if (gewaehlt <= HoechsteAnzahl)
        fokusSetzen(ShapeOptionAuswählenOption.at(gewaehlt - 1));
    warten();

    for (int k = 0; k < HoechsteAnzahl; ++k) {
        if (ShapeOptionAuswählenOption.at(k)->isChecked())
            return static_cast<qint16>(k + 1);
    }
    return 0;
}

QString frmWizard::ShowShapeCheckboxenSetzen(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                             qint32 Fertigstellen,
                                             const QString& Fensterbeschriftung,
                                             const QString& BeschriftungsText,
                                             const QString& Checkboxentexte,
                                             const QString& VorAuswahlIndexe,
                                             const QPixmap* GrafikfürAnzeige)
{
    seiteVorbereiten(Seite::Checkboxen, Abbrechen, Zurueck, Weiter, Fertigstellen,
                     GrafikfürAnzeige);
    int unten = textHoeheSetzen(ShapeCheckAuswählenLabel, BeschriftungsText, 0);
    checkboxenAnlegen(HoechsteAnzahl);
    for (int k = 0; k < HoechsteAnzahl; ++k) {
        ShapeCheckAuswählenCheck.at(k)->hide();
        ShapeCheckAuswählenCheckLabel.at(k)->hide();
    }

    const QStringList texte = eintraege(Checkboxentexte);
    const int anzahl = static_cast<int>(texte.size());
    int abstand = AbstandErsterEintrag;
    for (int k = 0; k < anzahl; ++k) {
        KlickLabel* label = ShapeCheckAuswählenCheckLabel.at(k);
        QCheckBox* box = ShapeCheckAuswählenCheck.at(k);
        const int oben = unten + abstand;
        beschriftungSetzen(box, label, texte.at(k));
        unten = textHoeheSetzen(label, texte.at(k), oben);
        box->move(0, oben);
        box->setChecked(false);
        box->show();
        label->show();
        abstand = AbstandEintraege;
    }

    QString vorgabe = VorAuswahlIndexe;
    for (;;) {
        const QString stueck = StringStück(vorgabe, CR, true);
        if (stueck.isEmpty())
            break;
        if (leer(stueck))
            continue;
        const double nummer = zahlwert(stueck);
        for (int k = 1; k <= anzahl; ++k) {
            if (nummer == k)
                ShapeCheckAuswählenCheck.at(k - 1)->setChecked(true);
        }
    }

    seiteZeigen(ShapeCheckAuswählen, Fensterbeschriftung);
    dialogZeigen();
    fokusSetzen(ShapeCheckAuswählenCheck.at(0));
    warten();

    QStringList angekreuzt;
    for (int k = 1; k <= anzahl; ++k) {
        if (ShapeCheckAuswählenCheck.at(k - 1)->isChecked())
            angekreuzt << QString::number(k);
    }
    return angekreuzt.join(CR);
}

QString frmWizard::ShowShapeTexteEingeben(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                          qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                          const QString& BeschriftungsText,
                                          const QString& BeschriftungTextboxen,
                                          const QString& Vorgabetexte,
                                          const QPixmap* GrafikfürAnzeige)
{
    seiteVorbereiten(Seite::Texte, Abbrechen, Zurueck, Weiter, Fertigstellen, GrafikfürAnzeige);
    int unten = textHoeheSetzen(ShapeTextboxenBeschriftung, BeschriftungsText, 0);
    textfelderAnlegen(HoechsteAnzahl);
    for (int k = 0; k < HoechsteAnzahl; ++k) {
        ShapeTextboxenLabel.at(k)->hide();
        ShapeTextboxenText.at(k)->hide();
    }

    // Captions and defaults are cut in step; a blank caption skips its pair,
    // an empty one ends the list.
    QString beschriftungen = BeschriftungTextboxen;
    QString vorgaben = Vorgabetexte;
    int k = 0;
    int abstand = AbstandErsterEintrag;
    for (;;) {
        const QString vorgabe = StringStück(vorgaben, CR, true);
        const QString beschriftung = StringStück(beschriftungen, CR, true);
        if (!leer(beschriftung) && k < HoechsteAnzahl) {
            QLabel* label = ShapeTextboxenLabel.at(k);
            QLineEdit* feld = ShapeTextboxenText.at(k);
            beschriftungSetzen(feld, label, beschriftung);
            unten = textHoeheSetzen(label, beschriftung, unten + abstand);
            feld->setText(vorgabe);
            feld->move(0, unten);
            unten += feld->height();
            label->show();
            feld->show();
            abstand = AbstandEintraege;
            ++k;
        }
        if (beschriftung.isEmpty())
            break;
    }

    seiteZeigen(ShapeTextboxen, Fensterbeschriftung);
    dialogZeigen();
    keinFokus();
    warten();

    QString ergebnis;
    for (QLineEdit* feld : std::as_const(ShapeTextboxenText)) {
        if (!feld->isHidden())
            ergebnis += feld->text() + CR;
    }
    return ergebnis;
}
