#pragma once

#include <QColor>
#include <QFrame>

/// A picture holder: the container control the wizard's page panels, the
/// row frames of the command-step editor, the picture area and the button
/// strip are made of. The dialog finds its page panels among these by name.
class Bildfeld : public QFrame
{
    Q_OBJECT
public:
    explicit Bildfeld(QWidget* parent, const QString& name);

    void hintergrundSetzen(const QColor& farbe);

    /// Draws a line in `farbe` along the top and the left edge, over the
    /// full width and height, on top of the background.
    void kantenlinienZeichnen(const QColor& farbe);

protected:
    void paintEvent(QPaintEvent* ereignis) override;

private:
    QColor m_kante;
};
