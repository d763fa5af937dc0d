// The drawing window's keyboard shortcuts: Qt's standard keys for save,
// print, help, close and zoom, and Ctrl+Page Down / Page Up for the next
// and previous profile.
#include "drawing/TForm1.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"
#include "ui/Shortcuts.h"

void TForm1::setUpShortcuts()
{
    using namespace Shortcuts;
    pressAll(this, {{Btenregistrer, Role::Save},
                    {Btimprime, Role::Print},
                    {BitBtn1, Role::Help},
                    {Btquit, Role::Close},
                    {Btzoomplus, Role::ZoomIn},
                    {BtZoommoins, Role::ZoomOut}});
    const QList<QKeySequence> next{QKeySequence(Qt::CTRL | Qt::Key_PageDown)};
    const QList<QKeySequence> previous{QKeySequence(Qt::CTRL | Qt::Key_PageUp)};
    add(this, next, [this] { stepProfile(1); });
    add(this, previous, [this] { stepProfile(-1); });
    Cb1->setToolTip(tipWithKeys(
        Language::pick(QStringLiteral("Profil suivant, précédent"), QStringLiteral("Next, previous profile")),
        next + previous));
}

void TForm1::stepProfile(int step)
{
    const int p = Cb1->currentIndex() + step;
    if (p < 0 || p >= Cb1->count())
        return;
    Cb1->setCurrentIndex(p);
    Cb1Click();
}
