#include "wizard_dialog/Hilfefenster.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

Hilfefenster::Hilfefenster(QWidget* besitzer)
    : QWidget(besitzer, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(u"Hilfefenster"_s);
    setWindowTitle(u"Hilfe"_s);
    m_browser->setObjectName(u"HilfefensterText"_s);
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

bool Hilfefenster::zeigen(const QString& datei, int kontext)
{
    const QFileInfo info(datei);
    if (!info.isFile() || !info.isReadable())
        return false;
    QUrl adresse = QUrl::fromLocalFile(info.absoluteFilePath());
    adresse.setFragment(u"kontext"_s + QString::number(kontext));
    // The file ends in .hlp, so the type cannot come from its name.
    m_browser->setSource(adresse, QTextDocument::HtmlResource);
    m_browser->scrollToAnchor(adresse.fragment());
    const QString titel = m_browser->documentTitle();
    setWindowTitle(titel.isEmpty() ? u"Hilfe"_s : titel);
    show();
    raise();
    activateWindow();
    return true;
}
