#include "cutting/ExportJob.h"

#include "cutting/DatExport.h"
#include "cutting/Parallel.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QHash>

#include <algorithm>
#include <memory>

namespace ExportJob
{

Picks allTemplatesOf(const ProfileStore &store, const std::vector<int> &profiles)
{
    Picks picks;
    for (int p : profiles) {
        for (int t = 0; t < store.templateCount(p); ++t)
            picks.emplace_back(p, t);
    }
    return picks;
}

int findProfile(const ProfileStore &store, const QString &name)
{
    const QString wanted = name.trimmed();
    for (int p = 0; p < store.count(); ++p) {
        if (store.name(p).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return p;
    }
    return -1;
}

bool buildRibs(ProfileStore &store, const Picks &picks, int smoothing,
               const RibVectors::LayerSet &layers, std::vector<RibVectors::Rib> *ribs,
               QString *error, QStringList *skipped, const Chords &chords)
{
    using Builder = RibVectors::Builder;
    // The store is read pick by pick, in order; the ribs are then built on
    // every core, a builder each, and taken back in order. In batches, so
    // that the working data waiting to be built stays small.
    constexpr size_t kBatch = 256;
    // Templates made from the same things as an earlier one take a copy of
    // its rib: its pick's position, bounded like a builder's own memory.
    constexpr qsizetype kKept = 1024;
    std::vector<std::unique_ptr<Builder>> builders;
    // One for each thread that will have a rib to build.
    const size_t workers = std::min(size_t(Parallel::threads()), std::max<size_t>(1, picks.size()));
    for (size_t w = 0; w < workers; ++w)
        builders.push_back(std::make_unique<Builder>());
    QHash<QByteArray, size_t> firstOfKey;
    std::vector<long long> ribOf(picks.size(), -1); // each pick's rib in *ribs
    ribs->clear();
    ribs->reserve(picks.size());
    struct Batch {
        std::vector<Builder::Source> sources;
        std::vector<RibVectors::Rib> built;
        std::vector<QString> reasons;
        std::vector<char> known, made;
        std::vector<size_t> sameAs, fresh;
    };
    // The picks [from, from + kBatch) read from the store: the ribs to build
    // in fresh, the others the same as an earlier one (sameAs) or unknown.
    auto read = [&](Batch &b, size_t from) {
        const size_t count = std::min(kBatch, picks.size() - from);
        b.sources.resize(count);
        b.built.resize(count);
        b.reasons.resize(count);
        b.known.assign(count, 0);
        b.made.assign(count, 0);
        b.sameAs.resize(count);
        b.fresh.clear();
        for (size_t k = 0; k < count; ++k) {
            const size_t i = from + k;
            const auto [p, t] = picks[i];
            const double chord = i < chords.size() ? chords[i] : 0;
            Builder::Source &source = b.sources[k];
            b.reasons[k].clear();
            b.known[k] =
                Builder::identify(store, p, t, smoothing, layers, chord, &source, &b.reasons[k]);
            if (!b.known[k])
                continue;
            const auto first = firstOfKey.constFind(source.key);
            if (first != firstOfKey.constEnd()) {
                b.sameAs[k] = *first;
                continue;
            }
            if (firstOfKey.size() >= kKept)
                firstOfKey.clear();
            firstOfKey.insert(source.key, i);
            b.sameAs[k] = i;
            Builder::select(store, &source);
            b.fresh.push_back(k);
        }
    };
    // While one batch is built, the next is read: the store by one thread
    // only, the ribs by the others and then by that one too.
    Batch batches[2];
    if (!picks.empty())
        read(batches[0], 0);
    for (size_t from = 0, current = 0; from < picks.size(); from += kBatch, current ^= 1) {
        Batch &b = batches[current];
        const size_t count = b.sources.size();
        const size_t nextFrom = from + kBatch;
        const size_t reading = nextFrom < picks.size() ? 1 : 0;
        Parallel::forEach(reading + b.fresh.size(), [&](size_t f, int worker) {
            if (f < reading) {
                read(batches[current ^ 1], nextFrom);
                return;
            }
            const size_t k = b.fresh[f - reading];
            b.made[k] = builders[size_t(worker)]->fromSource(b.sources[k], smoothing, &b.built[k],
                                                             &b.reasons[k], layers);
        });
        for (size_t k = 0; k < count; ++k) {
            const size_t i = from + k;
            bool ok = b.known[k] != 0;
            if (ok && b.sameAs[k] == i) {
                ok = b.made[k] != 0;
                if (ok)
                    ribOf[i] = (long long)ribs->size();
                if (ok)
                    ribs->push_back(std::move(b.built[k]));
            } else if (ok) {
                // A copy of an earlier rib, or, where that one could not be
                // drawn, the same failure under this pick's own name.
                const long long r = ribOf[b.sameAs[k]];
                ok = r >= 0;
                if (ok)
                    ribs->push_back(Builder::repeat((*ribs)[size_t(r)], b.sources[k]));
                else
                    b.reasons[k] = Builder::undrawable(b.sources[k].name);
            }
            if (ok)
                continue;
            if (!skipped) {
                if (error)
                    *error = b.reasons[k];
                return false;
            }
            const auto [p, t] = picks[i];
            skipped->append(store.name(p) + QStringLiteral(" #") + QString::number(t + 1) +
                            QStringLiteral(": ") + b.reasons[k]);
        }
    }
    return true;
}

bool exportTemplates(ProfileStore &store, const Picks &picks, const VectorExport::Options &options,
                     int smoothing, const QString &path, QString *error, const Chords &chords)
{
    if (picks.empty()) {
        if (error)
            *error = Language::pick(QStringLiteral("Aucun gabarit à exporter."),
                                    QStringLiteral("No template to export."));
        return false;
    }
    std::vector<RibVectors::Rib> ribs;
    if (!buildRibs(store, picks, smoothing, options.layers, &ribs, error, nullptr, chords))
        return false;
    const VectorExport::Document doc = VectorExport::arrange(std::move(ribs), options);
    return VectorExport::save(path, doc, options.format, error);
}

QList<QCommandLineOption> cuttingOptions()
{
    using Language::pick;
    return {
        {QStringLiteral("kerf"),
         pick("Largeur en mm que le laser brûle (0 par défaut).",
              "Width in mm the laser burns away (default 0)."),
         QStringLiteral("MM")},
        {QStringLiteral("nest"),
         pick("shape (par défaut) : nervures placées par leur forme ; rows : par leur boîte.",
              "shape (default): ribs fitted by their shapes; rows: by their boxes."),
         QStringLiteral("shape|rows")},
        {QStringLiteral("grain"),
         pick("chord (par défaut) : cordes le long de la feuille, demi-tours seulement ; free : "
              "quarts de tour.",
              "chord (default): chords along the sheet's length, turned by half turns only; "
              "free: quarter turns."),
         QStringLiteral("chord|free")},
        {QStringLiteral("copies"),
         pick("Chaque nervure N fois (1 par défaut).", "Each rib N times (default 1)."),
         QStringLiteral("N")},
    };
}

QString cuttingSynopsis()
{
    return QStringLiteral("[--kerf MM] [--nest shape|rows] [--grain chord|free] [--copies N]");
}

bool takeCutting(const Subcommand::Call &call, VectorExport::Options *options, QString *error)
{
    return VectorExport::parseCutting(
        call.value(QStringLiteral("kerf")), call.value(QStringLiteral("nest")),
        call.value(QStringLiteral("grain")), call.value(QStringLiteral("copies")), options, error);
}

bool exportDat(ProfileStore &store, int p, const QString &path, QString *error)
{
    if (p < 0 || p >= store.count()) {
        if (error)
            *error =
                Language::pick(QStringLiteral("Profil inconnu"), QStringLiteral("Unknown airfoil"));
        return false;
    }
    const int oldProfile = store.currentProfile, oldTemplate = store.currentTemplate;
    const bool oldError = store.dataError;
    store.dataError = false;
    QStringList lines;
    {
        TemplateDrawing selection(&store);
        selection.SelectProfile(p, -1);
        if (!store.dataError)
            lines = DatExport::lines(store.name(p), selection.working());
    }
    store.currentProfile = oldProfile;
    store.currentTemplate = oldTemplate;
    store.dataError = oldError;
    if (lines.isEmpty()) {
        if (error)
            *error = Language::pick(QStringLiteral("Le profil %1 ne peut pas être exporté"),
                                    QStringLiteral("Airfoil %1 cannot be exported"))
                         .arg(store.name(p));
        return false;
    }
    return DatExport::write(path, DatExport::bytes(lines), error);
}

} // namespace ExportJob
