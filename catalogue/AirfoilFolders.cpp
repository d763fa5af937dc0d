#include "catalogue/AirfoilFolders.h"

#include "catalogue/FolderListing.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace
{

// Deeper than any real collection; stops a pathological tree.
constexpr int kMaxDepth = 32;

QString stripTrailingSeparator(QString folder)
{
    while (folder.size() > 1 &&
           (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    return folder;
}

// Names beginning with a dot are the system's own (".CACHE", and the "._"
// companions another system leaves beside each file): never airfoils.
bool hidden(const QString &name)
{
    return name.startsWith(QLatin1Char('.'));
}

void scan(const QString &folder, const QString &airfoils, int depth, QSet<QString> &seen,
          QList<AirfoilFolders::Entry> &out, const AirfoilFolders::Yield &yield)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || seen.contains(canonical) || depth > kMaxDepth)
        return;
    seen.insert(canonical);

    const QString relative = folder.mid(airfoils.size() + 1);
    if (!relative.isEmpty()) {
        QString shown = relative.toUpper();
        shown.replace(QLatin1Char('/'), QLatin1Char('\\'));
        out.append({QStringLiteral("Airfoils\\") + shown, folder});
    }

    const QStringList subfolders =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : subfolders) {
        if (hidden(name))
            continue;
        scan(folder + QLatin1Char('/') + name, airfoils, depth + 1, seen, out, yield);
        if (yield)
            yield();
    }
}

} // namespace

QString AirfoilFolders::resolve(const QString &base, const QString &relative)
{
    QString path = stripTrailingSeparator(base);
    const QStringList parts = QString(relative)
                                  .replace(QLatin1Char('\\'), QLatin1Char('/'))
                                  .split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return QString();
        QString name = part;
        if (!QFileInfo::exists(path + QLatin1Char('/') + part)) {
            const QStringList entries = QDir(path).entryList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    name = entry;
                    break;
                }
            }
        }
        path += QLatin1Char('/') + name;
    }
    return path;
}

QString AirfoilFolders::airfoilsFolder(const QString &startFolder)
{
    return resolve(startFolder, QStringLiteral("Airfoils"));
}

QList<AirfoilFolders::Entry> AirfoilFolders::scanFolders(const QString &airfoilsFolder,
                                                         const Yield &yield)
{
    const QString root = stripTrailingSeparator(airfoilsFolder);
    QList<Entry> out;
    QSet<QString> seen;
    scan(root, root, 0, seen, out, yield);
    std::sort(out.begin(), out.end(),
              [](const Entry &a, const Entry &b) { return a.shown < b.shown; });
    return out;
}

QList<AirfoilFolders::Entry> AirfoilFolders::listFolderFiles(const QString &folder,
                                                             const QString &airfoilsFolder,
                                                             const Yield &yield,
                                                             QStringList *errors)
{
    FolderListing::Result listing =
        FolderListing::list(folder, airfoilsFolder, [&yield](int, int) {
            if (yield)
                yield();
            return true;
        });
    if (errors)
        *errors << listing.errors;
    return listing.files;
}
