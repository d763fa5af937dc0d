#include "profiles/ProfileStore.h"

#include "numbers/NumberText.h"
#include "profiles/Cp1252.h"
#include "profiles/LineValues.h"
#include "profiles/TextLines.h"
#include "profiles/WholeFile.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>

#include <algorithm>

namespace
{

// Upper-cases the ASCII letters only; accented letters stay as they are.
QString asciiUpper(QStringView s)
{
    QString out = s.toString();
    for (QChar &c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return out;
}

bool startsWithKeyword(QStringView line, QLatin1String keyword)
{
    if (line.size() < keyword.size())
        return false;
    for (qsizetype i = 0; i < keyword.size(); ++i) {
        QChar c = line[i];
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
        if (c != QLatin1Char(keyword[i]))
            return false;
    }
    return true;
}

} // namespace

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
        const QString chosen =
            prompts.chooseFolder(Language::pick(QStringLiteral("Dossier de Profils.pro"),
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

    QFile file(databasePath);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts.message(file.fileName() + QStringLiteral(" : ") + file.errorString());
        dataError = true;
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        prompts.message(file.fileName() + QStringLiteral(" : ") + file.errorString());
        dataError = true;
        return false;
    }
    loadFromBytes(bytes);
    return databaseLoaded;
}

void ProfileStore::loadFromBytes(const QByteArray &rawBytes)
{
    QByteArray bytes = rawBytes;
    const qsizetype eof = bytes.indexOf('\x1a');
    if (eof >= 0)
        bytes.truncate(eof);
    const QString text = Cp1252::decode(bytes);
    Prompts &prompts = Prompts::current();

    QString profileName;
    int lineNumber = 0;
    int templateIndex = -1;
    currentProfile = -1;

    auto reject = [&](const QString &line) {
        dataError = true;
        prompts.message(Language::pick(
            QStringLiteral("Erreur fichier Profils.pro ") + profileName +
                QStringLiteral(" ligne n°") + QString::number(lineNumber) + QStringLiteral(" <") +
                line + QStringLiteral(">"),
            QStringLiteral("Error File Profils.pro ") + profileName + QStringLiteral(" line # ") +
                QString::number(lineNumber) + QStringLiteral(" <") + line + QStringLiteral(">")));
    };
    // Checks count values of the rest of a line; one message per rejected
    // value, and the line is kept only when all were accepted.
    auto checkValues = [&](QStringView rest, int n, int decimals, const QString &line) {
        bool ok = true;
        for (int i = 0; i < n; ++i) {
            const double v = ParseDecimal(decimals, takeValue(rest));
            // Template and figure values are whole numbers the drawing
            // holds as int: one that does not fit is refused here, with
            // the line named, rather than silently at selection.
            const bool fits = decimals > 0 || (v >= double(INT_MIN) && v <= double(INT_MAX));
            if (IsParseError(v) || !fits) {
                reject(line);
                ok = false;
            }
        }
        return ok;
    };

    forEachLine(text, [&](QStringView view) {
        ++lineNumber;
        if (view.isEmpty())
            return;
        const QString line = view.toString();
        if (startsWithKeyword(view, QLatin1String("PROFIL "))) {
            profileName = asciiUpper(view.mid(7));
            currentProfile = AddProfile(profileName);
            templateIndex = -1;
        } else if (startsWithKeyword(view, QLatin1String("GABARIT "))) {
            if (currentProfile < 0)
                return;
            // The figures under a refused template belong to no template:
            // they must not land on the one before it.
            templateIndex =
                checkValues(view.mid(8), 2, 0, line) ? AddTemplate(currentProfile, line) : -1;
        } else if (startsWithKeyword(view, QLatin1String("FIGURE "))) {
            if (currentProfile < 0 || templateIndex < 0 ||
                templateIndex >= templateCount(currentProfile))
                return;
            if (checkValues(view.mid(7), 6, 0, line))
                AddFigureLine(currentProfile, templateIndex, line);
        } else {
            if (currentProfile < 0)
                return;
            if (checkValues(view, 4, 2, line))
                AddPointLine(currentProfile, line);
        }
    });

    currentTemplate = -1;
    if (m_profiles.empty()) {
        prompts.message(Language::pick(
            QStringLiteral("Erreur: le fichier Profils.pro ne contient aucun profil correct."),
            QStringLiteral("Error: Profils.pro file contains no valid airfoil at all.")));
        currentProfile = -1;
        return;
    }
    FillProfileCombo();
    databaseLoaded = true;
    currentProfile = 0;
}

QByteArray ProfileStore::serialize() const
{
    static const QString crlf = QStringLiteral("\r\n");
    QString out;
    for (const Entry &e : m_profiles) {
        out += crlf;
        out += QStringLiteral("PROFIL ") + e.name + crlf;
        for (const QString &l : e.profil->pointLines)
            out += l + crlf;
        for (const Tprofil::Template &t : e.profil->templates) {
            out += t.line + crlf;
            for (const QString &f : t.gabarit.figureLines)
                out += f + crlf;
        }
    }
    return Cp1252::encode(out);
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
    if (!writeFile(path, serialize(), &error)) {
        prompts.message(path + QStringLiteral(" : ") + error);
        return false;
    }
    setSaveEnabled(false);
    return true;
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
