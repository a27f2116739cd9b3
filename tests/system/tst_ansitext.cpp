#include <QTest>

#include "system/AnsiText.h"

using namespace Qt::StringLiterals;

class TestAnsiText : public QObject
{
    Q_OBJECT
private slots:
    void kodieren_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("umlaute") << u"Größ äÄ"_s << "Gr\xf6\xdf \xe4\xc4"_ba;
        QTest::newRow("80 bis 9f") << u"€ „x“ – …"_s << "\x80 \x84x\x93 \x96 \x85"_ba;
        QTest::newRow("ausserhalb") << u"Ω✓"_s << "??"_ba;
        QTest::newRow("surrogatpaar ist ein zeichen") << u"a😀b"_s << "a?b"_ba;
    }

    void kodieren()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(zuAnsi(text), bytes);
        if (!bytes.contains('?')) {
            QCOMPARE(ausAnsi(bytes), text);
            QCOMPARE(ausDateitext(bytes), text); // no valid UTF-8: read as 1252
        }
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
