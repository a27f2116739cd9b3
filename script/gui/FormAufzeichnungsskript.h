#pragma once

#include <QList>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;

/// The status window: a small window that stays on top in the bottom-right
/// corner of the screen's work area and shows which action the script engine
/// is performing on the TV application. A popup menu (mouse button released
/// over the window) keeps the last actions. The window deletes itself when
/// closed.
class FormAufzeichnungsskript : public QWidget
{
    Q_OBJECT
public:
    explicit FormAufzeichnungsskript(QWidget* parent = nullptr);

    /// Shows `aktionstext` as the current action, adds it to the history
    /// (numbered with at least two digits; after 20 entries the oldest
    /// scrolls out) and shows the window, repainted at once.
    void ShowDebugInfo(const QString& aktionstext);

    /// Appends " ..Ok" to the current action and waits 200 ms (running the
    /// event loop) so that the confirmation can be read.
    void ShowDebugInfoAddOk();

    /// Moves the window so that its bottom-right corner meets that of the
    /// work area; a window larger than the work area keeps to its top-left.
    void platzieren();

    QLabel* LabelAktuelleAktion;
    QLabel* PictureInfoSymbol;
    QMenu* mnuPopupVerlauf;
    /// History items: index 0 reads "(Start)" at first, 1 to 20 are added.
    QList<QAction*> mnuVerlauf;
    QAction* trenn1;
    QAction* mnuSchließen;

protected:
    bool event(QEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void alwaysOnTop(bool oben);
    /// Waits, running the event loop, until the window is on the screen.
    void aufRahmenWarten();
    void verlaufZeigen(const QPoint& position);

    int m_aktionszaehler = 0;
    bool m_nachErstemZeigenPlatziert = false;
};
