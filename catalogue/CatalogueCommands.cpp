#include "catalogue/CatalogueCommands.h"

#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilImport.h"
#include "catalogue/AirfoilNormalise.h"
#include "ui/Language.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace
{

const QString kImport = QStringLiteral("import");
const QString kNormalise = QStringLiteral("normalise");

int usage(QTextStream &out)
{
    out << "usage: nervuria import FILE... --to FOLDER\n"
           "       nervuria normalise [--keep-open] FILE...\n";
    return 2;
}

int import(const QStringList &arguments, QTextStream &out)
{
    QStringList files;
    QString folder;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--to")) {
            if (i + 1 >= arguments.size() || !folder.isEmpty())
                return usage(out);
            folder = arguments[++i];
        } else {
            files << arguments[i];
        }
    }
    if (files.isEmpty() || folder.isEmpty())
        return usage(out);
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        out << folder << " : cannot create the folder\n";
        return 2;
    }
    // Nobody to ask: an existing file is kept.
    const AirfoilImport::Summary summary =
        AirfoilImport::importFiles(files, folder, [](const QString &) { return false; });
    out << AirfoilImport::summaryText(summary) << '\n';
    for (const QString &written : summary.written)
        out << QDir::toNativeSeparators(written) << '\n';
    return summary.refused.isEmpty() && summary.kept.isEmpty() ? 0 : 1;
}

// One file normalised in place; a line says what happened.
bool normaliseFile(const QString &path, bool keepOpen, QTextStream &out)
{
    const QString name = QFileInfo(path).fileName();
    AirfoilFile file;
    QString error;
    const AirfoilFile::ReadStatus status = file.read(path, &error);
    if (status != AirfoilFile::ReadStatus::Read || file.unusable || file.pointCount < 3) {
        out << name << " : "
            << (status == AirfoilFile::ReadStatus::FileError
                    ? error
                    : Language::pick(QStringLiteral("illisible en entier (importez-le d'abord)"),
                                     QStringLiteral("not readable whole (import it first)")))
            << '\n';
        return false;
    }
    QList<QPointF> points;
    for (int i = 0; i < file.pointCount; ++i)
        points << QPointF(file.pointX[i], file.pointY[i]);
    const AirfoilNormalise::Result result = AirfoilNormalise::normalise(points, keepOpen);
    if (!result.ok) {
        out << name << " : " << result.refusal << '\n';
        return false;
    }
    if (!AirfoilImport::writeWhole(path, AirfoilImport::datBytes(file.title(), result.points),
                                   &error)) {
        out << name << " : " << error << '\n';
        return false;
    }
    const QString move = QString::number(result.largestMove * 100, 'f', 4);
    out << name << " : "
        << Language::pick(QStringLiteral("plus grand déplacement ") + move +
                              QStringLiteral(" % de la corde"),
                          QStringLiteral("largest move ") + move + QStringLiteral(" % of chord"))
        << (result.closed ? QString()
                          : Language::pick(QStringLiteral(", bord de fuite laissé ouvert"),
                                           QStringLiteral(", trailing edge left open")))
        << '\n';
    return true;
}

int normalise(const QStringList &arguments, QTextStream &out)
{
    bool keepOpen = false;
    QStringList files;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--keep-open"))
            keepOpen = true;
        else
            files << argument;
    }
    if (files.isEmpty())
        return usage(out);
    bool all = true;
    for (const QString &path : files)
        all = normaliseFile(path, keepOpen, out) && all;
    return all ? 0 : 1;
}

} // namespace

bool CatalogueCommands::isCommand(const QStringList &arguments)
{
    return !arguments.isEmpty() && (arguments[0] == kImport || arguments[0] == kNormalise);
}

int CatalogueCommands::run(const QStringList &arguments, QTextStream &out)
{
    if (!isCommand(arguments))
        return usage(out);
    const QStringList rest = arguments.mid(1);
    const int status = arguments[0] == kImport ? import(rest, out) : normalise(rest, out);
    out.flush();
    return status;
}
