#pragma once

#include "profiles/LineList.h"

#include <QByteArray>
#include <QCollator>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

// A template's figures, each kept as its "FIGURE " line.
class Tgabarit
{
public:
    LineList figureLines;
};

// One profile: its point lines (leading edge first) and its template lines,
// each template line owning the figures placed on that template.
class Tprofil
{
public:
    struct Template {
        QString line;
        Tgabarit gabarit;
    };

    LineList pointLines;
    std::vector<Template> templates;

    int templateCount() const { return int(templates.size()); }
};

bool operator==(const Tprofil &a, const Tprofil &b);
inline bool operator!=(const Tprofil &a, const Tprofil &b)
{
    return !(a == b);
}

// A copy of the profiles as they stand, to tell later what an edit changed.
struct StoreSnapshot {
    std::vector<std::pair<QString, Tprofil>> profiles;
};

// What one edit did to the profile list: from position `first`, the
// profiles `before` were replaced by `after`. Profiles left alone at both
// ends are not kept, so a changed template costs one profile's copy.
struct StoreChange {
    int first = 0;
    std::vector<std::pair<QString, Tprofil>> before;
    std::vector<std::pair<QString, Tprofil>> after;
    bool isEmpty() const { return before.empty() && after.empty(); }
};

// The profiles the user works with, held as the text lines of Profils.pro
// and written back as a whole after the user agrees. Positions are 0-based;
// a position that names nothing makes an operation do nothing (or give -1).
class QIODevice;

class ProfileStore : public QObject
{
    Q_OBJECT
public:
    static inline const QString kFileName = QStringLiteral("Profils.pro");
    // The database a command line names: the file itself, or the Profils.pro
    // of a data folder.
    static QString databaseFile(const QString &fileOrFolder);

    explicit ProfileStore(QObject *parent = nullptr);
    ~ProfileStore() override;

    // Store-wide state.
    QString dataFolder;
    QString databasePath;
    int currentProfile = -1;
    int currentTemplate = -1;
    bool databaseLoaded = false;
    bool dataError = false;

    // The unsaved-changes marker: the enabled state of the save button.
    bool saveEnabled() const { return m_saveEnabled; }
    void setSaveEnabled(bool enabled);

    int count() const { return int(m_profiles.size()); }
    QString name(int p) const;
    QStringList names() const;
    Tprofil *profile(int p);
    const Tprofil *profile(int p) const;
    QString templateLine(int p, int t) const;
    int templateCount(int p) const;

    int AddProfile(const QString &name);
    void AddPointLine(int p, const QString &line);
    int AddTemplate(int p, const QString &line);
    void AddFigureLine(int p, int t, const QString &line);
    void PutTemplateLine(int p, int t, const QString &line);
    void ResetTemplate(int p, int t);
    void DeleteTemplate(int p, int t);
    void DeleteProfile(int p);
    int FindProfile(const QString &text) const;
    void FillProfileCombo();
    void FreeProfileStore();

    // Finds Profils.pro (asking for a folder while it is missing) and reads
    // it into the empty store, first offering to restore what a save cut
    // off was writing. False when no usable database was read.
    bool LoadProfileDatabase();
    // Reads database bytes into the store; the messages name lines by number.
    void loadFromBytes(const QByteArray &bytes);
    // Reads the open file piece by piece into the store. False (after the
    // platform's report) when reading failed; the store is then left empty.
    bool loadFromDevice(QIODevice &device);

    // Asks, then rewrites Profils.pro, keeping what it held before as
    // Profils.pro.bak. The caller stores a template with changed figures
    // first. True when the file was written.
    bool SaveProfileDatabase();
    // The whole database as written to the file.
    QByteArray serialize() const;

    // Edit history: a copy of every profile, the change since such a copy,
    // and that change applied one way or the other (the caller refills its
    // profile list and sets the current indexes).
    StoreSnapshot snapshot() const;
    StoreChange changeSince(const StoreSnapshot &before) const;
    void applyChange(const StoreChange &change, bool forward);

    // Asks, then deletes the current profile and fixes up the index. The
    // name is the one shown in the profile combo. True when deleted.
    bool DeleteCurrentProfile(const QString &shownName);

signals:
    void saveEnabledChanged(bool enabled);
    // A name appended to the profile combo's items.
    void profileAppended(const QString &name);
    // The profile combo refilled with every name, first item selected.
    void profileListFilled(const QStringList &names);
    // No database folder was chosen: the start window disables the buttons
    // and menu items that need one.
    void databaseUnavailable();

protected:
    // Writes the file in one step: the old file stays as it was on failure.
    virtual bool writeFile(const QString &path, const QByteArray &bytes, QString *error);

private:
    class Reader;
    // Sorts the profiles read after the first `kept` ones into the list and
    // ends the load as the file's end does.
    void finishLoad(size_t kept);
    void offerRecovery();
    void keepBackup(const QString &path);
    void sortLoaded(size_t kept);

    struct Entry {
        QString name;
        std::unique_ptr<Tprofil> profil;
    };
    Tprofil::Template *templateAt(int p, int t);

    std::vector<Entry> m_profiles;
    QCollator m_collator;
    bool m_saveEnabled = false;
};
