#pragma once

#include <QFile>
#include <QRasterWindow>

/// A plain window that appends what every key press brings to a file: the
/// text of a printable key as it stands, any other key (and any key with
/// Ctrl, Alt, Meta or from the keypad) as "<Modifiers+Name>" in Qt's portable
/// notation, e.g. "<Return>", "<Ctrl+A>", "<Alt+F4>", "<Num++>". Modifier
/// keys alone are not written. So a test can compare exactly what arrived.
class Tastenfenster : public QRasterWindow
{
public:
    Tastenfenster(const QString& titel, const QString& ausgabe);

    bool ausgabeOffen() const { return m_ausgabe.isOpen(); }

protected:
    void keyPressEvent(QKeyEvent* ereignis) override;
    void paintEvent(QPaintEvent* ereignis) override;

private:
    QFile m_ausgabe;
    QString m_zuletzt;
};
