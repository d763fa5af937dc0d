#include "profiles/ProfileStore.h"

#include "numbers/NumberText.h"
#include "profiles/Cp1252.h"
#include "profiles/SampleOffer.h"
#include "profiles/WholeFile.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <climits>

#include <algorithm>
#include <numeric>
#include <optional>

namespace
{

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Whether a line begins with an upper-case keyword, in any letter case.
bool startsWithKeyword(const char *line, qsizetype size, QLatin1StringView keyword)
{
    if (size < keyword.size())
        return false;
    for (qsizetype i = 0; i < keyword.size(); ++i) {
        if (upperAscii(line[i]) != keyword[i])
            return false;
    }
    return true;
}

} // namespace

// Reads the lines of Profils.pro as the file's bytes come in, and files each
// line into the store where it belongs. The lines stay in the file's code
// page; only profile names, template lines and the texts of messages are
// decoded.
// Profiles are appended in file order; finishLoad sorts them afterwards.
class ProfileStore::Reader
{
public:
    explicit Reader(ProfileStore &store) : m_store(store), m_prompts(Prompts::current()) {}

    // Takes the next bytes of the file. False once a Ctrl-Z has ended the
    // file: later bytes are not read.
    bool feed(const char *data, qsizetype size);
    // The end of the file: a last line without a line end counts too.
    void finish();

    // Beyond this many, rejected values are only counted, and one message
    // at the end of the load gives their number.
    static constexpr int kShownRejections = 10;

private:
    bool feedCp1252(const char *data, qsizetype size);
    void takeLine(const char *line, qsizetype size);
    void startProfile(const char *name, qsizetype size);
    bool checkValues(const char *line, qsizetype size, qsizetype skip, int count, int decimals);
    void reject(const char *line, qsizetype size);
    // The profile read last gives back the room kept for more lines.
    void squeezeProfile();

    ProfileStore &m_store;
    Prompts &m_prompts;
    // The start of a line that the bytes fed so far cut off.
    QByteArray m_partial;
    // The last line ended at a CR: an LF right after it belongs to its end.
    bool m_afterCr = false;
    bool m_ended = false;
    int m_lineNumber = 0;
    int m_rejections = 0;
    // Bytes of a UTF-8 byte-order mark matched at the start of the file;
    // -1 once the start has been decided.
    int m_markMatched = 0;
    // An editor's byte-order mark says the text is UTF-8: it is turned into
    // the code page the store keeps (a character it lacks becomes '?').
    std::optional<QStringDecoder> m_utf8;
    QString m_profileName;
    Tprofil *m_profile = nullptr;
    int m_template = -1;
};

namespace
{
const char kUtf8Mark[] = "\xef\xbb\xbf";
}

bool ProfileStore::Reader::feed(const char *data, qsizetype size)
{
    if (m_ended)
        return false;
    if (m_markMatched >= 0) {
        // The mark may come split over the first pieces.
        qsizetype i = 0;
        while (i < size && m_markMatched < 3 && data[i] == kUtf8Mark[m_markMatched]) {
            ++i;
            ++m_markMatched;
        }
        if (m_markMatched == 3) {
            m_utf8.emplace(QStringDecoder::Utf8);
        } else if (i == size) {
            return true;
        } else {
            // Not a mark: the bytes matched so far begin the first line.
            m_partial.append(kUtf8Mark, m_markMatched);
        }
        m_markMatched = -1;
        data += i;
        size -= i;
    }
    if (m_utf8) {
        const QString text = m_utf8->decode(QByteArrayView(data, size));
        const QByteArray bytes = Cp1252::encode(text);
        return feedCp1252(bytes.constData(), bytes.size());
    }
    return feedCp1252(data, size);
}

bool ProfileStore::Reader::feedCp1252(const char *data, qsizetype size)
{
    const char *p = data;
    const char *const end = data + size;
    if (m_afterCr && p < end) {
        if (*p == '\n')
            ++p;
        m_afterCr = false;
    }
    while (p < end) {
        const char *q = p;
        while (q < end) {
            const auto c = static_cast<unsigned char>(*q);
            if (c <= 0x1a && (c == '\r' || c == '\n' || c == 0x1a))
                break;
            ++q;
        }
        if (q == end) {
            m_partial.append(p, end - p);
            return true;
        }
        const char stop = *q;
        const char *line = p;
        qsizetype length = q - p;
        if (!m_partial.isEmpty()) {
            m_partial.append(p, length);
            line = m_partial.constData();
            length = m_partial.size();
        }
        // Ctrl-Z ends the file; what stands before it on its line is a line
        // only when it is not empty.
        if (stop != 0x1a || length > 0)
            takeLine(line, length);
        m_partial.resize(0);
        if (stop == 0x1a) {
            m_ended = true;
            return false;
        }
        p = q + 1;
        if (stop == '\r') {
            if (p == end)
                m_afterCr = true;
            else if (*p == '\n')
                ++p;
        }
    }
    return true;
}

void ProfileStore::Reader::finish()
{
    if (m_markMatched > 0)
        m_partial.append(kUtf8Mark, m_markMatched);
    m_markMatched = -1;
    if (!m_ended && !m_partial.isEmpty())
        takeLine(m_partial.constData(), m_partial.size());
    m_partial = QByteArray();
    m_ended = true;
    squeezeProfile();
    m_profile = nullptr;
    if (m_rejections > kShownRejections) {
        const QString more = QString::number(m_rejections - kShownRejections);
        m_prompts.message(
            Language::pick(QStringLiteral("Fichier Profils.pro : ") + more +
                               QStringLiteral(" autre(s) valeur(s) refusée(s), sans message."),
                           QStringLiteral("File Profils.pro: ") + more +
                               QStringLiteral(" more rejected value(s), not shown.")));
    }
}

void ProfileStore::Reader::squeezeProfile()
{
    if (!m_profile)
        return;
    m_profile->pointLines.squeeze();
    for (Tprofil::Template &t : m_profile->templates)
        t.gabarit.figureLines.squeeze();
}

void ProfileStore::Reader::takeLine(const char *line, qsizetype size)
{
    ++m_lineNumber;
    if (size == 0)
        return;
    if (startsWithKeyword(line, size, QLatin1StringView("PROFIL "))) {
        startProfile(line + 7, size - 7);
    } else if (startsWithKeyword(line, size, QLatin1StringView("GABARIT "))) {
        if (!m_profile)
            return;
        // The figures under a refused template belong to no template: they
        // must not land on the one before it.
        m_template = -1;
        if (checkValues(line, size, 8, 2, 0)) {
            m_profile->templates.push_back(Tprofil::Template{Cp1252::decode(line, size), {}});
            m_template = m_profile->templateCount() - 1;
        }
    } else if (startsWithKeyword(line, size, QLatin1StringView("FIGURE "))) {
        if (!m_profile || m_template < 0 || m_template >= m_profile->templateCount())
            return;
        if (checkValues(line, size, 7, 6, 0))
            m_profile->templates[size_t(m_template)].gabarit.figureLines.appendBytes(line, size);
    } else {
        if (!m_profile)
            return;
        if (checkValues(line, size, 0, 4, 2))
            m_profile->pointLines.appendBytes(line, size);
    }
}

void ProfileStore::Reader::startProfile(const char *name, qsizetype size)
{
    squeezeProfile();
    // The name in upper case, ASCII letters only: accented letters stay.
    m_profileName = Cp1252::decode(name, size);
    for (QChar &c : m_profileName) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    const Tprofil *previous = m_profile;
    m_store.m_profiles.push_back(Entry{m_profileName, std::make_unique<Tprofil>()});
    m_profile = m_store.m_profiles.back().profil.get();
    // Profiles of one file tend to be alike: room for as many lines as the
    // one before saves growing the lists step by step.
    if (previous)
        m_profile->pointLines.reserve(previous->pointLines.size(), previous->pointLines.textSize());
    m_template = -1;
}

// Checks count values of a line after its first skip characters; one message
// per rejected value. True when all were accepted.
bool ProfileStore::Reader::checkValues(const char *line, qsizetype size, qsizetype skip, int count,
                                       int decimals)
{
    // Each value is followed by ';'. Our writers always write every value
    // of a line's kind, so a line that ends before its last ';' was cut
    // short (by another program, a full disk): it is refused as a whole,
    // with one message, rather than read with zeros in place of the rest.
    // The values are read from the file's bytes: the characters a number
    // may hold are all ASCII.
    const char *p = line + skip;
    const char *const end = line + size;
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        const char *q = p;
        while (q < end && *q != ';')
            ++q;
        if (q == end) {
            reject(line, size);
            return false;
        }
        const QLatin1StringView value(p, q - p);
        p = q + 1;
        // Template and figure values are whole numbers the drawing holds as
        // int: one that does not fit is refused here, with the line named,
        // rather than silently at selection.
        bool accepted;
        if (decimals > 0) {
            accepted = AcceptsDecimal(decimals, value);
        } else {
            const double v = ParseDecimal(decimals, value);
            accepted = !IsParseError(v) && v >= double(INT_MIN) && v <= double(INT_MAX);
        }
        if (!accepted) {
            reject(line, size);
            ok = false;
        }
    }
    return ok;
}

void ProfileStore::Reader::reject(const char *line, qsizetype size)
{
    m_store.dataError = true;
    // A file of garbage would otherwise put up one modal box per value.
    if (++m_rejections > kShownRejections)
        return;
    const QString text = Cp1252::decode(line, size);
    const QString number = QString::number(m_lineNumber);
    m_prompts.message(Language::pick(QStringLiteral("Erreur fichier Profils.pro ") + m_profileName +
                                         QStringLiteral(" ligne n°") + number +
                                         QStringLiteral(" <") + text + QStringLiteral(">"),
                                     QStringLiteral("Error File Profils.pro ") + m_profileName +
                                         QStringLiteral(" line # ") + number +
                                         QStringLiteral(" <") + text + QStringLiteral(">")));
}

ProfileStore::ProfileStore(QObject *parent) : QObject(parent)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
}

ProfileStore::~ProfileStore() = default;

void ProfileStore::setSaveEnabled(bool enabled)
{
    if (m_saveEnabled == enabled)
        return;
    m_saveEnabled = enabled;
    emit saveEnabledChanged(enabled);
}

QString ProfileStore::name(int p) const
{
    return p >= 0 && p < count() ? m_profiles[p].name : QString();
}

QStringList ProfileStore::names() const
{
    QStringList list;
    list.reserve(count());
    for (const Entry &e : m_profiles)
        list << e.name;
    return list;
}

Tprofil *ProfileStore::profile(int p)
{
    return p >= 0 && p < count() ? m_profiles[p].profil.get() : nullptr;
}

const Tprofil *ProfileStore::profile(int p) const
{
    return p >= 0 && p < count() ? m_profiles[p].profil.get() : nullptr;
}

Tprofil::Template *ProfileStore::templateAt(int p, int t)
{
    Tprofil *pr = profile(p);
    if (!pr || t < 0 || t >= pr->templateCount())
        return nullptr;
    return &pr->templates[t];
}

QString ProfileStore::templateLine(int p, int t) const
{
    const Tprofil *pr = profile(p);
    if (!pr || t < 0 || t >= pr->templateCount())
        return QString();
    return pr->templates[t].line;
}

int ProfileStore::templateCount(int p) const
{
    const Tprofil *pr = profile(p);
    return pr ? pr->templateCount() : 0;
}

int ProfileStore::AddProfile(const QString &name)
{
    auto pos = std::lower_bound(
        m_profiles.begin(), m_profiles.end(), name,
        [this](const Entry &e, const QString &n) { return m_collator.compare(e.name, n) < 0; });
    const int index = int(pos - m_profiles.begin());
    if (pos != m_profiles.end() && m_collator.compare(pos->name, name) == 0) {
        // Same name in another letter case: a fresh, empty record replaces it.
        pos->profil = std::make_unique<Tprofil>();
    } else {
        m_profiles.insert(pos, Entry{name, std::make_unique<Tprofil>()});
    }
    emit profileAppended(name);
    return index;
}

void ProfileStore::AddPointLine(int p, const QString &line)
{
    if (Tprofil *pr = profile(p))
        pr->pointLines << line;
}

int ProfileStore::AddTemplate(int p, const QString &line)
{
    Tprofil *pr = profile(p);
    if (!pr)
        return -1;
    pr->templates.push_back(Tprofil::Template{line, {}});
    return pr->templateCount() - 1;
}

void ProfileStore::AddFigureLine(int p, int t, const QString &line)
{
    if (Tprofil::Template *tp = templateAt(p, t))
        tp->gabarit.figureLines << line;
}

void ProfileStore::PutTemplateLine(int p, int t, const QString &line)
{
    if (Tprofil::Template *tp = templateAt(p, t))
        tp->line = line;
}

void ProfileStore::ResetTemplate(int p, int t)
{
    if (Tprofil::Template *tp = templateAt(p, t)) {
        tp->gabarit.figureLines.clear();
        tp->line = QStringLiteral("GABARIT 100;2;");
    }
}

void ProfileStore::DeleteTemplate(int p, int t)
{
    if (templateAt(p, t)) {
        Tprofil *pr = profile(p);
        pr->templates.erase(pr->templates.begin() + t);
    }
}

void ProfileStore::DeleteProfile(int p)
{
    if (p >= 0 && p < count())
        m_profiles.erase(m_profiles.begin() + p);
}

int ProfileStore::FindProfile(const QString &text) const
{
    if (text.isEmpty())
        return -1;
    for (int i = 0; i < count(); ++i) {
        if (m_profiles[i].name.contains(text, Qt::CaseSensitive))
            return i;
    }
    return -1;
}

void ProfileStore::FillProfileCombo()
{
    emit profileListFilled(names());
}

void ProfileStore::FreeProfileStore()
{
    m_profiles.clear();
    currentProfile = -1;
    currentTemplate = -1;
}

bool ProfileStore::LoadProfileDatabase()
{
    dataError = false;
    dataFolder = QDir::currentPath();
    Prompts &prompts = Prompts::current();

    for (;;) {
        const QFileInfo candidate(QDir(dataFolder).filePath(kFileName));
        if (candidate.isFile())
            break;
        prompts.message(Language::pick(
            QStringLiteral("Fichier Profils.pro non trouvé dans le dossier courant."),
            QStringLiteral("Profils.pro file not found in current folder.")));
        // The chooser offers a copy of the installed sample first, if any.
        const QString chosen = SampleOffer::standard().choose(
            prompts,
            Language::pick(QStringLiteral("Dossier de Profils.pro"),
                           QStringLiteral("Folder of Profils.pro")),
            dataFolder);
        if (chosen.isEmpty()) {
            emit databaseUnavailable();
            dataError = true;
            return false;
        }
        dataFolder = QDir(chosen).absolutePath();
    }

    QDir::setCurrent(dataFolder);
    databasePath = QDir(dataFolder).filePath(kFileName);
    offerRecovery();

    QFile file(databasePath);
    if (!file.open(QIODevice::ReadOnly) || !loadFromDevice(file)) {
        prompts.message(file.fileName() + QStringLiteral(" : ") + file.errorString());
        dataError = true;
        return false;
    }
    return databaseLoaded;
}

// A save in place that was cut off (the program killed, the power gone)
// left its recovery copy behind; the database itself may be cut short.
void ProfileStore::offerRecovery()
{
    QByteArray copy;
    if (!WholeFile::pendingRecovery(databasePath, &copy))
        return;
    QFile current(databasePath);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == copy) {
        // The save was complete; only the copy's removal was missed.
        WholeFile::discardRecovery(databasePath);
        return;
    }
    current.close();
    Prompts &prompts = Prompts::current();
    const QString copyPath = QDir::toNativeSeparators(WholeFile::recoveryPath(databasePath));
    if (!prompts.confirm(Language::pick(
            QStringLiteral("Un enregistrement de Profils.pro a été interrompu : le fichier est "
                           "peut-être incomplet. Une copie de récupération de ce qui était "
                           "enregistré existe (") +
                copyPath +
                QStringLiteral("). La remettre dans Profils.pro ? (Non : le fichier reste tel "
                               "quel et la copie est supprimée.)"),
            QStringLiteral("Saving Profils.pro was interrupted: the file may be incomplete. A "
                           "recovery copy of what was being saved exists (") +
                copyPath +
                QStringLiteral("). Restore it into Profils.pro ? (No: the file stays as it is "
                               "and the copy is deleted.)")))) {
        WholeFile::discardRecovery(databasePath);
        return;
    }
    QString error;
    // The copy stays until the database holds it.
    if (!WholeFile::write(databasePath, copy, &error)) {
        prompts.message(databasePath + QStringLiteral(" : ") + error);
        return;
    }
    WholeFile::discardRecovery(databasePath);
}

void ProfileStore::loadFromBytes(const QByteArray &bytes)
{
    const size_t kept = m_profiles.size();
    Reader reader(*this);
    reader.feed(bytes.constData(), bytes.size());
    reader.finish();
    finishLoad(kept);
}

bool ProfileStore::loadFromDevice(QIODevice &device)
{
    const size_t kept = m_profiles.size();
    Reader reader(*this);
    // Read in pieces: the whole file is never in memory beside the store.
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = device.read(buffer.data(), buffer.size());
        if (got < 0) {
            m_profiles.erase(m_profiles.begin() + qsizetype(kept), m_profiles.end());
            return false;
        }
        if (got == 0 || !reader.feed(buffer.constData(), got))
            break;
    }
    reader.finish();
    finishLoad(kept);
    return true;
}

void ProfileStore::finishLoad(size_t kept)
{
    sortLoaded(kept);
    currentTemplate = -1;
    if (m_profiles.empty()) {
        Prompts::current().message(Language::pick(
            QStringLiteral("Erreur: le fichier Profils.pro ne contient aucun profil correct."),
            QStringLiteral("Error: Profils.pro file contains no valid airfoil at all.")));
        currentProfile = -1;
        return;
    }
    FillProfileCombo();
    databaseLoaded = true;
    currentProfile = 0;
}

// The profiles read after the first `kept` ones take their sorted places. A
// name that comes again (in any letter case) keeps the place and spelling of
// its first coming and the record of its last: reading the header again
// started that profile afresh.
void ProfileStore::sortLoaded(size_t kept)
{
    const size_t n = m_profiles.size();
    if (n == kept)
        return;
    // A file this program wrote is in order already: one pass tells.
    bool inOrder = true;
    for (size_t i = std::max<size_t>(kept, 1); i < n && inOrder; ++i)
        inOrder = m_collator.compare(m_profiles[i - 1].name, m_profiles[i].name) < 0;
    if (inOrder)
        return;

    // Compared with the collator itself: its sort keys need not agree with
    // it on letter case in every locale.
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t(0));
    auto compare = [this](size_t a, size_t b) {
        return m_collator.compare(m_profiles[a].name, m_profiles[b].name);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return compare(a, b) < 0; });
    std::vector<Entry> sorted;
    sorted.reserve(n);
    for (size_t i = 0; i < n;) {
        size_t j = i + 1;
        while (j < n && compare(order[i], order[j]) == 0)
            ++j;
        // Moved out from the back of the run, so that its first entry's
        // name is still there to move.
        std::unique_ptr<Tprofil> record = std::move(m_profiles[order[j - 1]].profil);
        sorted.push_back(Entry{std::move(m_profiles[order[i]].name), std::move(record)});
        i = j;
    }
    m_profiles = std::move(sorted);
}

QByteArray ProfileStore::serialize() const
{
    qsizetype size = 0;
    for (const Entry &e : m_profiles) {
        size +=
            11 + e.name.size() + e.profil->pointLines.textSize() + 2 * e.profil->pointLines.size();
        for (const Tprofil::Template &t : e.profil->templates)
            size += t.line.size() + 2 + t.gabarit.figureLines.textSize() +
                    2 * t.gabarit.figureLines.size();
    }
    QByteArray out;
    out.reserve(size);
    for (const Entry &e : m_profiles) {
        out.append("\r\nPROFIL ");
        Cp1252::appendEncoded(e.name, out);
        out.append("\r\n");
        e.profil->pointLines.writeTo(out);
        for (const Tprofil::Template &t : e.profil->templates) {
            Cp1252::appendEncoded(t.line, out);
            out.append("\r\n");
            t.gabarit.figureLines.writeTo(out);
        }
    }
    return out;
}

bool ProfileStore::SaveProfileDatabase()
{
    if (!m_saveEnabled)
        return false;
    Prompts &prompts = Prompts::current();
    if (!prompts.confirm(Language::pick(
            QStringLiteral("Voulez-vous enregistrer vos modifications dans Profils.pro ?"),
            QStringLiteral("Save updates to Profils.pro ?"))))
        return false;

    QString path = databasePath;
    if (path.isEmpty())
        path = QDir(dataFolder.isEmpty() ? QDir::currentPath() : dataFolder).filePath(kFileName);
    QString error;
    keepBackup(path);
    if (!writeFile(path, serialize(), &error)) {
        prompts.message(path + QStringLiteral(" : ") + error);
        return false;
    }
    setSaveEnabled(false);
    return true;
}

// One generation back: the file as it was before this save, so that a
// profile deleted by mistake and saved can be got back. A backup that
// cannot be written is said, and the save goes on.
void ProfileStore::keepBackup(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return;
    QString error;
    if (WholeFile::keepPrevious(path, path + QStringLiteral(".bak"), &error))
        return;
    Prompts::current().message(Language::pick(QStringLiteral("Copie de sauvegarde ") + path +
                                                  QStringLiteral(".bak non écrite : ") + error,
                                              QStringLiteral("Backup copy ") + path +
                                                  QStringLiteral(".bak not written: ") + error));
}

bool ProfileStore::writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    // A failed write leaves the old database whole.
    return WholeFile::write(path, bytes, error);
}

bool ProfileStore::DeleteCurrentProfile(const QString &shownName)
{
    if (currentProfile < 0 || currentProfile >= count())
        return false;
    if (!Prompts::current().confirm(
            Language::pick(QStringLiteral("Etes vous sûr de vouloir supprimer le profil ") +
                               shownName + QStringLiteral(" du fichier Profils.pro ?"),
                           QStringLiteral("Are you sure to remove Airfoil ") + shownName +
                               QStringLiteral(" from Profils.pro file ?"))))
        return false;
    DeleteProfile(currentProfile);
    setSaveEnabled(true);
    if (currentProfile >= count())
        --currentProfile;
    FillProfileCombo();
    return true;
}

QString ProfileStore::databaseFile(const QString &fileOrFolder)
{
    return QFileInfo(fileOrFolder).isDir() ? QDir(fileOrFolder).filePath(kFileName) : fileOrFolder;
}
