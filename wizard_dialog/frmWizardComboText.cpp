// The command-step editor: 12 rows of command field and parameter field.

#include "wizard_dialog/frmWizard.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "system/TextZeile2Collection.h"
#include "wizard_dialog/Bildfeld.h"
#include "wizard_dialog/Zeilenbereich.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int ZeilenAnzahl = 12;
// Gap between the caption and the first row, in pixels.
constexpr int AbstandErsteZeile = 8;
} // namespace

ComboTextTabelle frmWizard::ShowShapeComboTextEingeben(
    qint32 Abbrechen, qint32 Zurueck, qint32 Weiter, qint32 Fertigstellen,
    const QString& Fensterbeschriftung, const QString& BeschriftungsText, QString ComboListItems,
    ComboTextTabelle arrComboTextItems, const QPixmap* GrafikfürAnzeige)
{
    seiteVorbereiten(Seite::ComboText, Abbrechen, Zurueck, Weiter, Fertigstellen, GrafikfürAnzeige);
    const int unten = textHoeheSetzen(ShapeComboTextLabel, BeschriftungsText, 0);
    // Rows are placed on the row area, which starts below the caption.
    Bildfeld* ersterRahmen = ShapeComboTextComboFrame.at(0);
    ersterRahmen->move(ersterRahmen->x(), 0);
    ShapeComboTextText.at(0)->move(ShapeComboTextText.at(0)->x(), 0);

    for (int k = 0; k < ZeilenAnzahl; ++k) {
        ShapeComboTextCombo.at(k)->setCurrentIndex(-1);
        ShapeComboTextText.at(k)->clear();
    }

    const QStringList namen =
        TextZeile2Collection(ComboListItems, u","_s, QString(), true, true, false);

    for (int k = 1; k <= ZeilenAnzahl; ++k) {
        const QString befehl = LeerzeichenEntfernen(arrComboTextItems.text(k, 1));
        const QString parameter = LeerzeichenEntfernen(arrComboTextItems.text(k, 2));

        // The row shows the listed spelling of the command; with names listed
        // twice the last one is chosen, an unlisted command leaves none.
        QComboBox* combo = ShapeComboTextCombo.at(k - 1);
        combo->clear();
        int gewaehlt = -1;
        for (const QString& name : namen) {
            combo->addItem(name);
            if (LeerzeichenEntfernen(name).compare(befehl, Qt::CaseInsensitive) == 0)
                gewaehlt = combo->count() - 1;
        }
        combo->setCurrentIndex(gewaehlt);

        QLineEdit* feld = ShapeComboTextText.at(k - 1);
        feld->setText(parameter);
        feld->home(false);

        Bildfeld* rahmen = ShapeComboTextComboFrame.at(k - 1);
        if (k > 1) {
            // One pixel higher than directly below: neighbouring rows share
            // their border line.
            const Bildfeld* vorher = ShapeComboTextComboFrame.at(k - 2);
            rahmen->move(rahmen->x(), vorher->y() + vorher->height() - 1);
            feld->move(feld->x(), rahmen->y());
        }
        rahmen->show();
        combo->show();
        feld->show();
    }

    const int oben = unten + AbstandErsteZeile;
    ShapeComboTextZeilenbereich->einpassen(oben, seitenHoehe() - oben);

    cmdHilfe->show();
    seiteZeigen(ShapeComboTextEingeben, Fensterbeschriftung);
    dialogZeigen();
    fokusSetzen(ShapeComboTextText.at(0));
    warten();
    cmdHilfe->hide();

    for (int k = 1; k <= ZeilenAnzahl; ++k) {
        arrComboTextItems.setzen(k, 1, ShapeComboTextCombo.at(k - 1)->currentText());
        arrComboTextItems.setzen(k, 2, ShapeComboTextText.at(k - 1)->text());
    }
    return arrComboTextItems;
}
