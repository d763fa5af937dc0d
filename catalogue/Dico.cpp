#include "catalogue/Dico.h"

#include "catalogue/AirfoilFolders.h"
#include "profiles/Cp1252.h"
#include "profiles/TextLines.h"

#include <QFile>
#include <QFileInfo>

bool Dico::load(const QString &startFolder)
{
    lines.clear();
    const QString path = AirfoilFolders::resolve(startFolder, kFileName);
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    loadBytes(file.read(kMaxBytes));
    return true;
}

void Dico::loadBytes(const QByteArray &bytes)
{
    lines.clear();
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = Cp1252::decode(nul < 0 ? bytes : bytes.left(nul));
    forEachLine(text, [this](QStringView line) {
        if (!line.isEmpty())
            lines << line.toString();
    });
}

QStringList Dico::search(const QString &typed) const
{
    QStringList found;
    if (typed.isEmpty())
        return found;
    const QString needle = typed.toUpper();
    for (const QString &line : lines) {
        if (line.contains(needle, Qt::CaseSensitive))
            found << line;
    }
    return found;
}

QString Dico::description(const QString &line)
{
    const qsizetype semi = line.indexOf(QLatin1Char(';'));
    return semi < 0 ? line : line.mid(semi + 1);
}

QString Dico::reference(const QString &line)
{
    const qsizetype semi = line.indexOf(QLatin1Char(';'));
    return semi < 0 ? line : line.left(semi);
}

QString Dico::filePath(const QString &airfoilsFolder, const QString &line)
{
    return AirfoilFolders::resolve(airfoilsFolder, reference(line));
}
