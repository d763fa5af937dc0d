#pragma once

#include <QByteArray>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// The airfoil coordinate file on show in the catalogue: its rows as listed
// (title first, then each data row as normalised), the point table read from
// them with their preview positions, and the messages of the last reading or
// check. The layout every airfoil must have: trailing edge (1, 0), x falling
// over the upper surface to the leading edge (0, 0), then rising under the
// lower surface back to (1, 0).
//
// Marks are kept beside the row text, never inside it, so a title or a data
// row that happens to begin with "$" or "&" in the file is written back
// unchanged.
class AirfoilFile
{
public:
    static constexpr int kMaxPoints = 256;
    // No coordinate file comes near this; a bigger one is refused unread.
    static constexpr qint64 kMaxFileBytes = 1 << 20;

    enum class Mark { None, Error, Corrected };
    struct Row {
        QString text;
        Mark mark = Mark::None;
    };

    enum class ReadStatus {
        Read,        // every row read (points may still have failed)
        Missing,     // no file at that path; nothing changed
        FileError,   // the file could not be opened or read; nothing changed
        TooLarge,    // over kMaxFileBytes; nothing read
        TooManyRows, // the 257th data row stopped the reading; the rows are listed
    };

    // Blanks (code 32 only) removed at both ends, inner runs reduced to one.
    static QString normaliseLine(QStringView line);
    // The kept lines of a file: a NUL ends the text, lines end in CR LF, LF
    // or CR, empty lines after normalising are dropped.
    static QStringList keptLines(const QByteArray &bytes);
    // The file's very first line, blanks at its start removed, upper-cased:
    // the entry shown in the catalogue list.
    static QString listedTitle(const QByteArray &head);
    static QString listedTitleOfFile(const QString &path, QString *error = nullptr);
    // Preview position of a coordinate (fraction of chord), in whole pixels
    // and before rounding.
    static int previewX(double x);
    static int previewY(double y);
    static double previewExactX(double x);
    static double previewExactY(double y);

    // Reads the file at path into the rows and point table. The messages of
    // unreadable rows are added to the (caller-emptied) message list; the
    // system's reason for a FileError goes to *error.
    ReadStatus read(const QString &path, QString *error = nullptr);
    // The same from the file's bytes; the current file is left to the caller.
    ReadStatus readBytes(const QByteArray &bytes);
    // The plain check that ends a reading: the row messages stay, an
    // unusable profile gets its heading. True when anything was found.
    bool checkAfterRead();

    // Reads data row text into point i; false (and no values) when it has no
    // blank or when x or y is not a number.
    bool ReadPointLine(const QString &row, int i);
    // Checks the layout and gives the highest severity (1 leading-edge
    // warning, 2 error). With correct, also moves the first, last and
    // leading-edge points to their exact places and lists errors only.
    int CheckProfile(bool correct, bool keepMessages = false);
    void ReportError(const QString &message, int row, int severity);
    // Row r (1-based, point r - 1) becomes (x, y), shown as a corrected row.
    void SetCorrectedPoint(int row, double x, double y);

    // One correcting run as the "Corriger Erreurs" button makes it: true
    // when nothing blocks the rewrite; otherwise the failure heads the
    // messages.
    bool correctErrors();
    // True when the file on show may be written back: wholly read, every row
    // readable and no error left after a correcting run.
    bool readyToRewrite();
    // True while corrected rows are on show that the file does not hold yet.
    bool hasPendingCorrections() const;
    // The rows as written back: title first, marks dropped, CR LF ends.
    QByteArray rewrittenBytes() const;
    // Replaces the current file with the rows in one rename; the old file
    // stays whole when writing fails.
    bool rewrite(QString *error);

    // The row as listed, mark first ("$" error, "&" corrected).
    QString listedRow(int r) const;
    QStringList listedRows() const;
    int rowCount() const { return int(rows.size()); }
    QString title() const { return rows.isEmpty() ? QString() : rows.first().text; }

    QString currentFile;
    QList<Row> rows;
    QStringList messages;
    std::array<double, kMaxPoints> pointX{};
    std::array<double, kMaxPoints> pointY{};
    int pointCount = 0;
    // One more than the points: the entry after the last point closes the
    // outline on the first.
    std::array<QPoint, kMaxPoints + 1> previewPoints{};
    // The same places before rounding, for a smooth outline at any size.
    std::array<QPointF, kMaxPoints + 1> previewExact{};
    bool unusable = false;
    // False when the reading stopped before the end of the file.
    bool complete = false;
    // How the last reading ended.
    ReadStatus status = ReadStatus::Read;

private:
    int m_severity = 0;
    bool m_correcting = false;
};
