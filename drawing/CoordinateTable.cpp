#include "drawing/CoordinateTable.h"

#include "numbers/NumberText.h"
#include "profiles/LineValues.h"
#include "profiles/ProfileStore.h"

#include <QLocale>
#include <QRegularExpression>

namespace
{

const QString kPicture = QStringLiteral("###,##");

bool filled(const QString &text)
{
    return !text.trimmed().isEmpty();
}

bool isX(int column)
{
    return column == CoordinateTable::XExt || column == CoordinateTable::XInt;
}

// A pasted cell: a number in the table's own form when it reads as one (with
// a comma or a point, any number of decimals, or an exponent), else the text
// as it came.
QString pastedText(const QString &raw)
{
    const QString text = raw.trimmed();
    if (text.isEmpty())
        return text;
    double v = ParseDecimal(6, text);
    if (IsParseError(v)) {
        bool ok = false;
        QString c = text;
        c.replace(QLatin1Char(','), QLatin1Char('.'));
        v = QLocale::c().toDouble(c, &ok);
        if (!ok)
            return text;
    }
    const QString shown = FormatNumber(kPicture, 1, v);
    return shown.contains(QLatin1Char('*')) ? text : shown;
}

} // namespace

QString CoordinateTable::text(int column, int row) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns)
        return QString();
    return m_cells[size_t(row)][size_t(column)];
}

bool CoordinateTable::isDataCell(int column, int row) const
{
    return row >= 1 && row < rowCount() && column >= XExt && column <= YInt;
}

double CoordinateTable::value(const QString &text)
{
    if (text.contains(QLatin1Char(';')))
        return kParseError;
    return ParseDecimal(2, text);
}

CoordinateTable::Look CoordinateTable::look(int column, int row) const
{
    Look look;
    const QString t = text(column, row);
    if (!isDataCell(column, row)) {
        look.text = t;
        return look;
    }
    if (!filled(t)) {
        look.kind = Look::Empty;
        return look;
    }
    look.kind = Look::Value;
    const double v = value(t);
    look.text = FormatNumber(kPicture, 1, v);
    bool red = look.text == QLatin1String("******");
    if (isX(column)) {
        if (v > 100 || v < 0)
            red = true;
        // Row 100 is not compared with the row above it; the check of the
        // whole table still is.
        else if (row >= 2 && row != 100 && v < value(text(column, row - 1)))
            red = true;
    }
    if (row == 1 && v != 0)
        red = true;
    if (row == lastRow() && v != (isX(column) ? 100 : 0))
        red = true;
    look.red = red;
    return look;
}

bool CoordinateTable::validate()
{
    auto fault = [this](int column, int row) {
        cursor = {column, row};
        return false;
    };
    if (rowCount() < 2) {
        cursor = {XExt, 1};
        return true;
    }

    double previousExt = -1, previousInt = -1;
    for (int r = 1; r <= lastRow(); ++r) {
        cursor.row = r;
        const Row &row = m_cells[size_t(r)];
        if (filled(row[XExt]) && !filled(row[YExt]))
            return fault(YExt, r);
        if (!filled(row[XExt]) && filled(row[YExt]))
            return fault(XExt, r);
        if (filled(row[XInt]) && !filled(row[YInt]))
            return fault(YInt, r);
        if (!filled(row[XInt]) && filled(row[YInt]))
            return fault(XInt, r);
        for (int c = XExt; c <= YInt; ++c) {
            if (filled(row[c]) && IsParseError(value(row[c])))
                return fault(c, r);
        }
        const double xe = value(row[XExt]), ye = value(row[YExt]);
        const double xi = value(row[XInt]), yi = value(row[YInt]);
        if (ye < yi)
            return fault(YInt, r);
        if (xe > 100)
            return fault(XExt, r);
        if (xi > 100)
            return fault(XInt, r);
        if (xe < previousExt)
            return fault(XExt, r);
        if (xi < previousInt)
            return fault(XInt, r);
        previousExt = xe;
        previousInt = xi;
    }

    for (int c : {XExt, XInt, YExt, YInt}) {
        if (value(text(c, 1)) != 0)
            return fault(c, 1);
    }
    for (int c : {XExt, XInt, YExt, YInt}) {
        if (value(text(c, lastRow())) != (isX(c) ? 100 : 0))
            return fault(c, lastRow());
    }
    cursor = {XExt, 1};
    return true;
}

QStringList CoordinateTable::pointLines() const
{
    QStringList lines;
    for (int r = 1; r <= lastRow(); ++r) {
        const Row &row = m_cells[size_t(r)];
        QString line;
        for (int c = XExt; c <= YInt; ++c)
            line += row[c] + QLatin1Char(';');
        lines << line;
    }
    return lines;
}

bool CoordinateTable::writeBack(ProfileStore &store, int p) const
{
    Tprofil *profile = store.profile(p);
    if (!profile)
        return false;
    const QStringList lines = pointLines();
    bool same = profile->pointLines.size() == lines.size();
    for (qsizetype i = 0; same && i < lines.size(); ++i) {
        const QString storedLine = profile->pointLines.at(i);
        QStringView stored(storedLine);
        const Row &row = m_cells[size_t(i) + 1];
        for (int c = XExt; same && c <= YInt; ++c) {
            const double v = ParseDecimal(2, takeValue(stored));
            same = !IsParseError(v) && v == value(row[c]);
        }
    }
    if (same)
        return false;
    profile->pointLines = lines;
    store.setSaveEnabled(true);
    return true;
}

std::vector<QStringList> CoordinateTable::splitBlock(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = t.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();

    static const QRegularExpression blanks(QStringLiteral("[ ;]+"));
    std::vector<QStringList> block;
    for (const QString &line : lines) {
        if (line.contains(QLatin1Char('\t')))
            block.push_back(line.split(QLatin1Char('\t')));
        else
            block.push_back(line.trimmed().split(blanks, Qt::SkipEmptyParts));
        if (block.back().isEmpty())
            block.back() << QString();
    }
    return block;
}

CoordinateTable::Range CoordinateTable::paste(int column, int row, const QString &text, int maxRows)
{
    Range range;
    range.top = qMax(row, 1);
    range.left = qMax(column, int(XExt));
    range.bottom = range.top - 1;
    range.right = range.left - 1;
    const std::vector<QStringList> block = splitBlock(text);
    for (size_t i = 0; i < block.size(); ++i) {
        const int r = range.top + int(i);
        if (r > maxRows)
            break;
        while (r > lastRow()) {
            Row added;
            added[Number] = QString::number(rowCount());
            m_cells.push_back(added);
        }
        for (int j = 0; j < block[i].size(); ++j) {
            const int c = range.left + j;
            if (c > YInt)
                break;
            m_cells[size_t(r)][size_t(c)] = pastedText(block[i][j]);
            range.right = qMax(range.right, c);
        }
        range.bottom = r;
    }
    return range;
}

QString CoordinateTable::copy(const Range &range) const
{
    QString out;
    for (int r = qMax(range.top, 1); r <= qMin(range.bottom, lastRow()); ++r) {
        QStringList row;
        for (int c = qMax(range.left, int(XExt)); c <= qMin(range.right, int(YInt)); ++c)
            row << text(c, r).trimmed();
        out += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out;
}
