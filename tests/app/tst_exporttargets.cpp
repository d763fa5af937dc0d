// `nervuria export -o` onto something that is not a regular file: refused
// with status 3 and a clear message, the node left as it was.
#include "app/CommandLine.h"
#include "ui/Language.h"

#include "ScriptedPrompts.h"
#include "FileNodes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

class TstExportTargets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void target_data();
    void target();
};

void TstExportTargets::target_data()
{
    QTest::addColumn<QString>("kind"); // the node at the output path before the run
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("firstWords"); // of the error stream, after the path
    QTest::addColumn<QString>("kindAfter");
    for (const char *format : {"svg", "dxf", "pdf", "dat"}) {
        for (const char *kind : {"fifo", "folder", "socket", "device"})
            QTest::addRow("%s onto a %s", format, kind)
                << kind << format << 3 << "not a regular file" << kind;
        QTest::addRow("%s onto a new file", format) << "none" << format << 0 << ""
                                                    << "file";
    }
}

void TstExportTargets::target()
{
    QFETCH(QString, kind);
    QFETCH(QString, format);
    QFETCH(int, status);
    QFETCH(QString, firstWords);
    QFETCH(QString, kindAfter);
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    if (kind != "none" && !FileNodes::make(kind, out))
        QSKIP("this system does not let the test make such a node");

    QStringList args{"nervuria",  "export",
                     "--db",      QStringLiteral(NERVURIA_SOURCE_DIR "/sample/Profils.pro"),
                     "--format",  format,
                     "--profile", "NACA 2412",
                     "-o",        out};
    ScriptedPrompts prompts;
    QString outText, errText;
    QTextStream outStream(&outText), errStream(&errText);
    CommandLine commandLine;
    QCOMPARE(commandLine.run(args, outStream, errStream), status);
    errStream.flush();
    if (!firstWords.isEmpty())
        QVERIFY2(errText.startsWith(out + ": " + firstWords), qPrintable(errText));
    QCOMPARE(FileNodes::kindOf(out), kindAfter);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             QStringList{"out"});
}

QTEST_MAIN(TstExportTargets)
#include "tst_exporttargets.moc"
