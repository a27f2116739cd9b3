#include "suite_db/Datenbankmeldungsfenster.h"

#include <QApplication>
#include <QMessageBox>

using namespace Qt::StringLiterals;

Datenbankmeldungen::Antwort Datenbankmeldungsfenster::frage(const QString& titel,
                                                            const QString& text, Knoepfe knoepfe,
                                                            bool vordergrund)
{
    const bool jaNein = knoepfe == Knoepfe::JaNein;
    QMessageBox box(QMessageBox::Warning, titel, QString(text).replace(u"\r\n"_s, u"\n"_s),
                    jaNein ? QMessageBox::Yes | QMessageBox::No
                           : QMessageBox::Retry | QMessageBox::Cancel);
    box.setTextFormat(Qt::PlainText);
    if (vordergrund) {
        // The collision may come from a program running in the background.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.show();
        box.raise();
        box.activateWindow();
    }
    const int knopf = box.exec();
    if (jaNein)
        return knopf == QMessageBox::Yes ? Antwort::Ja : Antwort::Nein;
    return knopf == QMessageBox::Retry ? Antwort::Wiederholen : Antwort::Abbrechen;
}

void Datenbankmeldungsfenster::beschaeftigt(bool an)
{
    if (an)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
