// Loading Profils.pro piece by piece as the file comes in, the order the
// profiles end up in, the saved bytes of an unchanged database, and the
// packed line lists the store keeps.
#include "ScriptedPrompts.h"
#include "profiles/Cp1252.h"
#include "profiles/LineList.h"
#include "profiles/ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace
{

// Hands its bytes out a few at a time, the way a slow disk or a pipe does,
// and fails from a given position on when asked to.
class Trickle : public QIODevice
{
public:
    Trickle(QByteArray bytes, qint64 piece, qint64 failAt = -1)
        : m_bytes(std::move(bytes)), m_piece(piece), m_failAt(failAt)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    int reads = 0;

protected:
    qint64 readData(char *data, qint64 max) override
    {
        if (m_failAt >= 0 && m_pos >= m_failAt)
            return -1;
        qint64 n = std::min({max, m_piece, qint64(m_bytes.size()) - m_pos});
        if (m_failAt >= 0)
            n = std::min(n, m_failAt - m_pos);
        std::memcpy(data, m_bytes.constData() + m_pos, size_t(n));
        m_pos += n;
        ++reads;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_piece;
    qint64 m_failAt;
    qint64 m_pos = 0;
};

QByteArray crlf(const QStringList &lines)
{
    QString s;
    for (const QString &l : lines)
        s += l + QStringLiteral("\r\n");
    return Cp1252::encode(s);
}

// A database as the program writes it: sorted names, CR LF, an empty line
// before each profile, templates with figures.
QByteArray writtenDatabase(int profiles)
{
    QStringList lines;
    for (int p = 0; p < profiles; ++p) {
        lines << QString() << QStringLiteral("PROFIL P%1").arg(p, 4, 10, QLatin1Char('0'));
        for (int i = 0; i <= 20; ++i)
            lines << QStringLiteral("%1;%2;%1;-%3;").arg(i * 5).arg(i % 7).arg(i % 3);
        for (int t = 0; t < p % 3; ++t) {
            lines << QStringLiteral("GABARIT %1;%2;").arg(100 + t).arg(t);
            for (int f = 0; f <= t; ++f)
                lines << QStringLiteral("FIGURE %1;%2;-20;%3;20;0;")
                             .arg(f)
                             .arg(100 * f)
                             .arg(100 * f + 50);
        }
    }
    return crlf(lines);
}

} // namespace

class TestProfileLoad : public QObject
{
    Q_OBJECT
private slots:
    void pieceByPiece_data();
    void pieceByPiece();
    void readFailureLeavesNothingHalfLoaded();
    void orderAndRepeatedNames_data();
    void orderAndRepeatedNames();
    void unchangedDatabaseSavesTheSameBytes_data();
    void unchangedDatabaseSavesTheSameBytes();
    void lineListKeepsEveryCharacter_data();
    void lineListKeepsEveryCharacter();
};

void TestProfileLoad::pieceByPiece_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("piece");

    // CR alone, CR LF cut between its two bytes, a bare LF, Windows-1252
    // letters, a rejected value, Ctrl-Z with junk after it.
    const QByteArray messy = "\rPROFIL Cr\xe9\x9c\r\n0;0;0;0;\r100;0;100;0;\n"
                             "GABARIT 150;10;\r\nFIGURE 0;1;2;3;4;5;\r\nx;0;0;0;\r\n\r\n"
                             "profil b\r\n1;1;1;1;\r\x1a"
                             "PROFIL AFTER EOF\r\n";
    for (int piece : {1, 2, 3, 5, 64})
        QTest::addRow("messy, %d bytes at a time", piece) << messy << piece;
    QTest::newRow("last line without its end") << QByteArray("PROFIL A\r\n1;2;3;4;") << 3;
    QTest::newRow("file ending on CR") << QByteArray("PROFIL A\r\n1;2;3;4;\r") << 2;
    QTest::newRow("Ctrl-Z right after CR") << QByteArray("PROFIL A\r\n1;2;3;4;\r\x1a\n9;9;") << 1;
    QTest::newRow("Ctrl-Z within a line") << QByteArray("PROFIL A\r\n1;2;3;4;\x1a;x\r\n") << 4;
    QTest::newRow("written database") << writtenDatabase(40) << 7;
    // A byte-order mark split over the first pieces, UTF-8 letters split
    // between two pieces.
    const QByteArray marked = "\xef\xbb\xbfPROFIL \xc3\xa9\xc3\xa9\r\n0;0;0;0;\r\n";
    for (int piece : {1, 2, 4})
        QTest::addRow("byte-order mark, %d bytes at a time", piece) << marked << piece;
    QTest::newRow("two bytes of a mark, one at a time") << QByteArray("\xef\xbbPROFIL A\r\n") << 1;
    QTest::newRow("a mark's first byte only") << QByteArray("\xef") << 1;
}

// Fed a few bytes at a time, the loader gives what it gives for the whole
// file at once: the same profiles, lines and messages.
void TestProfileLoad::pieceByPiece()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, piece);
    ScriptedPrompts whole;
    ProfileStore expected;
    expected.loadFromBytes(bytes);
    const QStringList messages = whole.messages;
    whole.clear();

    ProfileStore store;
    Trickle device(bytes, piece);
    QVERIFY(store.loadFromDevice(device));
    QVERIFY(device.reads > 1 || bytes.size() <= piece);
    QCOMPARE(whole.messages, messages);
    QCOMPARE(store.names(), expected.names());
    QCOMPARE(store.serialize(), expected.serialize());
    QCOMPARE(store.dataError, expected.dataError);
    QCOMPARE(store.databaseLoaded, expected.databaseLoaded);
}

void TestProfileLoad::readFailureLeavesNothingHalfLoaded()
{
    ScriptedPrompts prompts;
    ProfileStore store;
    store.AddProfile(QStringLiteral("KEPT"));
    const QByteArray bytes = writtenDatabase(10);
    Trickle device(bytes, 100, bytes.size() / 2);
    QVERIFY(!store.loadFromDevice(device));
    QCOMPARE(store.names(), QStringList{"KEPT"});
    QVERIFY(!store.databaseLoaded);
}

void TestProfileLoad::orderAndRepeatedNames_data()
{
    QTest::addColumn<QStringList>("already");
    QTest::addColumn<QStringList>("file");

    // Each name is followed by one point line of its own.
    QTest::newRow("in order") << QStringList{} << QStringList{"A", "B", "C"};
    QTest::newRow("reversed") << QStringList{} << QStringList{"C", "B", "A"};
    QTest::newRow("numbers sort as text")
        << QStringList{} << QStringList{"P10", "P9", "P1", "P100", "P2"};
    QTest::newRow("a name again replaces the record, first spelling stays")
        << QStringList{} << QStringList{"\u00e9TAGE", "B", "\u00c9TAGE", "A", "\u00e9tage"};
    QTest::newRow("a name already in the store")
        << QStringList{"M", "\u00c9L"} << QStringList{"\u00e9L", "A", "M"};
    QTest::newRow("blanks and accents")
        << QStringList{} << QStringList{" Z", "\u00c0 LA", "A LA", "ZZ", "E205", "e205"};
}

// The order and records after a load are those of adding each profile in
// turn at its sorted place, as the store's own AddProfile does.
void TestProfileLoad::orderAndRepeatedNames()
{
    QFETCH(QStringList, already);
    QFETCH(QStringList, file);
    ScriptedPrompts prompts;
    ProfileStore store, expected;
    for (const QString &name : already) {
        store.AddPointLine(store.AddProfile(name), QStringLiteral("0;0;0;0;"));
        expected.AddPointLine(expected.AddProfile(name), QStringLiteral("0;0;0;0;"));
    }
    QStringList lines;
    for (int i = 0; i < file.size(); ++i) {
        const QString point = QStringLiteral("%1;%1;%1;%1;").arg(i + 1);
        lines << QStringLiteral("PROFIL ") + file[i] << point;
        // The loader upper-cases ASCII letters of a name, nothing else.
        QString name = file[i];
        for (QChar &c : name)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - 32);
        expected.AddPointLine(expected.AddProfile(name), point);
    }
    store.loadFromBytes(crlf(lines));
    QCOMPARE(prompts.messages, QStringList{});
    QCOMPARE(store.names(), expected.names());
    QCOMPARE(store.serialize(), expected.serialize());
}

void TestProfileLoad::unchangedDatabaseSavesTheSameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QFile sample(QStringLiteral(NERVURIA_SOURCE_DIR "/sample/Profils.pro"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    QTest::newRow("sample database") << sample.readAll();
    QTest::newRow("written by the program") << writtenDatabase(300);
    QTest::newRow("out of order, repeated name")
        << crlf({"PROFIL B", "1;1;1;1;", "PROFIL A", "GABARIT 100;2;", "FIGURE 0;0;0;0;0;0;",
                 "PROFIL b", "2;2;2;2;"});
}

// A database saved once by the program is written again byte for byte when
// nothing changed, through the real file on disk.
void TestProfileLoad::unchangedDatabaseSavesTheSameBytes()
{
    QFETCH(QByteArray, bytes);
    ScriptedPrompts prompts;
    ProfileStore first;
    first.loadFromBytes(bytes);
    const QByteArray written = first.serialize();
    if (QByteArray(QTest::currentDataTag()) == "written by the program")
        QCOMPARE(written, bytes);

    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("Profils.pro")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(written);
    }
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ProfileStore store;
    const bool loaded = store.LoadProfileDatabase();
    QDir::setCurrent(before);
    QVERIFY(loaded);
    store.setSaveEnabled(true);
    prompts.answers.enqueue(true);
    QVERIFY(store.SaveProfileDatabase());
    QFile saved(dir.filePath(QStringLiteral("Profils.pro")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), written);
    QCOMPARE(prompts.messages, QStringList{});
}

void TestProfileLoad::lineListKeepsEveryCharacter_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("ASCII") << QStringList{"0,00;0,00;0,00;0,00;", "", " 1.5 ; 2;3;4;"};
    QTest::newRow("code page letters") << QStringList{"\u20ac;\u0153;\u00e9;", "\u0178"};
    QTest::newRow("outside the code page, then inside")
        << QStringList{"1;2;3;4;", "\u0142\u4e2d;", "5;6;7;8;"};
    QTest::newRow("control characters of the code page") << QStringList{"\u0081\u009d", "\x01"};
}

// Lines read back exactly as they were put in, whatever their characters;
// written out, a character the code page lacks becomes '?', as the file
// writer always did.
void TestProfileLoad::lineListKeepsEveryCharacter()
{
    QFETCH(QStringList, lines);
    LineList list;
    for (const QString &l : lines)
        list << l;
    QCOMPARE(list.toList(), lines);
    QVERIFY(list == lines);
    QCOMPARE(list.size(), lines.size());
    for (const QString &l : lines)
        QVERIFY(list.contains(l));
    QVERIFY(!list.contains(QStringLiteral("absent")));
    QByteArray out;
    list.writeTo(out);
    QCOMPARE(out, crlf(lines));
    QCOMPARE(LineList(lines), list);

    list.replace(lines.size() - 1, QStringLiteral("\u4e2d;"));
    lines.last() = QStringLiteral("\u4e2d;");
    QCOMPARE(list.toList(), lines);
    list.removeAt(0);
    lines.removeAt(0);
    QCOMPARE(list.toList(), lines);
    list.clear();
    QVERIFY(list.isEmpty());
    QVERIFY(list.at(0).isNull());
}

QTEST_GUILESS_MAIN(TestProfileLoad)
#include "tst_profileload.moc"
