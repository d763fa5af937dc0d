#include "hybrid/FoamCores.h"

#include "hybrid/PanelKit.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

namespace FoamCores
{

namespace
{

// As the panel's ribs are drawn for cutting.
constexpr int kSmoothing = 50;

RibVectors::Shape line(const QPolygonF &points, int layer, bool closed)
{
    RibVectors::Shape s;
    s.kind = RibVectors::Shape::Path;
    s.layer = layer;
    s.closed = closed;
    s.path.addPolygon(points);
    if (closed)
        s.path.closeSubpath();
    return s;
}

RibVectors::Shape label(const QString &text, QPointF at, double height, int layer)
{
    RibVectors::Shape s;
    s.kind = RibVectors::Shape::Label;
    s.layer = layer;
    s.text = text;
    s.centre = at;
    s.height = height;
    return s;
}

} // namespace

bool read(const PanelInputs &panel, ProfileStore &store, Ends *ends, QString *error)
{
    // The two ends as a panel of two ribs: the panel's own reading of the
    // ends, their messages and their incidences. Each end keeps its own
    // sheeting.
    PanelInputs two = panel;
    two.name = QStringLiteral("CORE");
    two.ribCount = 2;
    two.stations.clear();
    two.mixedSkins = true;
    const WingPanel::Result r = WingPanel::compute(two, store);
    if (!r.ok()) {
        *error = r.error;
        return false;
    }
    std::vector<RibVectors::Rib> ribs;
    if (!PanelKit::buildRibs(two, KitOptions(), store, &ribs, error))
        return false;
    if (ribs.size() != 2)
        return false;
    for (int side = 0; side < 2; ++side) {
        const RibVectors::Rib &rib = ribs[size_t(side)];
        if (rib.templateRefused || PanelKit::outline(rib).size() < 3) {
            *error = Language::pick(side == 0 ? QStringLiteral("Emplanture : pas de gabarit (")
                                              : QStringLiteral("Saumon : pas de gabarit ("),
                                    side == 0 ? QStringLiteral("Root: no template (")
                                              : QStringLiteral("Tip: no template (")) +
                     rib.refusal + QStringLiteral(")");
            return false;
        }
    }
    ends->core.root = PanelKit::outline(ribs[0]);
    ends->core.tip = PanelKit::outline(ribs[1]);
    ends->core.rootChord = WingPanel::cutChord(r.ribs.front());
    ends->core.tipChord = WingPanel::cutChord(r.ribs.back());
    ends->turn = r.ribs.back().incidence - r.ribs.front().incidence;
    ends->rootName = panel.root.profile.trimmed();
    ends->tipName = panel.tip.profile.trimmed();
    return true;
}

std::vector<RibVectors::Rib> templates(const Ends &ends, double kerf, double lead)
{
    std::vector<RibVectors::Rib> out;
    for (int side = 0; side < 2; ++side) {
        const HotWire::Section s =
            HotWire::section(side == 0 ? ends.core.root : ends.core.tip, kerf);
        RibVectors::Rib rib;
        rib.profileName = side == 0 ? ends.rootName : ends.tipName;
        rib.chordMm = side == 0 ? ends.core.rootChord : ends.core.tipChord;
        if (!s.ok())
            continue;
        QPolygonF ring(s.upper.begin(), s.upper.end());
        ring.append(QPolygonF(s.lower.begin() + 1, s.lower.end() - 1));
        rib.shapes.push_back(line(ring, RibVectors::Cut, true));
        for (const HotWire::Mark &m : HotWire::marks(s)) {
            // The trailing edge's mark stands up, clear of the lead-in.
            const QPointF out = m.number == 0 ? QPointF(0, 1) : m.outward;
            const QPointF end = m.at + out * kMarkLength;
            rib.shapes.push_back(line({m.at, end}, RibVectors::Marks, false));
            // The number beyond the mark's end, centred on its line.
            const QString n = QString::number(m.number);
            const QPointF half(n.size() * kNumberHeight * 0.35, kNumberHeight / 2);
            rib.shapes.push_back(label(n, end + out * (kNumberHeight * 0.9) - half, kNumberHeight,
                                       RibVectors::Marks));
        }
        const QPointF te = s.upper.front();
        rib.shapes.push_back(line({te, te + QPointF(lead, 0)}, RibVectors::Marks, false));
        const QRectF box = ring.boundingRect();
        const QString name =
            rib.profileName +
            Language::pick(side == 0 ? QStringLiteral(" - emplanture")
                                     : QStringLiteral(" - saumon"),
                           side == 0 ? QStringLiteral(" - root") : QStringLiteral(" - tip"));
        // The name under the lower surface's numbers.
        rib.shapes.push_back(
            label(name, QPointF(box.left(), box.top() - kMarkLength - 2 * kNumberHeight - 6), 3.5,
                  RibVectors::Text));
        out.push_back(std::move(rib));
    }
    return out;
}

QStringList comments(const Ends &ends, const HotWire::Settings &s)
{
    auto n = [](double v) { return QString::number(v, 'g', 6); };
    return {QStringLiteral("NERVURIA foam core: root ") + ends.rootName + QStringLiteral(", tip ") +
                ends.tipName,
            QStringLiteral("towers ") + n(s.width) + QStringLiteral(" mm apart, root face ") +
                n(s.offset) + QStringLiteral(" mm from XY, tip face ") + n(s.span) +
                QStringLiteral(" mm further"),
            QStringLiteral("kerf ") + n(s.kerf) + QStringLiteral(" mm, tip turned ") + n(s.turn) +
                QStringLiteral(" deg about ") + n(s.pivot) + QStringLiteral(" %, sweep ") +
                n(s.sweep) + QStringLiteral(" mm, feed ") + n(s.feed) +
                QStringLiteral(" mm/min on either face"),
            QStringLiteral("origin: root leading edge on its chord line; X and U along the chord, "
                           "Y and V up"),
            s.feedMode == HotWire::FeedMode::InverseTime
                ? QStringLiteral("F: inverse time [G93], each cutting move lasts 1/F minutes")
                : QStringLiteral("F: mm/min along X, Y, U and V together")};
}

QByteArray templateFile(const Ends &ends, const HotWire::Settings &settings,
                        const VectorExport::Options &options, QString *error)
{
    std::vector<RibVectors::Rib> ribs = templates(ends, settings.kerf, settings.lead);
    if (ribs.size() != 2) {
        *error = Language::pick(QStringLiteral("Le contour du noyau ne se découpe pas."),
                                QStringLiteral("The core's outline cannot be cut."));
        return {};
    }
    return VectorExport::bytes(VectorExport::arrange(std::move(ribs), options), options.format,
                               error);
}

} // namespace FoamCores
