#pragma once

#include <QFile>
#include <QTest>

/// Undoes the escapes of a case table field: \r \n \t \\ and \xHH (one
/// character, U+0000 to U+00FF).
inline QString falltext(QStringView feld)
{
    QString text;
    for (qsizetype i = 0; i < feld.size(); ++i) {
        if (feld[i] != u'\\' || i + 1 == feld.size()) {
            text += feld[i];
            continue;
        }
        switch (feld[++i].unicode()) {
        case 'r':
            text += u'\r';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'x':
            text += QChar(feld.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
            break;
        default:
            text += feld[i];
        }
    }
    return text;
}

/// Fills a _data() function from section [abschnitt] of the case table
/// tests/data/`datei`: tab-separated lines, the first naming the columns
/// (all QString), each further one a case named by its first field. Lines
/// starting with # are comments; fields use the escapes of falltext().
inline void falltabelle(const char* datei, const char* abschnitt)
{
    static QList<QByteArray> spalten; // QtTest keeps the column names' pointers
    QFile f(QStringLiteral(SENDARO_TESTDATEN "/") + QString::fromUtf8(datei));
    QVERIFY2(f.open(QIODevice::ReadOnly | QIODevice::Text), datei);
    const QString kopf = u'[' + QString::fromUtf8(abschnitt) + u']';
    qsizetype n = 0;
    bool drin = false;
    for (const QString& zeile : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (zeile.startsWith(u'[')) {
            drin = zeile == kopf;
            continue;
        }
        if (!drin || zeile.isEmpty() || zeile.startsWith(u'#'))
            continue;
        const QStringList felder = zeile.split(u'\t');
        if (n == 0) {
            n = felder.size();
            for (qsizetype i = 1; i < n; ++i)
                QTest::addColumn<QString>((spalten << felder[i].toUtf8()).last().constData());
            continue;
        }
        QTestData& fall = QTest::newRow(qPrintable(felder[0]));
        for (qsizetype i = 1; i < n; ++i)
            fall << falltext(felder.value(i));
    }
    QVERIFY2(n > 0, abschnitt);
}
