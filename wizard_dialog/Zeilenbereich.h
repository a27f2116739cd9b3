#pragma once

#include <QScrollArea>

/// The area the command-step editor's rows sit in, directly on the page.
/// Where the page has room below its caption the area is exactly as tall as
/// its rows and looks like the page itself; below a long caption it takes
/// the rest of the page and scrolls vertically, and the row that gets the
/// focus is scrolled fully into view.
class Zeilenbereich : public QScrollArea
{
    Q_OBJECT
public:
    Zeilenbereich(QWidget* parent, const QString& name);

    /// The widget the rows are placed on, in their own coordinates.
    QWidget* zeilen() const { return widget(); }

    /// Places the area `oben` pixels from its parent's top with room for
    /// `hoehe` pixels and sizes it to the rows shown on it; scrolls back to
    /// the first row.
    void einpassen(int oben, int hoehe);

    /// Scrolls just as far as needed to show the row holding `feld`.
    void sichtbarMachen(const QWidget* feld);

    /// Wheel turns over `feld` scroll the area unless `feld` has the focus,
    /// so that scrolling past a drop-down field does not change its entry.
    void radZumRollen(QWidget* feld);

protected:
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    const QWidget* zeileVon(const QWidget* feld) const;

    // How far the rows are moved left to make room for the scroll bar.
    int m_nachLinks = 0;
};
