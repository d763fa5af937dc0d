// The command line on the sample database: every format, one template and
// all, and the bad inputs with their messages and exit statuses.
#include "app/CommandLine.h"
#include "ui/Language.h"

#include "ScriptedPrompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace
{
const QString kSample = QStringLiteral(NERVURIA_SOURCE_DIR "/sample");
}

class TstCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void run_data();
    void run();
    void windowsWithoutArguments();
    void program_data();
    void program();
    void helpIsStable();
};

void TstCommandLine::run_data()
{
    QTest::addColumn<QStringList>("args"); // OUT stands for the output file
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // expected in the error stream
    QTest::addColumn<QByteArray>("head"); // expected start of the file; empty: no file
    const QString db = kSample + QStringLiteral("/Profils.pro");
    auto exp = [&](const QString &format, const QStringList &more) {
        return QStringList{QStringLiteral("export"),
                           QStringLiteral("--db"),
                           db,
                           QStringLiteral("--format"),
                           format,
                           QStringLiteral("-o"),
                           QStringLiteral("OUT")} +
               more;
    };
    const QStringList one{QStringLiteral("--profile"), QStringLiteral("NACA 0012"),
                          QStringLiteral("--template"), QStringLiteral("2")};
    const QStringList all{QStringLiteral("--all"), QStringLiteral("--sheet"),
                          QStringLiteral("400x200"), QStringLiteral("--gap"), QStringLiteral("5")};
    QTest::newRow("svg, one template") << exp("svg", one) << 0 << "" << QByteArray("<?xml");
    QTest::newRow("svg, all") << exp("svg", all) << 0 << "" << QByteArray("<?xml");
    QTest::newRow("dxf, one template") << exp("dxf", one) << 0 << "" << QByteArray("999\ndxflib");
    QTest::newRow("dxf, all") << exp("dxf", all) << 0 << "" << QByteArray("999\ndxflib");
    QTest::newRow("pdf, one template") << exp("pdf", one) << 0 << "" << QByteArray("%PDF");
    QTest::newRow("pdf, all") << exp("pdf", all) << 0 << "" << QByteArray("%PDF");
    QTest::newRow("dat of a profile")
        << exp("dat", {QStringLiteral("--profile"), QStringLiteral("naca 2412")}) << 0 << ""
        << QByteArray("NACA 2412");
    QTest::newRow("database folder instead of file")
        << QStringList{"export", "--db", kSample, "--format", "svg", "--all", "-o", "OUT"} << 0
        << "" << QByteArray("<?xml");
    QTest::newRow("unknown profile")
        << exp("svg", {QStringLiteral("--profile"), QStringLiteral("NACA 9999")}) << 2
        << "Unknown airfoil: NACA 9999" << QByteArray();
    QTest::newRow("template out of range")
        << exp("dxf", {QStringLiteral("--profile"), QStringLiteral("NACA 0012"),
                       QStringLiteral("--template"), QStringLiteral("3")})
        << 2 << "has 2 template(s): no # 3" << QByteArray();
    QTest::newRow("profile without templates")
        << exp("svg", {QStringLiteral("--profile"), QStringLiteral("NACA 0009")}) << 2
        << "has 0 template(s)" << QByteArray();
    QTest::newRow("unreadable database")
        << QStringList{"export", "--db", "/nonexistent/Profils.pro", "--format", "svg", "--all",
                       "-o",     "OUT"}
        << 2 << "Cannot read the airfoil database" << QByteArray();
    QTest::newRow("folder that cannot be written")
        << QStringList{"export", "--db",  db,   "--format",
                       "pdf",    "--all", "-o", "/nonexistent/dir/x.pdf"}
        << 3 << "/nonexistent/dir/x.pdf" << QByteArray();
    QTest::newRow("unknown format")
        << exp("png", one) << 1 << "Unknown format: png" << QByteArray();
    QTest::newRow("empty output name")
        << QStringList{"export", "--db", db, "--format", "svg", "--all", "-o", ""} << 1
        << "-o: the file name is empty." << QByteArray();
    QTest::newRow("bad sheet") << exp("svg", {QStringLiteral("--all"), QStringLiteral("--sheet"),
                                              QStringLiteral("600")})
                               << 1 << "Bad sheet size: 600" << QByteArray();
    QTest::newRow("template and all together")
        << exp("svg", one + QStringList{QStringLiteral("--all")}) << 1 << "exclude each other"
        << QByteArray();
    QTest::newRow("dxf, kerf, two copies, rows")
        << exp("dxf", all + QStringList{"--kerf", "0.2", "--copies", "2", "--nest", "rows"}) << 0
        << "10 rib(s), " << QByteArray("999\ndxflib");
    QTest::newRow("svg, nested, grain free, a figure across the edge")
        << exp("svg", all + QStringList{"--grain", "free"}) << 0
        << "NACA 4412 #1 : figure 1 cuts the template edge" << QByteArray("<?xml");
    QTest::newRow("pdf, report of sheets and area")
        << exp("pdf", all) << 0 << "% of their area covered" << QByteArray("%PDF");
    QTest::newRow("bad kerf") << exp("dxf", all + QStringList{"--kerf", "-0.1"}) << 1
                              << "Bad kerf: -0.1" << QByteArray();
    QTest::newRow("bad nesting") << exp("dxf", all + QStringList{"--nest", "boxes"}) << 1
                                 << "Bad nesting (shape or rows): boxes" << QByteArray();
    QTest::newRow("bad grain") << exp("dxf", all + QStringList{"--grain", "across"}) << 1
                               << "Bad grain (chord or free): across" << QByteArray();
    QTest::newRow("no copies") << exp("dxf", all + QStringList{"--copies", "0"}) << 1
                               << "Bad number of copies: 0" << QByteArray();
    QTest::newRow("no output") << QStringList{"export", "--db", db, "--format", "svg", "--all"} << 1
                               << "required" << QByteArray();
    QTest::newRow("check, usable files")
        << QStringList{"check", kSample + "/Airfoils/NACA4/n2412.dat",
                       kSample + "/Airfoils/NACA5/n23012.dat"}
        << 0 << "" << QByteArray();
    QTest::newRow("check, a missing file")
        << QStringList{"check", kSample + "/Airfoils/NACA4/n2412.dat", "/nonexistent.dat"} << 1
        << "Error: file /nonexistent.dat not found" << QByteArray();
    QTest::newRow("check, errors to correct")
        << QStringList{"check", kSample + "/Airfoils/Defauts/premier-x.dat"} << 1
        << "First X coordinate should be 1.00000" << QByteArray();
    QTest::newRow("check, unreadable rows")
        << QStringList{"check", kSample + "/Airfoils/Defauts/x-texte.dat"} << 1
        << "x value not numeric" << QByteArray();
}

void TstCommandLine::run()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QByteArray, head);
    ScriptedPrompts prompts; // must not be asked anything
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    args.replaceInStrings(QRegularExpression(QStringLiteral("^OUT$")), out);
    args.prepend(QStringLiteral("nervuria"));
    QString outText, errText;
    QTextStream outStream(&outText), errStream(&errText);
    CommandLine commandLine;
    QVERIFY(commandLine.isCommandLine(args));
    QCOMPARE(commandLine.run(args, outStream, errStream), status);
    outStream.flush();
    errStream.flush();
    QVERIFY2((outText + errText).contains(message), qPrintable(outText + errText));
    QVERIFY(prompts.messages.isEmpty() && prompts.questions.isEmpty());
    if (head.isEmpty()) {
        QVERIFY(!QFile::exists(out));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0); // no partial file either
    } else {
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY2(f.readAll().startsWith(head), qPrintable(outText + errText));
    }
    if (args.at(1) == QLatin1String("check"))
        QCOMPARE(outText.contains(QStringLiteral(": usable")), status == 0 || args.size() > 3);
}

void TstCommandLine::windowsWithoutArguments()
{
    CommandLine commandLine;
    QVERIFY(!commandLine.isCommandLine({QStringLiteral("nervuria")}));
    QVERIFY(!commandLine.isCommandLine({QStringLiteral("nervuria"), QStringLiteral("-style")}));
    // A mistyped command gets the usage, not the windows.
    QVERIFY(commandLine.isCommandLine({QStringLiteral("nervuria"), QStringLiteral("frobnicate")}));
    QVERIFY(commandLine.isCommandLine({QStringLiteral("nervuria"), QStringLiteral("--help")}));
    QString outText, errText;
    QTextStream o(&outText), e(&errText);
    QCOMPARE(commandLine.run({QStringLiteral("nervuria"), QStringLiteral("--help")}, o, e), 0);
    o.flush();
    QVERIFY(outText.contains(QStringLiteral("export")) &&
            outText.contains(QStringLiteral("check")));
}

// The program itself, without a display: every subcommand's help, the
// mistakes that get the usage, and --all with templates that cannot be drawn.
// DB stands for the sample database with two undrawable profiles added, OUT
// for the output file.
void TstCommandLine::program_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");    // start of standard output
    QTest::addColumn<QString>("err");    // start of standard error
    QTest::addColumn<QString>("target"); // what OUT is after the run: "absent" or "file"

    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: nervuria"
                          << ""
                          << "absent";
    QTest::newRow("-h") << QStringList{"-h"} << 0 << "Usage: nervuria"
                        << ""
                        << "absent";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "nervuria 0."
                             << ""
                             << "absent";
    const CommandLine commandLine;
    for (const Subcommand &row : commandLine.table().rows()) {
        const QByteArray name = row.name.toUtf8();
        QTest::newRow(name + " --help")
            << QStringList{row.name, "--help"} << 0 << "Usage: nervuria " + row.name << ""
            << "absent";
        QTest::newRow(name + " --help among other arguments")
            << QStringList{row.name, "--frob", "-o", "OUT", "--help"} << 0
            << "Usage: nervuria " + row.name << ""
            << "absent";
        QTest::newRow(name + " with an unknown option")
            << QStringList{row.name, "--frob", "x"} << 1 << ""
            << "Unknown option 'frob'."
            << "absent";
    }
    QTest::newRow("mistyped command")
        << QStringList{"exprot", "--db", "DB", "--format", "svg", "--all", "-o", "OUT"} << 1 << ""
        << "Unknown command: exprot"
        << "absent";
    QTest::newRow("unknown option first") << QStringList{"--frob"} << 1 << ""
                                          << "Unknown option: --frob"
                                          << "absent";
    QTest::newRow("export, a stray argument")
        << QStringList{"export", "--db", "DB", "--format", "svg", "--all", "-o", "OUT", "x"} << 1
        << ""
        << "Unexpected argument: x"
        << "absent";
    QTest::newRow("export --all skips what cannot be drawn")
        << QStringList{"export", "--db", "DB", "--format", "svg", "--all", "-o", "OUT"} << 4
        << "OUT: 5 rib(s), 1 sheet(s)"
        << "Skipped: AAA ONE POINT #1: Airfoil AAA ONE POINT cannot be drawn"
        << "file";
    QTest::newRow("export --all of one undrawable profile")
        << QStringList{"export", "--db",      "DB",           "--format", "dxf",
                       "--all",  "--profile", "ZZZ NO POINT", "-o",       "OUT"}
        << 2 << ""
        << "Skipped: ZZZ NO POINT #1"
        << "absent";
    QTest::newRow("export of one undrawable template")
        << QStringList{"export",    "--db",          "DB", "--format", "svg",
                       "--profile", "AAA ONE POINT", "-o", "OUT"}
        << 2 << ""
        << "Airfoil AAA ONE POINT cannot be drawn"
        << "absent";
    QTest::newRow("export --all, every template drawable")
        << QStringList{"export", "--db", kSample, "--format", "pdf", "--all", "-o", "OUT"} << 0
        << "OUT: 5 rib(s)"
        << "NACA 4412 #1 : figure 1 cuts the template edge" // the sample's triangle
        << "file";
    QTest::newRow("check without files") << QStringList{"check"} << 1 << ""
                                         << "No file to check."
                                         << "absent";
    QTest::newRow("normalise without files") << QStringList{"normalise"} << 2 << ""
                                             << "No file to normalise."
                                             << "absent";
}

void TstCommandLine::program()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, target);
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("Profils.pro"));
    {
        QFile sample(kSample + QStringLiteral("/Profils.pro"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        QFile f(db);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(sample.readAll() + "\r\nPROFIL AAA ONE POINT\r\n0,00;0,00;0,00;0,00;\r\nGABARIT "
                                   "200;10;\r\nPROFIL ZZZ NO POINT\r\nGABARIT 150;10;\r\n");
    }
    const QString output = dir.filePath(QStringLiteral("out"));
    args.replaceInStrings(QRegularExpression(QStringLiteral("^DB$")), db);
    args.replaceInStrings(QRegularExpression(QStringLiteral("^OUT$")), output);
    out.replace(QStringLiteral("OUT"), output);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../nervuria"), args);
    QVERIFY2(p.waitForFinished(30000), "still running: a window?");
    const QString outText = QString::fromUtf8(p.readAllStandardOutput());
    const QString errText = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QVERIFY2(p.exitCode() == status, qPrintable(outText + errText));
    QVERIFY2(out.isEmpty() ? outText.isEmpty() : outText.startsWith(out), qPrintable(outText));
    QVERIFY2(err.isEmpty() ? errText.isEmpty() : errText.startsWith(err), qPrintable(errText));
    QCOMPARE(QFileInfo(output).exists() ? QStringLiteral("file") : QStringLiteral("absent"),
             target);
    if (target == QLatin1String("file"))
        QVERIFY(QFileInfo(output).isFile() && QFileInfo(output).size() > 0);
    // A skip names every template left out, one line each.
    if (status == 4)
        QCOMPARE(errText.count(QStringLiteral("Skipped: ")), 2);
}

// The help is the source of the manual page: the same text on every run,
// each subcommand's usage line in it, every declared option and status
// listed in the subcommand's own.
void TstCommandLine::helpIsStable()
{
    const CommandLine commandLine;
    QCOMPARE(commandLine.helpText(), CommandLine().helpText());
    for (const Subcommand &row : commandLine.table().rows()) {
        QVERIFY2(commandLine.helpText().contains(QStringLiteral("\n  ") + row.name + ' '),
                 qPrintable(row.name));
        const QString help = row.helpText();
        QVERIFY(help.startsWith(QStringLiteral("Usage: nervuria ") + row.name));
        for (const QCommandLineOption &o : row.options)
            QVERIFY2(help.contains(QStringLiteral("--") + o.names().constLast()),
                     qPrintable(row.name + ' ' + o.names().constLast()));
        QVERIFY(help.contains(QStringLiteral("\n  0  ")));
        for (const Subcommand::Status &s : row.statuses)
            QVERIFY2(help.contains(QStringLiteral("\n  %1  %2\n").arg(s.code).arg(s.meaning)),
                     qPrintable(row.name));
    }
}

QTEST_MAIN(TstCommandLine)
#include "tst_commandline.moc"
