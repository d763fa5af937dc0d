#include "drawing/CoordinateTable.h"

#include <QTest>

using Table = CoordinateTable;

namespace
{

// Cells from rows written "x ext|y ext|x int|y int"; row 0 is the header.
Table::Cells cellsOf(const QStringList &rows)
{
    Table::Cells cells{{QString(), "x ext", "y ext", "x int", "y int"}};
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList v = rows[r].split('|');
        Table::Row row;
        row[0] = QString::number(r + 1);
        for (int c = 0; c < 4 && c < v.size(); ++c)
            row[size_t(c) + 1] = v[c];
        cells.push_back(row);
    }
    return cells;
}

QStringList rowsOf(const Table::Cells &cells)
{
    QStringList rows;
    for (size_t r = 1; r < cells.size(); ++r)
        rows << QStringList{cells[r][1], cells[r][2], cells[r][3], cells[r][4]}.join('|');
    return rows;
}

const QStringList kSound{"0|0|0|0", "50|5|50|-5", "100|0|100|0"};

// 101 data rows of a sound profile: x rising by 1 from row 2, 100 at row 101.
QStringList hundredRows()
{
    QStringList rows{"0|0|0|0"};
    for (int r = 2; r < 102; ++r)
        rows << QStringLiteral("%1|1|%1|-1").arg(r - 1);
    rows << "100|0|100|0";
    return rows;
}

} // namespace

class TstCoordinateTable : public QObject
{
    Q_OBJECT
private slots:
    void check_data();
    void check();
    void paste_data();
    void paste();
};

// Each table gives the cells painted red and the verdict of "Valider" with
// the cursor it leaves.
void TstCoordinateTable::check_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("red"); // "column,row" of every red cell
    QTest::addColumn<bool>("sound");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");

    auto with = [](int row, const QString &text) {
        QStringList rows = kSound;
        rows[row - 1] = text;
        return rows;
    };
    QTest::newRow("sound, cursor to the first value") << kSound << "" << true << 1 << 1;
    QTest::newRow("as the selection writes it")
        << QStringList{"  0.00|  0.00|  0.00|  0.00", " 50.00|  5.00| 50.00| -5.00",
                       "100.00|  0.00|100.00|  0.00"}
        << "" << true << 1 << 1;
    QTest::newRow("x ext without y ext") << with(2, "50||50|-5") << "" << false << 2 << 2;
    QTest::newRow("y ext without x ext") << with(2, "|5|50|-5") << "" << false << 1 << 2;
    QTest::newRow("x int without y int") << with(2, "50|5|50|") << "" << false << 4 << 2;
    QTest::newRow("y int without x int") << with(2, "50|5||-5") << "" << false << 3 << 2;
    QTest::newRow("y ext below y int") << with(2, "50|-6|50|-5") << "" << false << 4 << 2;
    QTest::newRow("x ext past 100") << with(2, "100,01|5|50|-5") << "1,2 1,3" << false << 1 << 2;
    QTest::newRow("x int below 0") << with(2, "50|5|-1|-5") << "3,2" << false << 3 << 2;
    QTest::newRow("x ext going back")
        << QStringList{"0|0|0|0", "50|5|50|-5", "40|5|60|-5", "100|0|100|0"} << "1,3" << false << 1
        << 3;
    QTest::newRow("x int going back")
        << QStringList{"0|0|0|0", "50|5|50|-5", "60|5|40|-5", "100|0|100|0"} << "3,3" << false << 3
        << 3;
    QTest::newRow("empty pair after a higher x")
        << QStringList{"0|0|0|0", "50|5|50|-5", "||60|-5", "100|0|100|0"} << "" << false << 1 << 3;
    QTest::newRow("three decimals") << with(2, "50,125|5|50|-5") << "1,2" << false << 1 << 2;
    // Written back, these would spoil the point line.
    QTest::newRow("unreadable y int") << with(2, "50|5|50|abc") << "4,2" << false << 4 << 2;
    QTest::newRow("semicolon in a cell") << with(2, "50|5|50|-5;7") << "4,2" << false << 4 << 2;
    QTest::newRow("first row off the chord") << with(1, "0|0,5|0|0") << "2,1" << false << 2 << 1;
    QTest::newRow("last row x 99.99") << with(3, "99,99|0|100|0") << "1,3" << false << 1 << 3;
    QTest::newRow("last row y ext not 0") << with(3, "100|0,5|100|0") << "2,3" << false << 2 << 3;
    QStringList hundred = hundredRows();
    hundred[99] = "99|1|97,5|-1"; // row 100 below row 99 in x int: not painted
    QTest::newRow("x int going back at row 100") << hundred << "" << false << 3 << 100;
    hundred[99] = "99|1|99|-1";
    hundred[100] = "97,5|1|99|-1";
    QTest::newRow("x ext going back at row 101") << hundred << "1,101" << false << 1 << 101;
}

void TstCoordinateTable::check()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, red);
    QFETCH(bool, sound);
    QFETCH(int, column);
    QFETCH(int, row);
    Table::Cells cells = cellsOf(rows);
    Table table(cells);
    QStringList painted;
    for (int r = 1; r <= table.lastRow(); ++r) {
        for (int c = 1; c <= 4; ++c) {
            const Table::Look look = table.look(c, r);
            QCOMPARE(look.kind,
                     cells[r][c].trimmed().isEmpty() ? Table::Look::Empty : Table::Look::Value);
            if (look.red)
                painted << QStringLiteral("%1,%2").arg(c).arg(r);
        }
    }
    QCOMPARE(painted.join(' '), red);
    table.cursor = {3, 2};
    QCOMPARE(table.validate(), sound);
    QCOMPARE(table.cursor.column, column);
    QCOMPARE(table.cursor.row, row);
}

void TstCoordinateTable::paste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("tab block, rounded to two decimals")
        << "12.5\t3\r\n20.126\t4,25\r\n"
        << 1 << 2 << QStringList{"0|0|0|0", " 12.50|  3.00|50|-5", " 20.13|  4.25|100|0"};
    QTest::newRow("database point lines, exponent, text")
        << "0,00;1.5e1;abc" << 2 << 2
        << QStringList{"0|0|0|0", "50|  0.00| 15.00|abc", "100|0|100|0"};
    QTest::newRow("wider than the table")
        << "1 2 3 4 5" << 3 << 3 << QStringList{"0|0|0|0", "50|5|50|-5", "100|0|  1.00|  2.00"};
    QTest::newRow("rows added, up to the limit")
        << "90\t1\n100\t0\n99\t0" << 1 << 3
        << QStringList{"0|0|0|0", "50|5|50|-5", " 90.00|  1.00|100|0", "100.00|  0.00||"};
}

void TstCoordinateTable::paste()
{
    QFETCH(QString, clipboard);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QStringList, rows);
    Table::Cells cells = cellsOf(kSound);
    Table(cells).paste(column, row, clipboard, 4);
    QCOMPARE(rowsOf(cells), rows);
    QCOMPARE(cells.back()[0], QString::number(cells.size() - 1));
}

QTEST_GUILESS_MAIN(TstCoordinateTable)
#include "tst_coordinatetable.moc"
