#include <QTest>

#include "system/AnsiText.h"
#include "system/Textdatei.h"
#include "tests/gemeinsam/Falltabelle.h"

using namespace Qt::StringLiterals;

class TestAnsiText : public QObject
{
    Q_OBJECT
private slots:
    void kodieren_data() { falltabelle("system-faelle.txt", "kodieren"); }

    void kodieren()
    {
        QFETCH(QString, text);
        QFETCH(QString, bytes);
        const QByteArray ansi = bytes.toLatin1();
        QCOMPARE(zuAnsi(text), ansi);
        if (!ansi.contains('?')) {
            QCOMPARE(ausAnsi(ansi), text);
            QCOMPARE(ausDateitext(ansi), text); // no valid UTF-8: read as 1252
        }
    }

    void dateitext_data() { falltabelle("system-faelle.txt", "dateitext"); }

    void dateitext()
    {
        QFETCH(QString, bytes);
        QFETCH(QString, zeilen);
        const QStringList gelesen = TextzeilenTrennen(ausDateitext(bytes.toLatin1()));
        QCOMPARE(gelesen.join(u'\n'), zeilen);
        QCOMPARE(gelesen.isEmpty(), bytes.isEmpty());
    }

    void alleBytesUndUtf8()
    {
        QByteArray alle(256, '\0');
        for (int b = 0; b < 256; ++b)
            alle[b] = char(b);
        QCOMPARE(ausAnsi(alle).size(), 256);
        QCOMPARE(zuAnsi(ausAnsi(alle)), alle);
        // Files edited on Linux: valid UTF-8 is taken as UTF-8, without its BOM.
        QCOMPARE(ausDateitext("Gr\xc3\xbc\xc3\x9f"_ba), u"Grüß"_s);
        QCOMPARE(ausDateitext("\xef\xbb\xbfx"_ba), u"x"_s);
    }
};

QTEST_GUILESS_MAIN(TestAnsiText)
#include "tst_ansitext.moc"
