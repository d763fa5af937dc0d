#include "catalogue/FolderListing.h"

#include "catalogue/AirfoilFile.h"
#include "catalogue/CatalogueTexts.h"

#include <QDir>
#include <QFileInfo>

FolderListing::Result FolderListing::list(const QString &folder, const QString &airfoilsFolder,
                                          const Progress &progress)
{
    Result result;
    QString dir = folder;
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'))))
        dir.chop(1);
    const QString here = QFileInfo(dir).canonicalFilePath();
    if (here.isEmpty() || here == QFileInfo(airfoilsFolder).canonicalFilePath())
        return result;

    // By name, letter case aside, as a Windows file system hands them out:
    // the order the collection's users know. Names beginning with a dot are
    // the system's own, never airfoils. The count comes first so that the
    // progress has its end from the start.
    QFileInfoList files = QDir(dir).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    files.removeIf([](const QFileInfo &info) {
        return info.fileName().startsWith(QLatin1Char('.')) ||
               !info.fileName().endsWith(QLatin1String(".DAT"), Qt::CaseInsensitive);
    });
    result.total = int(files.size());
    result.files.reserve(files.size());
    for (const QFileInfo &info : files) {
        if (progress && !progress(result.read(), result.total)) {
            result.cancelled = true;
            return result;
        }
        const QString path = dir + QLatin1Char('/') + info.fileName();
        QString error;
        QString shown = AirfoilFile::listedTitleOfFile(path, &error);
        if (!error.isEmpty()) {
            result.errors << CatalogueTexts::fileError(path, error);
            ++result.refused;
        } else if (info.size() > AirfoilFile::kMaxFileBytes) {
            // Listed by its title, but the reader will not take it.
            ++result.refused;
        }
        // An entry with nothing visible could not be told apart or clicked
        // knowingly: the file's name stands in for a blank first line.
        if (shown.trimmed().isEmpty())
            shown = info.fileName();
        result.files.append({shown, path});
    }
    if (progress)
        progress(result.total, result.total);
    return result;
}
