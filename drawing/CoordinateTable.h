#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class ProfileStore;

// The coordinate table of the drawing window without its grid: the cells as
// texts (row 0 the header row, column 0 the row numbers, row r the point line
// r - 1), how each cell is drawn, the check of the whole table with the grid
// cursor it leaves on the first fault, the write-back into the profile's
// point lines, and the blocks of cells exchanged with a spreadsheet.
//
// Values are percent of chord, y counted upwards, as in the point lines.
class CoordinateTable
{
public:
    enum Column { Number = 0, XExt = 1, YExt = 2, XInt = 3, YInt = 4 };
    static constexpr int kColumns = 5;
    using Row = std::array<QString, kColumns>;
    using Cells = std::vector<Row>;

    // The grid cursor: current column and row.
    struct Cursor {
        int column = 1;
        int row = 1;
        bool operator==(const Cursor &o) const { return column == o.column && row == o.row; }
    };

    // How a cell is drawn.
    struct Look {
        enum Kind { Header, Empty, Value };
        Kind kind = Header;
        QString text; // what is written (nothing for an empty data cell)
        bool red = false;
    };

    // A block of cells, bounds included.
    struct Range {
        int top = 1, left = 1, bottom = 0, right = 0;
        bool isEmpty() const { return bottom < top || right < left; }
    };

    // The cells live in the drawing's view state; they must outlive this.
    explicit CoordinateTable(Cells &cells) : m_cells(cells) {}

    Cells &cells() { return m_cells; }
    int rowCount() const { return int(m_cells.size()); }
    int lastRow() const { return rowCount() - 1; }
    QString text(int column, int row) const;
    bool isDataCell(int column, int row) const;

    // The value of a cell text with at most two decimals; the parse-error
    // value for a text that cannot be read. An empty text reads as 0. A ";"
    // would split the point line it is written into: such a text is never
    // a value.
    static double value(const QString &text);

    // How the cell is drawn: header cells as they stand; an empty data cell
    // writes nothing (and freezes the drawing, left to the caller); any other
    // data cell shows its value in the "###,##" picture, red when it breaks
    // a profile rule or cannot be shown.
    Look look(int column, int row) const;

    // Checks the whole table. True when it is sound (cursor at column 1,
    // row 1); otherwise the cursor is left on the first fault. A filled cell
    // that cannot be read is a fault: written back it would spoil the line.
    bool validate();
    Cursor cursor;
    // The "Erreur(s) " label: shown after a failed "Valider".
    bool errorsShown = false;

    // The table as point lines: each data row's four texts, each followed
    // by ";".
    QStringList pointLines() const;
    // Replaces profile p's point lines with the table and marks the store
    // changed, unless every value already reads the same, in which case the
    // profile (and its file) are left as they are. True when replaced.
    bool writeBack(ProfileStore &store, int p) const;

    // A block of text from a spreadsheet: rows on lines, cells separated by
    // tabs (or, in a line without a tab, by blanks or semicolons).
    static std::vector<QStringList> splitBlock(const QString &text);
    // Pastes a block with its top left cell at (column, row). Numbers with
    // more decimals than the table holds are rounded to two; other texts go
    // in as they are (and show red). Cells right of the last column are
    // dropped; rows past the last one are added, up to maxRows data rows.
    // Gives the cells written.
    Range paste(int column, int row, const QString &text, int maxRows);
    // The texts of the range, trimmed, tab-separated, one line per row.
    QString copy(const Range &range) const;

private:
    Cells &m_cells;
};
