// testfernseher [--protokoll DATEI]
// A small TV application of our own for the end-to-end test of the wizard.
// It shows a channel and a recording state the way a TV program does and
// appends what it received to a log, one line each, flushed at once:
//   "gestartet"                     when its window is up
//   "Taste NAME"                    every key press (modifier keys alone are
//                                   not written), NAME in Qt's portable
//                                   notation: "0", "Alt+R", "Esc", "Alt+F4"
//   "Kanal NN"                      after two digits were typed
//   "Aufnahme gestartet"            Alt+R while no recording runs
//   "Aufnahme beendet"              Esc while a recording runs
//   "geschlossen"                   the window is closed (by the window
//                                   manager, or by Alt+F4 reaching us where
//                                   none runs)
// The log is DATEI, or testfernseher.log beside the program: the wizard
// starts it without arguments.
#include <cstdio>

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

using namespace Qt::StringLiterals;

class Fernseher : public QWidget
{
public:
    explicit Fernseher(const QString& protokollDatei)
        : m_protokoll(protokollDatei)
    {
        setFocusPolicy(Qt::StrongFocus);
        auto* layout = new QVBoxLayout(this);
        m_kanalAnzeige = new QLabel(this);
        QFont gross = m_kanalAnzeige->font();
        gross.setPointSize(20);
        gross.setBold(true);
        m_kanalAnzeige->setFont(gross);
        m_aufnahmeAnzeige = new QLabel(this);
        layout->addWidget(m_kanalAnzeige);
        layout->addWidget(m_aufnahmeAnzeige);
        anzeigen();
        // Small, so that where no window manager places it, it stays clear
        // of the wizard in the middle of the screen.
        setFixedSize(260, 110);
    }

    bool protokollOffen()
    {
        return m_protokoll.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    }

    void schreiben(const QString& zeile) { m_protokoll.write((zeile + u'\n').toUtf8()); }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        static const QList<int> modifikatoren{Qt::Key_Shift,   Qt::Key_Control, Qt::Key_Alt,
                                              Qt::Key_AltGr,   Qt::Key_Meta,    Qt::Key_Super_L,
                                              Qt::Key_Super_R, Qt::Key_Hyper_L, Qt::Key_Hyper_R};
        if (modifikatoren.contains(e->key()))
            return;
        const Qt::KeyboardModifiers mods =
            e->modifiers() &
            (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        schreiben(u"Taste "_s + QKeySequence(QKeyCombination(mods, Qt::Key(e->key())))
                                    .toString(QKeySequence::PortableText));

        if (mods == Qt::NoModifier && e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9) {
            m_ziffern += QChar(u'0' + (e->key() - Qt::Key_0));
            if (m_ziffern.size() == 2) {
                m_kanal = m_ziffern;
                m_ziffern.clear();
                schreiben(u"Kanal "_s + m_kanal);
                anzeigen();
            }
        } else if (mods == Qt::AltModifier && e->key() == Qt::Key_R) {
            if (!m_aufnahme) {
                m_aufnahme = true;
                schreiben(u"Aufnahme gestartet"_s);
                anzeigen();
            }
        } else if (mods == Qt::NoModifier && e->key() == Qt::Key_Escape) {
            if (m_aufnahme) {
                m_aufnahme = false;
                schreiben(u"Aufnahme beendet"_s);
                anzeigen();
            }
        } else if (mods == Qt::AltModifier && e->key() == Qt::Key_F4) {
            // Where a window manager runs, it takes Alt+F4 itself.
            close();
        }
    }

    void closeEvent(QCloseEvent* e) override
    {
        schreiben(u"geschlossen"_s);
        e->accept();
    }

private:
    void anzeigen()
    {
        m_kanalAnzeige->setText(u"Kanal "_s + m_kanal);
        m_aufnahmeAnzeige->setText(m_aufnahme ? u"Aufnahme läuft"_s : u"keine Aufnahme"_s);
        setWindowTitle(u"Testfernseher - Kanal "_s + m_kanal +
                       (m_aufnahme ? u" - Aufnahme"_s : QString()));
    }

    QFile m_protokoll;
    QLabel* m_kanalAnzeige = nullptr;
    QLabel* m_aufnahmeAnzeige = nullptr;
    QString m_kanal = u"01"_s;
    QString m_ziffern;
    bool m_aufnahme = false;
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList a = QApplication::arguments();
    const qsizetype i = a.indexOf(u"--protokoll"_s);
    const QString datei = i > 0 && i + 1 < a.size()
                              ? a.at(i + 1)
                              : QApplication::applicationDirPath() + u"/testfernseher.log"_s;
    Fernseher fenster(datei);
    if (!fenster.protokollOffen()) {
        std::fputs("testfernseher: Protokolldatei kann nicht geschrieben werden\n", stderr);
        return 1;
    }
    fenster.show();
    fenster.schreiben(u"gestartet"_s);
    return app.exec();
}
