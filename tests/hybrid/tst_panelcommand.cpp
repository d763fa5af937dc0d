// The command line `panel`: its arguments, its list of ribs, its refusals,
// and the program run without a display.
#include "Naca.h"

#include "hybrid/PanelCommand.h"
#include "ui/Language.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <algorithm>
#include <cmath>

namespace
{

QByteArray database()
{
    QByteArray text;
    for (const char *digits : {"0012", "0009"}) {
        const Naca::Section s = Naca::fourDigit(QString::fromLatin1(digits), 81);
        text += "\r\nPROFIL " + s.name.toLatin1() + "\r\n";
        for (const QString &l : Naca::pointLines(s))
            text += l.toLatin1() + "\r\n";
        text += digits == QByteArray("0012") ? "GABARIT 200;10;\r\nGABARIT 180;15;\r\n"
                                             : "GABARIT 100;10;\r\n";
    }
    return text;
}

// The test database written into dir; its path.
QString writeDatabase(const QTemporaryDir &dir)
{
    const QString path = dir.filePath("Profils.pro");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(database()) != database().size())
        return QString();
    return path;
}

// The chord lines of a DXF file as the DXF library reads them back: the
// straight two-point lines of the "marks" layer along y, longest first.
struct ChordLines : DL_CreationAdapter {
    std::vector<double> lengths;
    std::vector<std::string> labels;
    bool marks = false;
    std::vector<DL_VertexData> vertices;
    void addPolyline(const DL_PolylineData &) override
    {
        endPolyline();
        marks = attributes.getLayer() == "marks";
    }
    void addVertex(const DL_VertexData &v) override { vertices.push_back(v); }
    void addText(const DL_TextData &t) override { labels.push_back(t.text); }
    void endEntity() override { endPolyline(); }
    void endPolyline()
    {
        if (marks && vertices.size() == 2 && vertices[0].y == vertices[1].y)
            lengths.push_back(std::abs(vertices[1].x - vertices[0].x));
        vertices.clear();
        marks = false;
    }
};

} // namespace

class TstPanelCommand : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void run_data();
    void run();
    void withoutDisplay();
    void exactChords_data();
    void exactChords();
};

void TstPanelCommand::run_data()
{
    QTest::addColumn<QString>("args"); // after --db PATH
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("out");
    QTest::addColumn<QString>("err"); // the first line of the error stream

    const QString ends = "--root NACA_0012 --tip NACA_0009 --span 500 ";
    QTest::newRow("five ribs")
        << ends + "--ribs 5 --root-angle 2 --tip-angle -1 --list" << 0
        << QStringList{"N01  station 0.0 mm  blend 0.00 %  chord 200.0 mm  incidence 2.00 deg  "
                       "thickness 12.00 %",
                       "N02  station 125.0 mm  blend 25.00 %  chord 175.0 mm  incidence 1.25 deg  "
                       "thickness 11.24 %",
                       "N03  station 250.0 mm  blend 50.00 %  chord 150.0 mm  incidence 0.50 deg  "
                       "thickness 10.50 %",
                       "N04  station 375.0 mm  blend 75.00 %  chord 125.0 mm  incidence -0.25 deg  "
                       "thickness 9.76 %",
                       "N05  station 500.0 mm  blend 100.00 %  chord 100.0 mm  incidence -1.00 deg "
                       " "
                       "thickness 9.00 %"}
        << QString();
    QTest::newRow("stations, second root template")
        << "--root NACA_0012:2 --tip NACA_0009 --span 400 --stations 0,100.5,400 --mixed-skins "
           "--list"
        << 0
        << QStringList{"N01  station 0.0 mm  blend 0.00 %  chord 180.0 mm  incidence 0.00 deg  "
                       "thickness 12.00 %",
                       "N02  station 100.5 mm  blend 25.12 %  chord 159.9 mm  incidence 0.00 deg  "
                       "thickness 11.24 %",
                       "N03  station 400.0 mm  blend 100.00 %  chord 100.0 mm  incidence 0.00 deg  "
                       "thickness 9.00 %"}
        << QString();
    // Read from the data folder: the profiles are looked up in its database.
    QTest::newRow("the data folder for the database")
        << "@folder --root NACA_0012 --tip NACA_0015 --span 10 --ribs 3 --list" << 2
        << QStringList{} << "Tip airfoil not found: NACA 0015";
    QTest::newRow("tip missing") << "--root NACA_0012 --tip NACA_0015 --span 10 --ribs 3 --list"
                                 << 2 << QStringList{} << "Tip airfoil not found: NACA 0015";
    QTest::newRow("template 0") << "--root NACA_0012:0 --tip NACA_0009 --span 10 --ribs 3 --list"
                                << 1 << QStringList{}
                                << "--root: a template number counts from 1: NACA 0012:0";
    QTest::newRow("no rib count") << "--root NACA_0012 --tip NACA_0009 --span 10 --list" << 1
                                  << QStringList{}
                                  << "--db, --root, --tip, --span and --ribs or --stations are "
                                     "needed";
    QTest::newRow("bad station") << ends + "--stations 0,1O0 --list" << 1 << QStringList{}
                                 << "--stations: not a number: 1O0";
    QTest::newRow("nothing to do")
        << ends + "--ribs 3" << 1 << QStringList{} << "nothing to do: --list or --format with -o";
    QTest::newRow("svg of every rib")
        << ends + "--ribs 6 --format svg -o ribs.svg" << 0
        << QStringList{"ribs.svg: 6 rib(s), 1 sheet(s), 4.9 % of their area covered"} << QString();
}

void TstPanelCommand::run()
{
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(QStringList, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    const QString path = dir.filePath("Profils.pro");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(database());
    f.close();

    // Underscores stand for the blanks inside a name; "@folder" names the
    // database by its folder.
    QStringList argv{"--db", args.startsWith("@folder") ? dir.path() : path};
    for (QString a : args.mid(args.startsWith("@folder") ? 7 : 0).split(' ', Qt::SkipEmptyParts))
        argv << a.replace('_', ' ');
    QString outText, errText;
    QTextStream outStream(&outText), errStream(&errText);
    QCOMPARE(PanelCommand::run(argv, outStream, errStream), code);
    outStream.flush();
    errStream.flush();
    QCOMPARE(outText.split('\n', Qt::SkipEmptyParts), out);
    QCOMPARE(errText.section('\n', 0, 0), err);

    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), database());

    // An export holds every rib's name.
    if (args.contains("-o ribs.svg")) {
        QFile svg("ribs.svg");
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray text = svg.readAll();
        for (int i = 1; i <= 6; ++i)
            QVERIFY2(text.contains("PANEL N0" + QByteArray::number(i)), text.left(400).constData());
        svg.remove();
    }
}

// The program itself, with no display at all.
void TstPanelCommand::withoutDisplay()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Profils.pro");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(database());
    f.close();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + "/../nervuria",
            {"panel", "--db", path, "--root", "NACA 0012", "--tip", "NACA 0009", "--span", "600",
             "--ribs", "7", "--list"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 7);
    QVERIFY2(lines[3].startsWith("N04  station 300.0 mm  blend 50.00 %  chord 150.0 mm"),
             qPrintable(lines[3]));
}

// Each rib is cut at the taper's chord to 0.01 mm, not at the whole
// millimetres its stored template line keeps: measured on the DXF file.
void TstPanelCommand::exactChords_data()
{
    QTest::addColumn<QString>("args"); // after --db PATH
    QTest::addColumn<QList<double>>("chords");
    QTest::newRow("halves") << "--root NACA_0012 --tip NACA_0009 --span 500 --ribs 9"
                            << QList<double>{200, 187.5, 175, 162.5, 150, 137.5, 125, 112.5, 100};
    QTest::newRow("thirds, to 0.01 mm") << "--root NACA_0012 --tip NACA_0009 --span 300 --ribs 4"
                                        << QList<double>{200, 166.67, 133.33, 100};
    QTest::newRow("stations, second root template")
        << "--root NACA_0012:2 --tip NACA_0009 --span 400 --stations 0,100.5,333,400 "
           "--mixed-skins"
        << QList<double>{180, 159.9, 113.4, 100};
}

void TstPanelCommand::exactChords()
{
    QFETCH(QString, args);
    QFETCH(QList<double>, chords);
    QTemporaryDir dir;
    const QString path = writeDatabase(dir);
    QVERIFY(!path.isEmpty());
    const QString dxf = dir.filePath("ribs.dxf");
    QStringList argv{"--db", path, "--format", "dxf", "-o", dxf};
    for (QString a : args.split(' ', Qt::SkipEmptyParts))
        argv << a.replace('_', ' ');
    QString outText, errText;
    QTextStream outStream(&outText), errStream(&errText);
    QCOMPARE(PanelCommand::run(argv, outStream, errStream), 0);

    ChordLines lines;
    DL_Dxf reader;
    QVERIFY(reader.in(dxf.toStdString(), &lines));
    lines.endPolyline();
    std::sort(lines.lengths.begin(), lines.lengths.end(), std::greater<double>());
    QCOMPARE(int(lines.lengths.size()), int(chords.size()));
    for (int i = 0; i < chords.size(); ++i)
        QVERIFY2(std::abs(lines.lengths[size_t(i)] - chords[i]) < 0.002,
                 qPrintable(QString("%1 against %2").arg(lines.lengths[size_t(i)]).arg(chords[i])));
    // The labels give the same chords.
    for (double c : chords) {
        const std::string text = "  " + QString::number(c, 'g', 10).toStdString() + " mm";
        QVERIFY2(
            std::any_of(lines.labels.begin(), lines.labels.end(),
                        [&](const std::string &l) { return l.find(text) != std::string::npos; }),
            text.c_str());
    }
}

QTEST_MAIN(TstPanelCommand)
#include "tst_panelcommand.moc"
