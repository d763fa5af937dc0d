// The drawing window's reports on its status line.
#include "drawing/TForm1.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"
#include "ui/StatusLine.h"

void TForm1::saveDatabase()
{
    if (!m_store->SaveProfileDatabase())
        return;
    markSaved();
    Status->say(Language::pick(QStringLiteral("Profils.pro enregistré : %1 profil(s)."),
                               QStringLiteral("Profils.pro saved: %1 profile(s)."))
                    .arg(m_store->count()));
}

void TForm1::reportAdded(const QStringList &namesBefore)
{
    QStringList added;
    for (const QString &name : m_store->names())
        if (!namesBefore.contains(name))
            added << name;
    if (added.isEmpty())
        return;
    Status->say(added.size() == 1
                    ? Language::pick(QStringLiteral("Profil « %1 » ajouté."),
                                     QStringLiteral("Profile \"%1\" added."))
                          .arg(added.first())
                    : Language::pick(QStringLiteral("%1 profils ajoutés, de « %2 » à « %3 »."),
                                     QStringLiteral("%1 profiles added, from \"%2\" to \"%3\"."))
                          .arg(added.size())
                          .arg(added.first(), added.last()));
}
