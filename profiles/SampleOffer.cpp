#include "profiles/SampleOffer.h"

#include "profiles/ProfileStore.h"
#include "profiles/WholeFile.h"
#include "ui/InstalledData.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

SampleOffer::SampleOffer(const QString &sampleFolder, const QString &target)
    : m_sample(sampleFolder), m_target(QDir::cleanPath(QDir(target).absolutePath()))
{
}

SampleOffer SampleOffer::standard()
{
    return SampleOffer(InstalledData::sampleFolder(), QDir::home().filePath(kFolderName));
}

bool SampleOffer::targetReady() const
{
    return QFileInfo(QDir(m_target).filePath(ProfileStore::kFileName)).isFile();
}

bool SampleOffer::available() const
{
    if (targetReady())
        return true;
    return !m_sample.isEmpty() &&
           QFileInfo(QDir(m_sample).filePath(ProfileStore::kFileName)).isFile() &&
           QDir(m_sample).canonicalPath() != QDir(m_target).canonicalPath();
}

QString SampleOffer::text() const
{
    const QString folder = QDir::toNativeSeparators(m_target);
    if (targetReady())
        return Language::pick(QStringLiteral("Ouvrir votre dossier ") + folder +
                                  QStringLiteral(" ?\n\nOu choisissez un autre dossier qui "
                                                 "contient Profils.pro."),
                              QStringLiteral("Open your folder ") + folder +
                                  QStringLiteral("?\n\nOr choose another folder that holds "
                                                 "Profils.pro."));
    return Language::pick(
        QStringLiteral("Commencer avec une copie des profils d'exemple dans ") + folder +
            QStringLiteral(" ?\n\nOu choisissez le dossier qui contient votre Profils.pro."),
        QStringLiteral("Start with a copy of the sample airfoils in ") + folder +
            QStringLiteral("?\n\nOr choose the folder that holds your Profils.pro."));
}

namespace
{

bool copyFile(const QString &from, const QString &to, QString *error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = from + QStringLiteral(" : ") + source.errorString();
        return false;
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        *error = from + QStringLiteral(" : ") + source.errorString();
        return false;
    }
    if (!QDir().mkpath(QFileInfo(to).absolutePath())) {
        *error = QFileInfo(to).absolutePath() +
                 Language::pick(QStringLiteral(" : dossier impossible à créer"),
                                QStringLiteral(": cannot create the folder"));
        return false;
    }
    QString reason;
    if (!WholeFile::write(to, bytes, &reason)) {
        *error = to + QStringLiteral(" : ") + reason;
        return false;
    }
    return true;
}

} // namespace

bool SampleOffer::copy(QString *error) const
{
    QString ignored;
    if (!error)
        error = &ignored;
    const QDir sample(m_sample);
    const QDir target(m_target);
    if (m_sample.isEmpty() || !sample.exists()) {
        *error = Language::pick(QStringLiteral("Profils d'exemple introuvables : "),
                                QStringLiteral("Sample airfoils not found: ")) +
                 m_sample;
        return false;
    }
    // Plain files only: the installed sample holds nothing else, and links
    // could lead out of it.
    QDirIterator it(m_sample, QDir::Files | QDir::NoSymLinks | QDir::Hidden,
                    QDirIterator::Subdirectories);
    const QString database = sample.filePath(ProfileStore::kFileName);
    while (it.hasNext()) {
        const QString from = it.next();
        if (QFileInfo(from).absoluteFilePath() == QFileInfo(database).absoluteFilePath())
            continue;
        const QString to = target.filePath(sample.relativeFilePath(from));
        if (QFileInfo::exists(to))
            continue;
        if (!copyFile(from, to, error))
            return false;
    }
    const QString to = target.filePath(ProfileStore::kFileName);
    return QFileInfo::exists(to) || copyFile(database, to, error);
}

QString SampleOffer::choose(Prompts &prompts, const QString &caption,
                            const QString &startFolder) const
{
    if (!available())
        return prompts.chooseFolder(caption, startFolder);
    const QString chosen = prompts.chooseFolderWithOffer(caption, startFolder, m_target, text());
    // The target may also be picked in the plain chooser, perhaps through a
    // link to the home folder.
    const bool isTarget =
        !chosen.isEmpty() && (QDir::cleanPath(QDir(chosen).absolutePath()) == m_target ||
                              (QFileInfo::exists(m_target) &&
                               QDir(chosen).canonicalPath() == QDir(m_target).canonicalPath()));
    if (!isTarget || targetReady())
        return chosen;
    QString error;
    if (!copy(&error))
        prompts.message(Language::pick(QStringLiteral("Copie des profils d'exemple impossible : "),
                                       QStringLiteral("Cannot copy the sample airfoils: ")) +
                        error);
    return chosen;
}
