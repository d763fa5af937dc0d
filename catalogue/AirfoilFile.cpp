#include "catalogue/AirfoilFile.h"

#include "catalogue/CatalogueTexts.h"
#include "numbers/NumberText.h"
#include "profiles/Cp1252.h"
#include "profiles/TextLines.h"
#include "profiles/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kPreviewLeft = 8;
constexpr int kPreviewChordY = 128;
constexpr double kPreviewScale = 460.0;
// Far outside the preview, yet safe to convert and to draw.
constexpr double kPreviewLimit = 1.0e6;

const QLatin1Char kBlank(' ');

// Where the preview puts a coordinate: the product is rounded to the
// nearest pixel, halves to even, as every drawn coordinate is.
int previewPixel(double offset, double product)
{
    const double bounded = std::clamp(product, -kPreviewLimit, kPreviewLimit);
    return int(offset + std::nearbyint(bounded));
}

double previewPlace(double offset, double product)
{
    return offset + std::clamp(product, -kPreviewLimit, kPreviewLimit);
}

QByteArray upToNul(const QByteArray &bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.left(nul);
}

} // namespace

QString AirfoilFile::normaliseLine(QStringView line)
{
    QString out;
    out.reserve(line.size());
    bool pendingBlank = false;
    for (QChar c : line) {
        if (c == kBlank) {
            pendingBlank = !out.isEmpty();
            continue;
        }
        if (pendingBlank)
            out += kBlank;
        pendingBlank = false;
        out += c;
    }
    return out;
}

QStringList AirfoilFile::keptLines(const QByteArray &bytes)
{
    const QString text = Cp1252::decode(upToNul(bytes));
    QStringList lines;
    forEachLine(text, [&](QStringView raw) {
        const QString line = normaliseLine(raw);
        if (!line.isEmpty())
            lines << line;
    });
    return lines;
}

QString AirfoilFile::listedTitle(const QByteArray &head)
{
    QByteArray first = upToNul(head);
    const qsizetype end = first.indexOf('\r');
    const qsizetype lf = first.indexOf('\n');
    qsizetype cut = end;
    if (lf >= 0 && (cut < 0 || lf < cut))
        cut = lf;
    if (cut >= 0)
        first.truncate(cut);
    QString title = Cp1252::decode(first);
    qsizetype i = 0;
    while (i < title.size() && title[i] == kBlank)
        ++i;
    return title.mid(i).toUpper();
}

QString AirfoilFile::listedTitleOfFile(const QString &path, QString *error)
{
    // The title is on the first line; a few kilobytes always hold it.
    constexpr qint64 kHead = 4096;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return QString();
    }
    const QByteArray head = file.read(kHead);
    if (file.error() != QFileDevice::NoError && error)
        *error = file.errorString();
    return listedTitle(head);
}

int AirfoilFile::previewX(double x)
{
    return previewPixel(kPreviewLeft, kPreviewScale * x);
}

int AirfoilFile::previewY(double y)
{
    return previewPixel(kPreviewChordY, -kPreviewScale * y);
}

double AirfoilFile::previewExactX(double x)
{
    return previewPlace(kPreviewLeft, kPreviewScale * x);
}

double AirfoilFile::previewExactY(double y)
{
    return previewPlace(kPreviewChordY, -kPreviewScale * y);
}

AirfoilFile::ReadStatus AirfoilFile::read(const QString &path, QString *error)
{
    if (!QFileInfo(path).isFile())
        return ReadStatus::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return ReadStatus::FileError;
    }
    // Read one byte past the limit so that a file growing meanwhile is still
    // recognised as too large.
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return ReadStatus::FileError;
    }
    currentFile = path;
    if (bytes.size() > kMaxFileBytes) {
        rows.clear();
        pointCount = 0;
        unusable = false;
        complete = false;
        status = ReadStatus::TooLarge;
        return status;
    }
    return readBytes(bytes);
}

AirfoilFile::ReadStatus AirfoilFile::readBytes(const QByteArray &bytes)
{
    rows.clear();
    const QStringList lines = keptLines(bytes);
    rows.reserve(lines.size());
    for (const QString &line : lines)
        rows.append(Row{line, Mark::None});

    pointCount = 0;
    unusable = false;
    complete = false;
    for (int k = 1; k < rowCount(); ++k) {
        if (k > kMaxPoints) {
            status = ReadStatus::TooManyRows;
            return status;
        }
        if (!ReadPointLine(rows[k].text, k - 1)) {
            unusable = true;
            rows[k].mark = Mark::Error;
        }
        pointCount = k;
    }
    previewPoints[pointCount] = previewPoints[0];
    previewExact[pointCount] = previewExact[0];
    complete = true;
    status = ReadStatus::Read;
    return status;
}

bool AirfoilFile::checkAfterRead()
{
    const int severity = CheckProfile(false, true);
    if (unusable)
        messages.prepend(CatalogueTexts::unusable());
    return severity > 0 || unusable;
}

bool AirfoilFile::ReadPointLine(const QString &row, int i)
{
    if (i < 0 || i >= kMaxPoints)
        return false;
    // A value that cannot be read takes that of the point before (the
    // trailing edge for the first point), and so does its preview place: the
    // outline never jumps to a stale position. Only an unreadable x counts
    // as -1, which the direction scan then reports.
    const double previousX = i > 0 ? pointX[i - 1] : 1.0;
    const double previousY = i > 0 ? pointY[i - 1] : 0.0;
    const QPoint previous = i > 0 ? previewPoints[i - 1] : QPoint(previewX(1.0), previewY(0.0));
    const QPointF previousExact =
        i > 0 ? previewExact[i - 1] : QPointF(previewExactX(1.0), previewExactY(0.0));

    const qsizetype blank = row.indexOf(kBlank);
    if (blank < 0) {
        pointX[i] = previousX;
        pointY[i] = previousY;
        previewPoints[i] = previous;
        previewExact[i] = previousExact;
        return false;
    }
    const double x = ParseDecimal(6, QStringView(row).left(blank));
    if (IsParseError(x)) {
        pointX[i] = -1;
        pointY[i] = previousY;
        previewPoints[i] = previous;
        previewExact[i] = previousExact;
        messages << CatalogueTexts::xNotNumeric(i + 1);
        return false;
    }
    pointX[i] = x;
    previewPoints[i].setX(previewX(x));
    previewExact[i].setX(previewExactX(x));

    QStringView rest = QStringView(row).mid(blank + 1);
    while (!rest.isEmpty() && rest.front() == kBlank)
        rest = rest.mid(1);
    const double y = ParseDecimal(6, rest);
    if (IsParseError(y)) {
        pointY[i] = -1;
        previewPoints[i].setY(previous.y());
        previewExact[i].setY(previousExact.y());
        messages << CatalogueTexts::yNotNumeric(i + 1);
        return false;
    }
    pointY[i] = y;
    previewPoints[i].setY(previewY(y));
    previewExact[i].setY(previewExactY(y));
    return true;
}

int AirfoilFile::CheckProfile(bool correct, bool keepMessages)
{
    if (!keepMessages)
        messages.clear();
    m_severity = 0;
    m_correcting = correct;
    const int n = std::clamp(pointCount, 0, kMaxPoints);

    // Without two points there is no direction to follow and no separate
    // last point; such a file is never a usable airfoil.
    if (n < 2) {
        ReportError(CatalogueTexts::tooFewPoints(), 0, 2);
        return m_severity;
    }

    // The rows are walked from the trailing edge; every change between
    // falling and rising x is a turn, and the last turn is the leading edge.
    bool rising = pointX[1] > pointX[0];
    int turns = 0;
    int leadingEdge = 0;
    for (int i = 1; i < n; ++i) {
        const bool turn = rising ? pointX[i] < pointX[i - 1] : pointX[i] > pointX[i - 1];
        if (!turn)
            continue;
        ++turns;
        if (turns >= 2)
            ReportError(CatalogueTexts::sequenceError(), leadingEdge + 1, 2);
        rising = !rising;
        leadingEdge = i - 1;
    }

    if (pointX[0] != 1.0) {
        ReportError(CatalogueTexts::firstX(), 1, 2);
    } else if (pointY[0] != 0.0) {
        ReportError(CatalogueTexts::firstY(), 1, 2);
        if (correct)
            SetCorrectedPoint(1, 1.0, 0.0);
    }

    if (pointX[n - 1] != 1.0) {
        ReportError(CatalogueTexts::lastX(), n, 2);
    } else if (pointY[n - 1] != 0.0) {
        ReportError(CatalogueTexts::lastY(), n, 2);
        if (correct)
            SetCorrectedPoint(n, 1.0, 0.0);
    }

    if (turns > 0) {
        const int row = leadingEdge + 1;
        if (pointX[leadingEdge] != 0.0)
            ReportError(CatalogueTexts::leadingEdgeX(), row, 1);
        // The leading edge is rewritten even when exact, so that a
        // correction always leaves it in the same form.
        if (correct)
            SetCorrectedPoint(row, 0.0, 0.0);
        if (pointY[leadingEdge] != 0.0) {
            ReportError(CatalogueTexts::leadingEdgeY(), row, 1);
            if (correct)
                SetCorrectedPoint(row, 0.0, 0.0);
        }
    }
    return m_severity;
}

void AirfoilFile::ReportError(const QString &message, int row, int severity)
{
    m_severity = std::max(m_severity, severity);
    // A correcting run fixes the leading edge itself; its warnings would
    // only be noise.
    if (m_correcting && severity == 1)
        return;
    if (row == 0) {
        messages << message;
        return;
    }
    messages << CatalogueTexts::rowPrefix() +
                    QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0')) + kBlank + message;
    if (row > 0 && row < rowCount())
        rows[row].mark = Mark::Error;
}

void AirfoilFile::SetCorrectedPoint(int row, double x, double y)
{
    if (row < 1 || row > kMaxPoints)
        return;
    pointX[row - 1] = x;
    pointY[row - 1] = y;
    QString text =
        FormatNumber(u"#,#####", 2, x) + QStringLiteral("  ") + FormatNumber(u"#,#####", 2, y);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (row < rowCount())
        rows[row] = Row{text, Mark::Corrected};
}

bool AirfoilFile::correctErrors()
{
    const int severity = CheckProfile(true);
    // An unreadable row or a file read only in part cannot be put right here:
    // writing it back would keep the fault or cut the file.
    if (severity < 2 && complete && !unusable)
        return true;
    if (unusable)
        messages.prepend(CatalogueTexts::unusable());
    if (status == ReadStatus::TooManyRows)
        messages.prepend(CatalogueTexts::tooManyRows());
    else if (status == ReadStatus::TooLarge)
        messages.prepend(CatalogueTexts::tooLarge());
    messages.prepend(CatalogueTexts::correctionFailed());
    return false;
}

bool AirfoilFile::readyToRewrite()
{
    // The same run as the correction button's, so that a refusal lists the
    // same reasons.
    return correctErrors() && !currentFile.isEmpty();
}

bool AirfoilFile::hasPendingCorrections() const
{
    return std::any_of(rows.cbegin(), rows.cend(),
                       [](const Row &row) { return row.mark == Mark::Corrected; });
}

QByteArray AirfoilFile::rewrittenBytes() const
{
    QString text;
    for (const Row &row : rows)
        text += row.text + QStringLiteral("\r\n");
    return Cp1252::encode(text);
}

bool AirfoilFile::rewrite(QString *error)
{
    if (!WholeFile::write(currentFile, rewrittenBytes(), error))
        return false;
    for (Row &row : rows) {
        if (row.mark == Mark::Corrected)
            row.mark = Mark::None;
    }
    return true;
}

QString AirfoilFile::listedRow(int r) const
{
    if (r < 0 || r >= rowCount())
        return QString();
    const Row &row = rows[r];
    switch (row.mark) {
    case Mark::Error:
        return QLatin1Char('$') + row.text;
    case Mark::Corrected:
        return QLatin1Char('&') + row.text;
    case Mark::None:
        break;
    }
    return row.text;
}

QStringList AirfoilFile::listedRows() const
{
    QStringList list;
    list.reserve(rowCount());
    for (int r = 0; r < rowCount(); ++r)
        list << listedRow(r);
    return list;
}
