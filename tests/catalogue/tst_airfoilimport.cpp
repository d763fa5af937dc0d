// The tolerant reader: the layouts coordinate files come in, each written
// here from the section formulas, read into the catalogue's own.
#include "Naca.h"
#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilImport.h"
#include "ui/Language.h"

#include <QtTest>

#include <cmath>
#include <functional>

namespace
{

struct Pt {
    double x, y;
};

// The section's points rounded to six decimals, so that every layout can
// hold them exactly: the catalogue's order, and each surface from the
// leading edge to the trailing edge.
struct Shape {
    QList<Pt> outline;
    QList<Pt> upper;
    QList<Pt> lower;
};

double round6(double v)
{
    const double r = std::nearbyint(v * 1e6) / 1e6;
    return r == 0 ? 0.0 : r;
}

Shape naca2412()
{
    const Naca::Section s = Naca::fourDigit("2412", 41);
    Shape shape;
    for (const auto &p : s.upper)
        shape.upper << Pt{round6(p.x), round6(p.y)};
    for (const auto &p : s.lower)
        shape.lower << Pt{round6(p.x), round6(p.y)};
    for (auto it = shape.upper.crbegin(); it != shape.upper.crend(); ++it)
        shape.outline << *it;
    shape.outline += shape.lower.mid(1);
    return shape;
}

using Row = std::function<QByteArray(const Pt &)>;

QByteArray rows(const QList<Pt> &points, const Row &row)
{
    QByteArray out;
    for (const Pt &p : points)
        out += row(p) + "\r\n";
    return out;
}

QByteArray fixed(double v, int decimals, char comma = '.')
{
    QByteArray t = QByteArray::number(v, 'f', decimals);
    return t.replace('.', comma);
}

const Row kPlain = [](const Pt &p) { return fixed(p.x, 6) + " " + fixed(p.y, 6); };

QByteArray layout(const QString &name, const Shape &s)
{
    const QByteArray title = "NACA 2412\r\n";
    if (name == "plain")
        return title + rows(s.outline, kPlain);
    if (name == "two blocks")
        return title + "41.  41.\r\n\r\n" + rows(s.upper, kPlain) + "\r\n" + rows(s.lower, kPlain);
    if (name == "two blocks, no blank line")
        return title + "41 41\n" + rows(s.upper, kPlain) + rows(s.lower, kPlain);
    if (name == "exponent notation")
        return title + rows(s.outline, [](const Pt &p) {
                   return QByteArray::number(p.x, 'e', 8) + "  " + QByteArray::number(p.y, 'E', 8);
               });
    if (name == "decimal comma, tabs")
        return title + rows(s.outline, [](const Pt &p) {
                   return fixed(p.x, 6, ',') + "\t" + fixed(p.y, 6, ',');
               });
    if (name == "decimal comma, semicolons")
        return title + rows(s.outline, [](const Pt &p) {
                   return fixed(p.x, 6, ',') + ";" + fixed(p.y, 6, ',') + ";";
               });
    if (name == "commas")
        return title +
               rows(s.outline, [](const Pt &p) { return fixed(p.x, 6) + ", " + fixed(p.y, 6); });
    if (name == "percent")
        return title + rows(s.outline, [](const Pt &p) {
                   return fixed(p.x * 100, 4) + " " + fixed(p.y * 100, 4);
               });
    if (name == "millimetres of a stated chord")
        return title + "Chord: 250 mm\r\n" + rows(s.outline, [](const Pt &p) {
                   return fixed(p.x * 250, 6) + " " + fixed(p.y * 250, 6);
               });
    if (name == "comments, headers and blank lines") {
        QByteArray out = "# written from the formula\r\n" + title + "\r\n   x/c      y/c\r\n";
        const QByteArray body = rows(s.outline, kPlain);
        const qsizetype cut = body.indexOf("\r\n", 200) + 2;
        return out + body.left(cut) + "\r\n  \r\n" + body.mid(cut) + "% end\r\n";
    }
    if (name == "repeated leading edge") {
        QList<Pt> twice = s.outline;
        twice.insert(40, s.outline[40]);
        return title + rows(twice, kPlain);
    }
    if (name == "no title")
        return rows(s.outline, kPlain);
    if (name == "lower surface first") {
        QList<Pt> reversed(s.outline.crbegin(), s.outline.crend());
        return title + rows(reversed, kPlain);
    }
    if (name == "from the leading edge round to it")
        return title + rows(s.outline.mid(40) + s.outline.mid(1, 40), kPlain);
    if (name == "two blocks in percent, surfaces written backwards") {
        const Row percent = [](const Pt &p) {
            return fixed(p.x * 100, 4) + " " + fixed(p.y * 100, 4);
        };
        QList<Pt> upper(s.upper.crbegin(), s.upper.crend());
        return title + "41 41\r\n" + rows(upper, percent) + rows(s.lower, percent);
    }
    return QByteArray();
}

} // namespace

class TestAirfoilImport : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(false); }
    void layouts_data();
    void layouts();
    void numbers_data();
    void numbers();
    void refusals_data();
    void refusals();
};

void TestAirfoilImport::layouts_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("note"); // part of what the reader says it did
    const QString title = "NACA 2412";
    QTest::newRow("plain") << title << "";
    QTest::newRow("two blocks") << title << "two blocks";
    QTest::newRow("two blocks, no blank line") << title << "two blocks";
    QTest::newRow("exponent notation") << title << "exponent notation";
    QTest::newRow("decimal comma, tabs") << title << "separated by tabs";
    QTest::newRow("decimal comma, semicolons") << title << "separated by semicolons";
    QTest::newRow("commas") << title << "separated by commas";
    QTest::newRow("percent") << title << "percent of chord";
    QTest::newRow("millimetres of a stated chord") << title << "250 mm chord";
    QTest::newRow("comments, headers and blank lines") << title << "3 comment or header";
    QTest::newRow("repeated leading edge") << title << "repeated point removed (1)";
    QTest::newRow("no title") << "n2412"
                              << "the file name becomes the title";
    QTest::newRow("lower surface first") << title << "order reversed";
    QTest::newRow("two blocks in percent, surfaces written backwards") << title << "percent";
    QTest::newRow("from the leading edge round to it") << title << "started at the leading edge";
}

void TestAirfoilImport::layouts()
{
    QFETCH(QString, title);
    QFETCH(QString, note);
    const Shape shape = naca2412();
    AirfoilFile plain;
    QCOMPARE(plain.readBytes(layout("plain", shape)), AirfoilFile::ReadStatus::Read);
    QVERIFY(!plain.checkAfterRead());

    const QByteArray bytes = layout(QTest::currentDataTag(), shape);
    QVERIFY(!bytes.isEmpty());
    const AirfoilImport::Result r = AirfoilImport::read(bytes, "/downloads/n2412.dat");
    QVERIFY2(r.ok, qPrintable(r.refusal));
    QCOMPARE(r.title, title);
    QVERIFY2(note.isEmpty() || r.notes.join('\n').contains(note), qPrintable(r.notes.join('\n')));
    QCOMPARE(r.points.size(), plain.pointCount);
    for (int i = 0; i < plain.pointCount; ++i) {
        QVERIFY2(std::abs(r.points[i].x() - plain.pointX[i]) <= 1e-6 &&
                     std::abs(r.points[i].y() - plain.pointY[i]) <= 1e-6,
                 qPrintable(QString("point %1").arg(i)));
    }

    // Written out, it is a catalogue file like any other.
    AirfoilFile converted;
    QCOMPARE(converted.readBytes(r.datBytes()), AirfoilFile::ReadStatus::Read);
    QCOMPARE(converted.title(), title);
    QVERIFY2(!converted.checkAfterRead(), qPrintable(converted.messages.join('\n')));
}

void TestAirfoilImport::numbers_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<double>>("values");
    QTest::newRow("blanks") << "  0.5   -0.02 " << QList<double>{0.5, -0.02};
    QTest::newRow("comma separates when points are decimals")
        << "0.5,0.02" << QList<double>{0.5, 0.02};
    QTest::newRow("comma and blank") << "0.5, 0.02" << QList<double>{0.5, 0.02};
    QTest::newRow("two numbers by one comma") << "1,0" << QList<double>{1, 0};
    QTest::newRow("decimal commas, comma separated") << "0,5,0,02" << QList<double>{0.5, 0.02};
    QTest::newRow("decimal comma, blank") << "0,5 -0,02" << QList<double>{0.5, -0.02};
    QTest::newRow("exponents") << "1.2e-3\t-4E-2" << QList<double>{0.0012, -0.04};
    QTest::newRow("Fortran exponent") << "1.2D-03 4" << QList<double>{0.0012, 4};
    QTest::newRow("leading point and plus") << ".5 +.25" << QList<double>{0.5, 0.25};
    QTest::newRow("words") << "NACA 2412" << QList<double>{};
    QTest::newRow("not a number") << "nan 0" << QList<double>{};
    QTest::newRow("infinite") << "1e999 0" << QList<double>{};
}

void TestAirfoilImport::numbers()
{
    QFETCH(QString, line);
    QFETCH(QList<double>, values);
    const QList<double> read = AirfoilImport::parseNumbers(line).values;
    QCOMPARE(read.size(), values.size());
    for (qsizetype i = 0; i < read.size(); ++i)
        QVERIFY(std::abs(read[i] - values[i]) < 1e-12);
}

void TestAirfoilImport::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const Shape s = naca2412();
    QTest::newRow("binary data") << QByteArrayLiteral("\x89PNG\r\n\x1a\n\0\0\0\rIHDR") << "binary";
    QTest::newRow("two points") << QByteArray("T\r\n1 0\r\n0 0\r\n") << "Fewer than 3";
    QTest::newRow("title only") << QByteArray("T\r\n") << "Fewer than 3";
    QTest::newRow("two blocks, one surface")
        << QByteArray("T\r\n41 0\r\n") + rows(s.upper, kPlain) << "single surface";
    QTest::newRow("one surface, x never turns back")
        << QByteArray("T\r\n") + rows(s.upper, kPlain) << "never turns back";
    QTest::newRow("millimetres without a chord")
        << QByteArray("T\r\n") +
               rows(s.outline,
                    [](const Pt &p) { return fixed(p.x * 250, 3) + " " + fixed(p.y * 250, 3); })
        << "state the chord";
    QTest::newRow("y beyond a chord")
        << QByteArray("T\r\n1 0\r\n0.5 3\r\n0 0\r\n0.5 -0.1\r\n1 0\r\n")
        << "more than a chord away";
    QList<Pt> many;
    for (int i = 0; i <= 300; ++i)
        many << Pt{std::abs(150 - i) / 150.0, i < 150 ? 0.05 : -0.05};
    QTest::newRow("more than 256 points")
        << QByteArray("T\r\n") + rows(many, kPlain) << "at most 256";
}

void TestAirfoilImport::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const AirfoilImport::Result r = AirfoilImport::read(bytes, "x.dat");
    QVERIFY(!r.ok);
    QVERIFY2(r.refusal.contains(reason), qPrintable(r.refusal));
    QVERIFY(r.points.isEmpty());
}

QTEST_MAIN(TestAirfoilImport)
#include "tst_airfoilimport.moc"
