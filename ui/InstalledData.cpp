#include "ui/InstalledData.h"

#include <QFileInfo>

#ifndef NERVURIA_INSTALLED_SAMPLE
#define NERVURIA_INSTALLED_SAMPLE ""
#endif

QString InstalledData::sampleFolder()
{
    const QString folder = qEnvironmentVariableIsSet("NERVURIA_SAMPLE_DIR")
                               ? qEnvironmentVariable("NERVURIA_SAMPLE_DIR")
                               : QString::fromUtf8(NERVURIA_INSTALLED_SAMPLE);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return QString();
    return QFileInfo(folder).absoluteFilePath();
}
