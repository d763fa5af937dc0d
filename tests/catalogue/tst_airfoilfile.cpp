// Reading, checking, correcting and rewriting coordinate files.
#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilPreview.h"
#include "ui/Language.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace
{

QByteArray fileBytes(const QString &title, const QStringList &rows)
{
    QByteArray out = title.toLatin1() + "\r\n";
    for (const QString &r : rows)
        out += r.toLatin1() + "\r\n";
    return out;
}

// A small exact airfoil: trailing edge, upper surface, leading edge (row 4),
// lower surface, trailing edge.
QStringList goodRows()
{
    return {"1 0", "0.6 0.05", "0.3 0.06", "0 0", "0.3 -0.04", "0.6 -0.03", "1 0"};
}

QStringList with(QStringList rows, int index, const QString &row)
{
    rows[index] = row;
    return rows;
}

// count exact rows, 129 down the upper surface to (0, 0) and back.
QStringList longRows(int count)
{
    QStringList rows;
    const int upper = 129;
    const int lower = count - upper;
    for (int i = 0; i < upper; ++i) {
        const double x = 1.0 - double(i) / (upper - 1);
        rows << QString::number(x, 'f', 6) + QLatin1Char(' ') +
                    QString::number(i == 0 || i == upper - 1 ? 0.0 : 0.05 * std::sin(M_PI * x), 'f',
                                    6);
    }
    for (int i = 1; i <= lower; ++i) {
        const double x = double(i) / lower;
        rows << QString::number(x, 'f', 6) + QLatin1Char(' ') +
                    QString::number(i == lower ? 0.0 : -0.03 * std::sin(M_PI * x), 'f', 6);
    }
    return rows;
}

} // namespace

class TestAirfoilFile : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(true); }

    void keptLines_data();
    void keptLines();
    void readAndCheck_data();
    void readAndCheck();
    void commaReadsLikePoint();
    void rowLimit_data();
    void rowLimit();
    void badFiles_data();
    void badFiles();
    void englishMessages();
    void correction_data();
    void correction();
    void rewriteWritesListedRows();
    void rewriteFailureKeepsFile();
    void previewMapping_data();
    void previewMapping();
    void previewDrawing();
};

void TestAirfoilFile::keptLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("T\r\n1 0\r\n") << QStringList{"T", "1 0"};
    QTest::newRow("LF") << QByteArray("T\n1 0\n0 0") << QStringList{"T", "1 0", "0 0"};
    QTest::newRow("CR") << QByteArray("T\r1 0\r") << QStringList{"T", "1 0"};
    QTest::newRow("tab stays an ordinary character")
        << QByteArray("T\r\n \t1  0\t \r\n") << QStringList{"T", "\t1 0\t"};
    QTest::newRow("empty and blank lines dropped")
        << QByteArray("\r\n  \r\nT\r\n\r\n\n  1   0 \r\n") << QStringList{"T", "1 0"};
    QTest::newRow("NUL ends the text")
        << QByteArrayLiteral("T\r\n1 0\0 junk\r\n0 0") << QStringList{"T", "1 0"};
    QTest::newRow("windows-1252 title")
        << QByteArray("Profil \xe9tude\r\n") << QStringList{QStringLiteral("Profil étude")};
}

void TestAirfoilFile::keptLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(AirfoilFile::keptLines(bytes), lines);
}

void TestAirfoilFile::readAndCheck_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("markedRows"); // listed rows that carry a mark
    QTest::addColumn<bool>("attention");

    const QString le =
        QStringLiteral("Ligne n°04 la coordonnée X du bord d'attaque devrait être 0.00000");
    QTest::newRow("exact airfoil") << goodRows() << QStringList() << QStringList() << false;
    QTest::newRow("tab-separated row: mark, no message of its own")
        << with(goodRows(), 1, "0.6\t0.05") << QStringList{"Erreur : profil inutilisable."}
        << QStringList{"$0.6\t0.05"} << true;
    QTest::newRow("third column makes y unreadable")
        << with(goodRows(), 2, "0.3 0.06 0.0")
        << QStringList{"Erreur : profil inutilisable.", "ligne n°3 valeur y non numérique"}
        << QStringList{"$0.3 0.06 0.0"} << true;
    QTest::newRow("x not numeric counts as -1")
        << with(goodRows(), 1, "O.6 0.05")
        << QStringList{"Erreur : profil inutilisable.", "ligne n°2 valeur x non numérique",
                       "Ligne n°02 Erreur de séquence X ", "Ligne n°03 Erreur de séquence X "}
        << QStringList{"$O.6 0.05", "$0.3 0.06"} << true;
    QTest::newRow("reversed file")
        << QStringList{"0 0", "0.3 0.06", "0.6 0.05", "1 0", "0.6 -0.03", "0.3 -0.04", "0 0"}
        << QStringList{"Ligne n°01 la première coordonnée X devrait être 1.00000",
                       "Ligne n°07 la derière coordonnée X devrait être 1.00000", le}
        << QStringList{"$0 0", "$1 0", "$0 0"} << true;
    QTest::newRow("bump in x: one error per extra turn, at the turn before")
        << QStringList{"1 0",      "0.6 0.05", "0.3 0.06",  "0.35 0.06",
                       "0.2 0.05", "0 0",      "0.3 -0.04", "1 0"}
        << QStringList{"Ligne n°03 Erreur de séquence X ", "Ligne n°04 Erreur de séquence X "}
        << QStringList{"$0.3 0.06", "$0.35 0.06"} << true;
    QTest::newRow("first x 0.99999, no tolerance")
        << with(goodRows(), 0, "0.99999 0")
        << QStringList{"Ligne n°01 la première coordonnée X devrait être 1.00000"}
        << QStringList{"$0.99999 0"} << true;
    QTest::newRow("first y 0.001")
        << with(goodRows(), 0, "1 0.001")
        << QStringList{"Ligne n°01 la première coordonnée Y devrait être 0.00000"}
        << QStringList{"$1 0.001"} << true;
    QTest::newRow("last y")
        << with(goodRows(), 6, "1 -0.0013")
        << QStringList{"Ligne n°07 la dermière coordonnée Y devrait être 0.00000"}
        << QStringList{"$1 -0.0013"} << true;
    QTest::newRow("leading edge off in x and y")
        << with(goodRows(), 3, "0.0001 0.0002")
        << QStringList{le,
                       "Ligne n°04 la coordonnée Y du bord d'attaque (x=0) devrait être 0.00000"}
        << QStringList{"$0.0001 0.0002"} << true;
    QTest::newRow("title only") << QStringList()
                                << QStringList{"Erreur : le profil a moins de deux points."}
                                << QStringList() << true;
    QTest::newRow("one point") << QStringList{"1 0"}
                               << QStringList{"Erreur : le profil a moins de deux points."}
                               << QStringList() << true;
}

void TestAirfoilFile::readAndCheck()
{
    QFETCH(QStringList, rows);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, markedRows);
    QFETCH(bool, attention);

    AirfoilFile file;
    QCOMPARE(file.readBytes(fileBytes("Test", rows)), AirfoilFile::ReadStatus::Read);
    QCOMPARE(file.pointCount, rows.size());
    QCOMPARE(file.checkAfterRead(), attention);
    QCOMPARE(file.messages, messages);
    QStringList marked;
    for (const QString &r : file.listedRows().mid(1)) {
        if (r.startsWith(QLatin1Char('$')) || r.startsWith(QLatin1Char('&')))
            marked << r;
    }
    QCOMPARE(marked, markedRows);
    // The outline is closed on the first point.
    if (file.pointCount > 0)
        QCOMPARE(file.previewPoints[file.pointCount], file.previewPoints[0]);
}

void TestAirfoilFile::commaReadsLikePoint()
{
    AirfoilFile points, commas;
    points.readBytes(fileBytes("T", goodRows()));
    QStringList rows = goodRows();
    for (QString &r : rows)
        r = QStringLiteral("  ") + r.replace(QLatin1Char('.'), QLatin1Char(','))
                                       .replace(QLatin1Char(' '), QStringLiteral("   "));
    commas.readBytes(QByteArray("\r\n\r\n") + fileBytes("T", rows) + "\r\n  \r\n");
    QCOMPARE(commas.pointCount, points.pointCount);
    QCOMPARE(commas.rowCount(), points.rowCount());
    QCOMPARE(commas.pointX, points.pointX);
    QCOMPARE(commas.pointY, points.pointY);
    QVERIFY(!commas.checkAfterRead());
}

void TestAirfoilFile::rowLimit_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<AirfoilFile::ReadStatus>("status");
    QTest::addColumn<int>("points");
    QTest::newRow("256 rows accepted") << 256 << AirfoilFile::ReadStatus::Read << 256;
    QTest::newRow("257th row stops") << 257 << AirfoilFile::ReadStatus::TooManyRows << 256;
}

void TestAirfoilFile::rowLimit()
{
    QFETCH(int, rows);
    QFETCH(AirfoilFile::ReadStatus, status);
    QFETCH(int, points);
    AirfoilFile file;
    const QStringList data = longRows(rows);
    QCOMPARE(file.readBytes(fileBytes("Long", data)), status);
    QCOMPARE(file.pointCount, points);
    QCOMPARE(file.rowCount(), rows + 1); // every row stays listed
    if (status == AirfoilFile::ReadStatus::Read) {
        QVERIFY(!file.checkAfterRead());
    } else {
        QVERIFY(!file.complete);
        // Nothing is written back from a file read only in part.
        QVERIFY(!file.readyToRewrite());
    }
}

void TestAirfoilFile::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<AirfoilFile::ReadStatus>("status");
    QTest::addColumn<bool>("attention");
    QByteArray junk;
    for (int i = 0; i < 5000; ++i)
        junk += char((i * 7919) % 251 + 1);
    QTest::newRow("missing") << QByteArray() << AirfoilFile::ReadStatus::Missing << false;
    QTest::newRow("binary junk") << junk << AirfoilFile::ReadStatus::Read << true;
    QTest::newRow("over a megabyte")
        << fileBytes("Big", goodRows()) + QByteArray(AirfoilFile::kMaxFileBytes, ' ')
        << AirfoilFile::ReadStatus::TooLarge << false;
}

void TestAirfoilFile::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(AirfoilFile::ReadStatus, status);
    QFETCH(bool, attention);
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.dat");
    if (!bytes.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    AirfoilFile file;
    QCOMPARE(file.read(path), status);
    if (status == AirfoilFile::ReadStatus::Read)
        QCOMPARE(file.checkAfterRead(), attention);
    else
        QCOMPARE(file.pointCount, 0);
}

void TestAirfoilFile::englishMessages()
{
    Language::setFrench(false);
    AirfoilFile file;
    file.readBytes(fileBytes("T", with(with(goodRows(), 0, "1 0.01"), 2, "0.3 y")));
    QVERIFY(file.checkAfterRead());
    QCOMPARE(file.messages,
             (QStringList{"Error : aifoil unusable.", "line  # 3 y value not numeric",
                          "Line  # 01 First Y coordinate should be 1.00000"}
                  .replaceInStrings("1.00000", "0.00000")));
    QVERIFY(!file.correctErrors());
    QCOMPARE(file.messages.first(), QStringLiteral("AUTOMATED CORRECTION FAILED"));
}

void TestAirfoilFile::correction_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<bool>>("clicks"); // result of each click
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("listed"); // that row after the clicks

    QTest::newRow("first point (1, 0.0013) needs two clicks")
        << with(goodRows(), 0, "1 0.0013") << QList<bool>{false, true} << 1 << "&1.00000  0.00000";
    QTest::newRow("last point (1, -0.0013) needs two clicks")
        << with(goodRows(), 6, "1 -0.0013") << QList<bool>{false, true} << 7 << "&1.00000  0.00000";
    QTest::newRow("leading edge (0.0001, 0.0002): one click")
        << with(goodRows(), 3, "0.0001 0.0002") << QList<bool>{true} << 4 << "&0.00000  0.00000";
    QTest::newRow("exact leading edge rewritten anyway")
        << goodRows() << QList<bool>{true} << 4 << "&0.00000  0.00000";
    QTest::newRow("first x 0.99 never corrected")
        << with(goodRows(), 0, "0.99 0") << QList<bool>{false, false} << 1 << "$0.99 0";
    QTest::newRow("two turns block, last turn still set")
        << QStringList{"1 0",      "0.6 0.05", "0.3 0.06",  "0.35 0.06",
                       "0.2 0.05", "0 0",      "0.3 -0.04", "1 0"}
        << QList<bool>{false} << 6 << "&0.00000  0.00000";
    QTest::newRow("unreadable y blocks")
        << with(goodRows(), 2, "0.3 0.06 0.0") << QList<bool>{false, false} << 3 << "$0.3 0.06 0.0";
}

void TestAirfoilFile::correction()
{
    QFETCH(QStringList, rows);
    QFETCH(QList<bool>, clicks);
    QFETCH(int, row);
    QFETCH(QString, listed);

    AirfoilFile file;
    file.readBytes(fileBytes("T", rows));
    file.currentFile = QStringLiteral("t.dat");
    file.checkAfterRead();
    for (int i = 0; i < clicks.size(); ++i) {
        const bool ok = file.correctErrors();
        QCOMPARE(ok, clicks[i]);
        if (!ok) {
            QCOMPARE(file.messages.first(), QStringLiteral("CORRECTION AUTOMATIQUE IMPOSSIBLE"));
            // Leading-edge warnings are never listed by a correcting run.
            for (const QString &m : file.messages)
                QVERIFY2(!m.contains(QStringLiteral("bord d'attaque")), qPrintable(m));
        }
    }
    QCOMPARE(file.listedRow(row), listed);
    QCOMPARE(file.readyToRewrite(), clicks.last());
}

void TestAirfoilFile::rewriteWritesListedRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.dat");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // A title that begins like a mark, a comma, stray blanks, LF ends.
        f.write("  &Co   wing \n\n1   0.0013\n0,6 0.05 \n0.3 0.06\n0.0001 0\n0.3 -0.04\n0.6 "
                "-0.03\n1 0\n");
    }
    AirfoilFile file;
    QCOMPARE(file.read(path), AirfoilFile::ReadStatus::Read);
    QVERIFY(file.checkAfterRead());
    QVERIFY(!file.correctErrors());
    QVERIFY(file.correctErrors());
    QVERIFY(file.readyToRewrite());
    QString error;
    QVERIFY2(file.rewrite(&error), qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("&Co wing\r\n1.00000  0.00000\r\n0,6 0.05\r\n0.3 0.06\r\n"
                                     "0.00000  0.00000\r\n0.3 -0.04\r\n0.6 -0.03\r\n1 0\r\n"));
    // The marks are gone once written.
    QCOMPARE(file.listedRow(1), QStringLiteral("1.00000  0.00000"));
    QCOMPARE(file.listedRow(0), QStringLiteral("&Co wing"));
}

void TestAirfoilFile::rewriteFailureKeepsFile()
{
    QTemporaryDir dir;
    const QString sub = dir.filePath("locked");
    QVERIFY(QDir().mkpath(sub));
    const QString path = sub + "/t.dat";
    const QByteArray original = fileBytes("T", with(goodRows(), 3, "0.0001 0"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(original);
    }
    AirfoilFile file;
    file.read(path);
    QVERIFY(file.correctErrors());
    // A folder where nothing can be created and a file that cannot be
    // written in place: by their permissions, or for a user whom permissions
    // do not stop, by the immutable attribute.
    QFile::setPermissions(path, QFile::ReadOwner);
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner);
    bool immutable = false;
    if (QFile probe(sub + "/probe"); probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        immutable = QProcess::execute("chattr", {"+i", path}) == 0 &&
                    QProcess::execute("chattr", {"+i", sub}) == 0;
        if (!immutable) {
            QProcess::execute("chattr", {"-i", path});
            QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("cannot make a folder unwritable here");
        }
    }
    QString error;
    const bool written = file.rewrite(&error);
    if (immutable) {
        QProcess::execute("chattr", {"-i", sub});
        QProcess::execute("chattr", {"-i", path});
    }
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), original);
    QCOMPARE(file.listedRow(4), QStringLiteral("&0.00000  0.00000")); // still to be written
}

void TestAirfoilFile::previewMapping_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("px");
    QTest::addColumn<int>("py");
    QTest::newRow("origin") << 0.0 << 8 << 128;
    QTest::newRow("chord") << 1.0 << 468 << -332;
    QTest::newRow("tenth") << 0.1 << 54 << 82;
    QTest::newRow("half pixel rounds to even") << 0.5 / 460 << 8 << 128;
    QTest::newRow("one and a half pixels rounds to even") << 1.5 / 460 << 10 << 126;
    QTest::newRow("huge value stays finite") << 1e15 << 1000008 << -999872;
}

void TestAirfoilFile::previewMapping()
{
    QFETCH(double, value);
    QFETCH(int, px);
    QFETCH(int, py);
    QCOMPARE(AirfoilFile::previewX(value), px);
    QCOMPARE(AirfoilFile::previewY(value), py);
}

void TestAirfoilFile::previewDrawing()
{
    AirfoilFile file;
    file.readBytes(fileBytes("T", goodRows()));
    AirfoilPreview::Colours colours;
    colours.background = Qt::white;
    colours.grid = QColor(192, 192, 192);
    QImage image(AirfoilPreview::kWidth, AirfoilPreview::kHeight, QImage::Format_RGB32);

    AirfoilPreview::draw(image, file.previewPoints.data(), 0, colours);
    QCOMPARE(image.pixelColor(8 + 3 * 46, 190), colours.grid); // vertical grid line at 30 %
    QCOMPARE(image.pixelColor(470, 128 - 46), colours.grid);   // horizontal line 10 % above
    QCOMPARE(image.pixelColor(472, 128), QColor(255, 0, 0));   // chord line past the outline
    QCOMPARE(file.previewPoints[1], QPoint(284, 105));         // (0.6, 0.05)
    QCOMPARE(file.previewPoints[2], QPoint(146, 100));         // (0.3, 0.06)
    // Between those two points, off the grid, the outline crosses x = 215
    // (smoothed: dark grey where it covers part of a pixel).
    auto blackInColumn = [&image] {
        for (int y = 98; y <= 107; ++y) {
            if (image.pixelColor(215, y).lightness() < 160)
                return true;
        }
        return false;
    };
    QVERIFY(!blackInColumn());
    AirfoilPreview::draw(image, file.previewPoints.data(), file.pointCount, colours);
    QVERIFY(blackInColumn());
}

QTEST_MAIN(TestAirfoilFile)
#include "tst_airfoilfile.moc"
