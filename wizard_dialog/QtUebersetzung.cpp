#include "wizard_dialog/QtUebersetzung.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

bool QtUebersetzungLaden()
{
    static QTranslator* uebersetzer = nullptr;
    if (uebersetzer)
        return true;
    auto* neu = new QTranslator(QCoreApplication::instance());
    if (!neu->load(QLocale(QLocale::German, QLocale::Germany), u"qtbase"_s, u"_"_s,
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete neu;
        return false;
    }
    QCoreApplication::installTranslator(neu);
    uebersetzer = neu;
    return true;
}
