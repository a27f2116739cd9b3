#include <QTest>

#include "system/AnsiText.h"

using namespace Qt::StringLiterals;

class TestAnsiText : public QObject
{
    Q_OBJECT
private slots:
    void kodieren_data();
    void kodieren();
    void alleBytesHinUndZurueck();
    void dateitext_data();
    void dateitext();
};

void TestAnsiText::kodieren_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << u"Kanal 01"_s << QByteArray("Kanal 01");
    QTest::newRow("umlaute") << u"Größe äöüÄÖÜß"_s
                             << QByteArray("Gr\xf6\xdf"
                                           "e \xe4\xf6\xfc\xc4\xd6\xdc\xdf");
    QTest::newRow("euro und anfuehrungen")
        << u"€ „x“ – …"_s << QByteArray("\x80 \x84x\x93 \x96 \x85");
    QTest::newRow("ausserhalb") << u"Ω✓"_s << QByteArray("??");
    QTest::newRow("surrogatpaar ist ein zeichen") << u"a😀b"_s << QByteArray("a?b");
}

void TestAnsiText::kodieren()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(zuAnsi(text), bytes);
    if (!bytes.contains('?'))
        QCOMPARE(ausAnsi(bytes), text);
}

void TestAnsiText::alleBytesHinUndZurueck()
{
    QByteArray alle;
    for (int b = 0; b < 256; ++b)
        alle.append(char(b));
    const QString text = ausAnsi(alle);
    QCOMPARE(text.size(), 256);
    QCOMPARE(zuAnsi(text), alle);
}

void TestAnsiText::dateitext_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf8") << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                        "e")
                          << u"Grüße"_s;
    QTest::newRow("1252") << QByteArray("Gr\xfc\xdf"
                                        "e")
                          << u"Grüße"_s;
    QTest::newRow("ascii") << QByteArray("abc") << u"abc"_s;
    QTest::newRow("ungueltiges utf8 faellt auf 1252") << QByteArray("\xc3\x28") << u"Ã("_s;
    QTest::newRow("bom") << QByteArray("\xef\xbb\xbfx") << u"x"_s;
}

void TestAnsiText::dateitext()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(ausDateitext(bytes), text);
}

QTEST_GUILESS_MAIN(TestAnsiText)
#include "tst_ansitext.moc"
