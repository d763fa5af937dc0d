// Feeds arbitrary bytes to the coordinate-file reader and everything that
// works on what it read: the check, the correction, the rewrite, the pairing
// walk of adding, the catalogue entry title and the index search.
#include "catalogue/AirfoilFile.h"
#include "catalogue/Dico.h"
#include "catalogue/ProfileAdder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    AirfoilFile file;
    file.currentFile = QStringLiteral("fuzz.dat");
    file.readBytes(bytes);
    file.checkAfterRead();
    for (int i = 0; i <= file.pointCount && i <= AirfoilFile::kMaxPoints; ++i)
        (void)file.previewPoints[i];
    ProfileAdder::pairedPointLines(file.pointX.data(), file.pointY.data(), file.pointCount,
                                   QLatin1Char(','));
    file.correctErrors();
    file.correctErrors();
    file.readyToRewrite();
    (void)file.rewrittenBytes();
    (void)file.listedRows();

    (void)AirfoilFile::listedTitle(bytes);

    Dico dico;
    dico.loadBytes(bytes);
    const QString typed = AirfoilFile::listedTitle(bytes.left(8));
    for (const QString &line : dico.search(typed)) {
        (void)Dico::description(line);
        (void)Dico::reference(line);
    }
    return 0;
}
