#include "drawing/ExportProgress.h"

#include "ui/Language.h"
#include "ui/WorkProgress.h"

#include <algorithm>

namespace
{
constexpr size_t kStep = 8; // templates built between two looks at the dialog
} // namespace

bool buildRibsShowingProgress(QWidget *parent, ProfileStore &store, const ExportJob::Picks &picks,
                              int smoothing, const RibVectors::LayerSet &layers,
                              std::vector<RibVectors::Rib> *ribs, QString *error)
{
    if (picks.size() <= 2 * kStep)
        return ExportJob::buildRibs(store, picks, smoothing, layers, ribs, error);
    WorkProgress progress(parent,
                          Language::pick(QStringLiteral("Préparation de %1 nervures…"),
                                         QStringLiteral("Preparing %1 ribs…"))
                              .arg(picks.size()),
                          int(picks.size()), QStringLiteral("ExportProgress"));
    ribs->clear();
    for (size_t i = 0; i < picks.size(); i += kStep) {
        if (!progress.advance(int(i))) {
            ribs->clear();
            error->clear();
            return false;
        }
        const ExportJob::Picks part(picks.begin() + qsizetype(i),
                                    picks.begin() + qsizetype(std::min(i + kStep, picks.size())));
        std::vector<RibVectors::Rib> built;
        if (!ExportJob::buildRibs(store, part, smoothing, layers, &built, error))
            return false;
        std::move(built.begin(), built.end(), std::back_inserter(*ribs));
    }
    progress.advance(int(picks.size()));
    return true;
}
