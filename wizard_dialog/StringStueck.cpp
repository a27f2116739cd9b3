#include "wizard_dialog/StringStueck.h"

QString StringStück(QString& GanzerString, const QString& Trennzeichen, bool chr10raustrimmen)
{
    // Searching the text with the separator appended always finds one: a
    // text without separator is the last piece and leaves nothing behind.
    const qsizetype p = (GanzerString + Trennzeichen).indexOf(Trennzeichen);
    QString stueck = GanzerString.left(p);
    if (chr10raustrimmen && stueck.startsWith(QChar(10)))
        stueck.remove(0, 1);
    // An empty separator still has to consume a character, or callers that
    // cut until the rest is empty would never finish.
    const qsizetype weiter = p + qMax<qsizetype>(Trennzeichen.size(), 1);
    GanzerString = weiter >= GanzerString.size() ? QString() : GanzerString.mid(weiter);
    return stueck;
}
