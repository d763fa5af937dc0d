// Feeds arbitrary bytes to the Profils.pro loader, whole and a few bytes at
// a time as a slow file hands them out, and checks that both give the same
// store, and that what it kept saves and loads back to the same bytes.
#include "ScriptedPrompts.h"
#include "profiles/ProfileStore.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QIODevice>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{

class Pieces : public QIODevice
{
public:
    Pieces(const QByteArray &bytes, qint64 piece) : m_bytes(bytes), m_piece(piece)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 max) override
    {
        const qint64 n = std::min({max, m_piece, qint64(m_bytes.size()) - m_pos});
        std::memcpy(data, m_bytes.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray &m_bytes;
    qint64 m_piece;
    qint64 m_pos = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(bytes);
    const QStringList messages = prompts.messages;
    const QByteArray saved = store.serialize();

    // The piece size comes from the input, so that the fuzzer varies it.
    prompts.clear();
    ProfileStore pieces;
    Pieces device(bytes, size > 0 ? 1 + data[size - 1] % 13 : 1);
    if (!pieces.loadFromDevice(device) || pieces.serialize() != saved ||
        prompts.messages != messages || pieces.names() != store.names())
        __builtin_trap();

    ProfileStore again;
    again.loadFromBytes(saved);
    if (again.serialize() != saved)
        __builtin_trap();
    return 0;
}
