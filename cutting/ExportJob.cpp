#include "cutting/ExportJob.h"

#include "cutting/DatExport.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

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
    RibVectors::Builder builder;
    ribs->clear();
    ribs->reserve(picks.size());
    for (size_t i = 0; i < picks.size(); ++i) {
        const auto [p, t] = picks[i];
        RibVectors::Rib rib;
        QString reason;
        const double chord = i < chords.size() ? chords[i] : 0;
        if (!builder.fromStore(store, p, t, smoothing, &rib, &reason, layers, chord)) {
            if (!skipped) {
                if (error)
                    *error = reason;
                return false;
            }
            skipped->append(store.name(p) + QStringLiteral(" #") + QString::number(t + 1) +
                            QStringLiteral(": ") + reason);
            continue;
        }
        ribs->push_back(std::move(rib));
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
    const QByteArray data = VectorExport::bytes(doc, options.format, error);
    if (data.isEmpty())
        return false;
    return VectorExport::write(path, data, error);
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
