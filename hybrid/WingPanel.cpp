// The ribs of a tapered wing panel: blended airfoils, straight taper and
// washout, figures carried from root to tip.
#include "hybrid/WingPanel.h"

#include "geometry/OutlineCurves.h"
#include "numbers/NumberText.h"
#include "profiles/ProfileStore.h"
#include "profiles/TemplateValues.h"
#include "ui/Language.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{

QString skinText(int tenths)
{
    return QString::number(tenths) + QStringLiteral("/10 mm");
}

// One end of the panel as read from the store.
struct End {
    HybridSurfaces profile;
    int chord = 0;
    int skin = 0;
    std::vector<FigureRow> figures;
};

int findByName(const ProfileStore &store, const QString &name)
{
    const QStringList names = store.names();
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// Reads one end; the error text when it cannot be used.
QString readEnd(const ProfileStore &store, const PanelEnd &end, bool root, End &out)
{
    const int p = findByName(store, end.profile);
    if (p < 0)
        return root ? Language::pick(QStringLiteral("Profil d'emplanture introuvable : "),
                                     QStringLiteral("Root airfoil not found: ")) +
                          end.profile
                    : Language::pick(QStringLiteral("Profil du saumon introuvable : "),
                                     QStringLiteral("Tip airfoil not found: ")) +
                          end.profile;
    const QString name = store.name(p);
    const Tprofil *pr = store.profile(p);
    auto unreadable = [&](const QString &line) {
        return Language::pick(
            QStringLiteral("Le profil ") + name + QStringLiteral(" ne peut pas être lu : ligne <") +
                line + QStringLiteral(">"),
            QStringLiteral("Airfoil ") + name + QStringLiteral(" cannot be read: line <") + line +
                QStringLiteral(">"));
    };
    const int points = int(pr->pointLines.size());
    if (points < 2 || points > kMaxProfilePoints)
        return Language::pick(
            QStringLiteral("Le profil ") + name + QStringLiteral(" compte ") +
                QString::number(points) + QStringLiteral(" points : il en faut de 2 à 512."),
            QStringLiteral("Airfoil ") + name + QStringLiteral(" has ") + QString::number(points) +
                QStringLiteral(" points: 2 to 512 are needed."));
    if (!HybridBlend::readProfile(pr->pointLines, HybridBlend::Side::Tip, out.profile)) {
        // Name the first line that does not read.
        auto one = std::make_unique<HybridSurfaces>();
        for (const QString &line : pr->pointLines) {
            if (!HybridBlend::readProfile({line}, HybridBlend::Side::Tip, *one))
                return unreadable(line);
        }
    }

    if (end.templ < 0 || end.templ >= pr->templateCount())
        return Language::pick(
            QStringLiteral("Le profil ") + name + QStringLiteral(" n'a pas de gabarit n° ") +
                QString::number(end.templ + 1),
            QStringLiteral("Airfoil ") + name + QStringLiteral(" has no template # ") +
                QString::number(end.templ + 1));
    const Tprofil::Template &tpl = pr->templates[size_t(end.templ)];
    TemplateValues values;
    const QString badLine = readTemplateValues(tpl, values);
    if (!badLine.isNull())
        return unreadable(badLine);
    if (values.figures.size() > kMaxFigures)
        return unreadable(tpl.gabarit.figureLines[kMaxFigures]);
    out.chord = values.chord;
    out.skin = values.skin();
    out.figures = values.figures;
    return QString();
}

bool sameFigureKinds(const std::vector<FigureRow> &a, const std::vector<FigureRow> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i][FigKind] != b[i][FigKind])
            return false;
    }
    return true;
}

int roundInt(double v)
{
    return int(std::lround(v));
}

// A figure at fraction f between its root and tip forms: the centre, the
// size and the angle (the shorter way round) follow straight lines in
// millimetres.
FigureRow interpolateFigure(const FigureRow &r, const FigureRow &t, double f)
{
    auto lerp = [f](double a, double b) { return a + (b - a) * f; };
    const double cx = lerp((r[FigX1] + r[FigX2]) * 0.5, (t[FigX1] + t[FigX2]) * 0.5);
    const double cy = lerp((r[FigY1] + r[FigY2]) * 0.5, (t[FigY1] + t[FigY2]) * 0.5);
    const int w = roundInt(lerp(r[FigX2] - r[FigX1], t[FigX2] - t[FigX1]));
    const int h = roundInt(lerp(r[FigY2] - r[FigY1], t[FigY2] - t[FigY1]));
    FigureRow out = r;
    out[FigX1] = roundInt(cx - w * 0.5);
    out[FigX2] = out[FigX1] + w;
    out[FigY1] = roundInt(cy - h * 0.5);
    out[FigY2] = out[FigY1] + h;
    double turn = std::fmod(double(t[FigAngle]) - double(r[FigAngle]), 360.0);
    if (turn > 180)
        turn -= 360;
    else if (turn < -180)
        turn += 360;
    out[FigAngle] = roundInt(r[FigAngle] + turn * f);
    return out;
}

// The root's figures moved to a template of another length, as a new
// template copies them: the centres scale with the length, the sizes stay.
std::vector<FigureRow> carryByChord(const std::vector<FigureRow> &figures, int oldLength,
                                    int newLength)
{
    if (oldLength <= 0)
        return figures;
    std::vector<FigureRow> out = figures;
    for (FigureRow &row : out) {
        const long long cx = (row[FigX1] + (long long)row[FigX2]) / 2;
        const long long cy = (row[FigY1] + (long long)row[FigY2]) / 2;
        const long long hw = (row[FigX2] - (long long)row[FigX1]) / 2;
        const long long hh = (row[FigY2] - (long long)row[FigY1]) / 2;
        const long long ncx = cx * newLength / oldLength;
        const long long ncy = cy * newLength / oldLength;
        row[FigX1] = int(ncx - hw);
        row[FigY1] = int(ncy - hh);
        row[FigX2] = int(ncx + hw);
        row[FigY2] = int(ncy + hh);
    }
    return out;
}

} // namespace

QString WingPanel::questionReplace(const QString &panel, int count)
{
    return Language::pick(
        QStringLiteral("Le panneau ") + panel + QStringLiteral(" a déjà ") +
            QString::number(count) +
            QStringLiteral(" nervure(s) dans la base. Voulez-vous les remplacer ?"),
        QStringLiteral("Panel ") + panel + QStringLiteral(" already has ") +
            QString::number(count) + QStringLiteral(" rib(s) in the database. Replace them?"));
}

std::optional<std::vector<double>> WingPanel::parseStations(const QString &text)
{
    std::vector<double> out;
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    for (const QString &part : text.split(separators, Qt::SkipEmptyParts)) {
        const double v = ParseDecimal(3, part);
        if (IsParseError(v))
            return std::nullopt;
        out.push_back(v);
    }
    return out;
}

WingPanel::Result WingPanel::compute(const PanelInputs &in, const ProfileStore &store)
{
    Result result;
    auto refuse = [&](const QString &fr, const QString &en) {
        result.error = Language::pick(fr, en);
        return result;
    };
    if (in.name.trimmed().isEmpty())
        return refuse(QStringLiteral("Vous devez donner un nom au panneau."),
                      QStringLiteral("Please give the panel a name."));
    auto endFailed = [&](const QString &error) {
        result.error = error;
        return result;
    };
    End root, tip;
    if (QString e = readEnd(store, in.root, true, root); !e.isEmpty())
        return endFailed(e);
    if (QString e = readEnd(store, in.tip, false, tip); !e.isEmpty())
        return endFailed(e);
    if (!(in.span > 0) || in.span > kMaxSpan)
        return refuse(
            QStringLiteral("L'envergure du panneau doit être comprise entre 0 et 100000 mm "
                           "(0 exclu)."),
            QStringLiteral("The panel's span must lie above 0 and up to 100000 mm."));

    // The stations, as fractions of the span.
    std::vector<double> stations;
    std::vector<double> fractions;
    const int count = in.stations.empty() ? in.ribCount : int(in.stations.size());
    if (count < 2)
        return refuse(QStringLiteral("Un panneau compte au moins 2 nervures."),
                      QStringLiteral("A panel needs at least 2 ribs."));
    if (count > kMaxRibs)
        return refuse(QStringLiteral("Un panneau compte au plus 999 nervures."),
                      QStringLiteral("A panel has at most 999 ribs."));
    if (in.stations.empty()) {
        for (int i = 0; i < count; ++i) {
            fractions.push_back(double(i) / double(count - 1));
            stations.push_back(in.span * fractions.back());
        }
    } else {
        double previous = -1;
        for (double d : in.stations) {
            if (!(d >= 0 && d <= in.span && d > previous))
                return refuse(QStringLiteral("Les positions des nervures doivent croître de 0 à "
                                             "l'envergure (") +
                                  QString::number(in.span, 'g', 7) + QStringLiteral(" mm)."),
                              QStringLiteral("Rib stations must increase from 0 up to the span (") +
                                  QString::number(in.span, 'g', 7) + QStringLiteral(" mm)."));
            previous = d;
            stations.push_back(d);
            fractions.push_back(d / in.span);
        }
    }
    if (root.skin != tip.skin && !in.mixedSkins)
        return refuse(QStringLiteral("Le coffrage de l'emplanture (") + skinText(root.skin) +
                          QStringLiteral(") et celui du saumon (") + skinText(tip.skin) +
                          QStringLiteral(") diffèrent : acceptez un coffrage variable pour les "
                                         "mélanger."),
                      QStringLiteral("The root skin (") + skinText(root.skin) +
                          QStringLiteral(") and the tip skin (") + skinText(tip.skin) +
                          QStringLiteral(") differ: allow a varying skin to blend them."));

    const bool interpolateFigures = sameFigureKinds(root.figures, tip.figures);
    const int rootLength = root.chord - root.skin / 10;
    result.ribs.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        PanelRib &rib = result.ribs[size_t(i)];
        const double f = fractions[size_t(i)];
        auto lerp = [f](double a, double b) { return a + (b - a) * f; };
        rib.number = i + 1;
        rib.station = stations[size_t(i)];
        rib.percent = f * 100.0;
        rib.chord = lerp(root.chord, tip.chord);
        rib.chordMm = std::max(1, roundInt(rib.chord));
        rib.incidence = lerp(in.root.angle, in.tip.angle);
        rib.skin = roundInt(lerp(root.skin, tip.skin));
        // The end ribs are the root and the tip themselves.
        if (f == 0)
            rib.profile = root.profile;
        else if (f == 1)
            rib.profile = tip.profile;
        else
            HybridBlend::BlendProfiles(root.profile, tip.profile, rib.percent, rib.profile);

        if (f == 0) {
            rib.figures = root.figures;
        } else if (f == 1) {
            rib.figures = tip.figures;
        } else if (interpolateFigures) {
            for (size_t k = 0; k < root.figures.size(); ++k)
                rib.figures.push_back(interpolateFigure(root.figures[k], tip.figures[k], f));
        } else {
            rib.figures = carryByChord(root.figures, rootLength, rib.chordMm - rib.skin / 10);
        }
    }
    return result;
}

QString WingPanel::ribName(const QString &panel, int number, int count)
{
    QString name = panel.trimmed();
    // Only ASCII letters are put in capitals, as the database reads names.
    for (QChar &c : name) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    }
    const int digits = count > 99 ? 3 : 2;
    return name + QStringLiteral(" N") +
           QStringLiteral("%1").arg(number, digits, 10, QLatin1Char('0'));
}

QStringList WingPanel::earlierRibs(const ProfileStore &store, const QString &panel)
{
    const QRegularExpression rib(QStringLiteral("^") +
                                     QRegularExpression::escape(ribName(panel, 0, 0).chopped(4)) +
                                     QStringLiteral(" N\\d{2,3}$"),
                                 QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (const QString &name : store.names()) {
        if (rib.match(name).hasMatch())
            found << name;
    }
    return found;
}

QString WingPanel::templateLine(const PanelRib &rib)
{
    return QStringLiteral("GABARIT ") + QString::number(rib.chordMm) + QLatin1Char(';') +
           QString::number(rib.skin) + QLatin1Char(';');
}

QStringList WingPanel::figureLines(const PanelRib &rib)
{
    QStringList lines;
    for (const FigureRow &row : rib.figures) {
        QString line = QStringLiteral("FIGURE ");
        for (int v : row)
            line += QString::number(v) + QLatin1Char(';');
        lines << line;
    }
    return lines;
}

QString WingPanel::store(ProfileStore &store, const QString &panel,
                         const std::vector<PanelRib> &ribs)
{
    for (const QString &name : earlierRibs(store, panel))
        store.DeleteProfile(store.names().indexOf(name));
    const int count = int(ribs.size());
    for (const PanelRib &rib : ribs) {
        const int p = store.AddProfile(ribName(panel, rib.number, count));
        for (const QString &line : HybridBlend::pointLines(rib.profile))
            store.AddPointLine(p, line);
        const int t = store.AddTemplate(p, templateLine(rib));
        for (const QString &line : figureLines(rib))
            store.AddFigureLine(p, t, line);
    }
    store.setSaveEnabled(true);
    return ribs.empty() ? QString() : ribName(panel, ribs.front().number, count);
}

double WingPanel::relativeThickness(const PanelRib &rib)
{
    // The rib as the drawing window reads it back from the store.
    auto stored = std::make_unique<HybridSurfaces>();
    if (!HybridBlend::readProfile(HybridBlend::pointLines(rib.profile), HybridBlend::Side::Tip,
                                  *stored) ||
        stored->lastIndex < 1)
        return 0;
    constexpr float kChordPixels = 4000;
    auto view = std::make_unique<ViewGeometry>();
    view->mode = OutputMode::Preview;
    view->scale = kChordPixels / float(rib.chordMm);
    view->pointScale = kChordPixels * 0.01f;
    view->originX = 50;
    view->originY = 1000;
    for (int i = 0; i <= stored->lastIndex; ++i) {
        view->upperView[i] = {50 + view->pointScale * stored->upper[i].x,
                              1000 + view->pointScale * stored->upper[i].y};
        view->lowerView[i] = {50 + view->pointScale * stored->lower[i].x,
                              1000 + view->pointScale * stored->lower[i].y};
    }
    auto curves = std::make_unique<OutlineCurves>();
    curves->scanCamber(*view, stored->lastIndex, nullptr, false, QColor());
    return double(curves->maxThickness) * 100.0 / double(kChordPixels);
}

void WingPanel::storeForCutting(ProfileStore &store, const QString &panel,
                                const std::vector<PanelRib> &ribs,
                                std::vector<std::pair<int, int>> *picks,
                                std::vector<double> *chords)
{
    WingPanel::store(store, panel, ribs);
    const int count = int(ribs.size());
    picks->clear();
    chords->clear();
    for (const PanelRib &rib : ribs) {
        picks->emplace_back(int(store.names().indexOf(ribName(panel, rib.number, count))), 0);
        chords->push_back(cutChord(rib));
    }
}

double WingPanel::cutChord(const PanelRib &rib)
{
    return std::round(rib.chord * 100.0) / 100.0;
}

QStringList WingPanel::roundedChords(const QString &panel, const std::vector<PanelRib> &ribs)
{
    QStringList out;
    const int count = int(ribs.size());
    for (const PanelRib &rib : ribs) {
        const double exact = cutChord(rib);
        if (exact != double(rib.chordMm))
            out << ribName(panel, rib.number, count) + QLatin1Char(' ') +
                       QString::number(exact, 'g', 10) + QStringLiteral(" -> ") +
                       QString::number(rib.chordMm) + QStringLiteral(" mm");
    }
    return out;
}
