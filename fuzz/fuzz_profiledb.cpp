// Feeds arbitrary bytes to the Profils.pro loader, then checks that what it
// kept saves and loads back to the same bytes.
#include "ScriptedPrompts.h"
#include "profiles/ProfileStore.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    const QByteArray saved = store.serialize();
    ProfileStore again;
    again.loadFromBytes(saved);
    if (again.serialize() != saved)
        __builtin_trap();
    return 0;
}
