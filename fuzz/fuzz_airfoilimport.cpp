// Feeds arbitrary bytes to the tolerant reader of downloaded coordinate
// files, and what it makes of them to the catalogue's own reader and check.
#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const AirfoilImport::Result result = AirfoilImport::read(bytes, QStringLiteral("fuzz.dat"));
    if (!result.ok) {
        if (result.refusal.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    if (result.points.size() < 3 || result.points.size() > AirfoilImport::kMaxPoints)
        std::abort();
    // What it writes is read back whole by the catalogue.
    AirfoilFile file;
    if (file.readBytes(result.datBytes()) != AirfoilFile::ReadStatus::Read ||
        file.pointCount != result.points.size())
        std::abort();
    file.checkAfterRead();
    return 0;
}
