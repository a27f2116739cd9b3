#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "tests/gemeinsam/Falltabelle.h"

using namespace Qt::StringLiterals;

/// The command lines of einrichter and aufzeichnen, run as real processes
/// from a program folder of the test's own and on a display that does not
/// exist: a call that is not understood must end before anything is done.
class TestAufrufe : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;
    // Qt warns on standard error when it has no runtime folder.
    QTemporaryDir m_laufzeitordner;

private slots:
    void initTestCase()
    {
        QVERIFY(m_ordner.isValid());
        QVERIFY(QFile::copy(QStringLiteral(SENDARO_PROGRAMMORDNER "/einrichter"),
                            m_ordner.filePath(u"einrichter"_s)));
        QVERIFY(QFile::copy(QStringLiteral(AUFZEICHNEN_PFAD), m_ordner.filePath(u"aufzeichnen"_s)));
    }

    void aufrufe_data() { falltabelle("werkzeuge-faelle.txt", "aufrufe"); }

    void aufrufe()
    {
        QFETCH(QString, programm);
        QFETCH(QString, argumente);
        QFETCH(QString, code);
        QFETCH(QString, fehler);
        const QStringList inhaltVorher = QDir(m_ordner.path()).entryList(QDir::Files);

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_s, u":4711"_s);
        env.insert(u"QT_LOGGING_RULES"_s, u"qt.qpa.*=false"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, m_laufzeitordner.path());
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(QDir::tempPath());
        p.start(m_ordner.filePath(programm),
                argumente.isEmpty() ? QStringList() : argumente.split(u'|'));
        const bool fertig = p.waitForFinished(30000);
        p.kill();
        p.waitForFinished(5000);
        const QString aus = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY(fertig && p.exitStatus() == QProcess::NormalExit);
        QCOMPARE(p.exitCode(), code.toInt());
        if (code == u"2"_s) {
            // The reason, then the usage; nothing on standard output, and
            // nothing in the program folder changed.
            QVERIFY2(err.startsWith(fehler + u"\n\nAufruf: "_s), qPrintable(err));
            QCOMPARE(aus, QString());
            QCOMPARE(QDir(m_ordner.path()).entryList(QDir::Files), inhaltVorher);
        } else {
            // Understood: the run gets as far as the missing display.
            QVERIFY2(err.contains(fehler), qPrintable(err));
        }
    }
};

QTEST_GUILESS_MAIN(TestAufrufe)
#include "tst_aufrufe.moc"
