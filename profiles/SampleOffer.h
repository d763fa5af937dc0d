#pragma once

#include <QString>

class Prompts;

// The first start of an installed program: started from the menu, its
// working folder is the home folder, which holds no Profils.pro. The folder
// chooser then offers a folder of the user's own, ~/NERVURIA, with a copy of
// the installed sample in it, so that there is something to open at once.
// The installed files themselves are never offered: they are shared by
// every user and read-only.
class SampleOffer
{
public:
    static inline const QString kFolderName = QStringLiteral("NERVURIA");

    // sampleFolder: the installed sample (empty: none); target: the folder
    // the copy goes to.
    SampleOffer(const QString &sampleFolder, const QString &target);
    // The installed sample and ~/NERVURIA.
    static SampleOffer standard();

    QString target() const { return m_target; }
    // The target holds a Profils.pro already (a copy made at an earlier
    // start, or the user's own work): it is offered as it stands.
    bool targetReady() const;
    // Whether there is anything to offer.
    bool available() const;
    // What the offer says to the user, in the run's language.
    QString text() const;

    // Copies the sample into the target, keeping every file that exists
    // there already. Profils.pro comes last, so the target holds one only
    // once every other file is in place. False, with the reason in *error,
    // when a file cannot be read or written.
    bool copy(QString *error) const;

    // The folder chooser of a missing Profils.pro, with the offer as its
    // first choice when there is one. A chosen target is filled from the
    // sample first; a failed copy is told to the user, and the folder is
    // given back all the same, so that the caller's search goes on.
    QString choose(Prompts &prompts, const QString &caption, const QString &startFolder) const;

private:
    QString m_sample;
    QString m_target;
};
