#pragma once

#include <QWidget>

class QTextBrowser;

/// The program's help window: shows the HTML help file and jumps to the
/// section of a context number (the anchor "kontext" followed by the number).
class Hilfefenster : public QWidget
{
    Q_OBJECT
public:
    explicit Hilfefenster(QWidget* besitzer);

    /// Loads `datei` and shows the section of `kontext`; brings the window
    /// to the front. Returns false, showing nothing, when the file cannot be
    /// read.
    bool zeigen(const QString& datei, int kontext);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
