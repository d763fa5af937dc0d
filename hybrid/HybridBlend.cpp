// The blend of a root and a tip profile into a hybrid profile, and the
// computation behind the hybrid dialog's "Calculer et Afficher".
#include "hybrid/HybridBlend.h"

#include "numbers/NumberText.h"
#include "profiles/LineValues.h"
#include "profiles/ProfileStore.h"
#include "ui/Prompts.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <vector>

const QString HybridBlend::kNoName = QString::fromUtf8(
    QT_TRANSLATE_NOOP("HybridBlend", "Vous devez donner un nom au profil hybride"));
const QString HybridBlend::kNoSkin = QString::fromUtf8(
    QT_TRANSLATE_NOOP("HybridBlend", "Vous avez oublié de choisir l'épaisseur du coffrage"));
const QString HybridBlend::kThinSkin = QString::fromUtf8(QT_TRANSLATE_NOOP(
    "HybridBlend", "Un coffrage de moins de 4/10 mm ne peut pas être enregistré."));
const QString HybridBlend::kReplace = QString::fromUtf8(QT_TRANSLATE_NOOP(
    "HybridBlend", "Le nom du profil saisi existe déja. Voulez vous le remplacer?"));
const QString HybridBlend::kNoRoot = QString::fromUtf8(
    QT_TRANSLATE_NOOP("HybridBlend", "Aucun profil d'emplanture n'est sélectionné."));
const QString HybridBlend::kNoTip = QString::fromUtf8(
    QT_TRANSLATE_NOOP("HybridBlend", "Aucun profil de saumon n'est sélectionné."));

QString HybridBlend::said(const QString &text)
{
    return QCoreApplication::translate("HybridBlend", text.toUtf8().constData());
}

QString HybridBlend::tooManyPoints(const QString &profile)
{
    return QCoreApplication::translate(
               "HybridBlend",
               "Le profil %1 compte plus de 512 points : il ne peut pas être mélangé.")
        .arg(profile);
}

QString HybridBlend::noPoints(const QString &profile)
{
    return QCoreApplication::translate("HybridBlend", "Le profil %1 n'a aucun point.").arg(profile);
}

// ---- Texts ---------------------------------------------------------------

QString HybridText::picture(const QString &pict, double value, QChar decimalPoint)
{
    // Tenths, halves away from zero, as the pictures round.
    const double tenths = std::round(std::fabs(value) * 10.0);
    if (tenths == 0)
        return pict.startsWith(QLatin1Char('0')) ? QStringLiteral("0") : QString();
    const long long whole = (long long)(tenths / 10);
    const int decimal = int(tenths - double(whole) * 10);
    QString text;
    if (value < 0)
        text += QLatin1Char('-');
    if (whole != 0 || pict.startsWith(QLatin1Char('0')))
        text += QString::number(whole);
    if (decimal != 0)
        text += decimalPoint + QString::number(decimal);
    return text;
}

QString HybridText::automaticName(const QString &root, const QString &tip, int percent)
{
    return root + QLatin1Char('(') + QString::number(100 - percent) + QStringLiteral("%)_") + tip +
           QLatin1Char('(') + QString::number(percent) + QStringLiteral("%)");
}

// ---- Reading -------------------------------------------------------------

bool HybridBlend::readProfile(const QStringList &pointLines, Side side, HybridSurfaces &into)
{
    const int count = int(pointLines.size());
    if (count == 0 || count > kMaxProfilePoints)
        return false;
    bool ok = true;
    for (int k = 0; k < count; ++k) {
        QStringView rest(pointLines[k]);
        float *fields[4] = {&into.upper[k].x, &into.upper[k].y, &into.lower[k].x, &into.lower[k].y};
        for (int f = 0; f < 4; ++f) {
            QStringView after = rest;
            const double v = ParseDecimal(2, takeValue(after));
            if (IsParseError(v)) {
                ok = false;
                // The root's reader stays on the failing value, so the rest
                // of the line fails with it; the tip's reader moves past it.
                if (side == Side::Tip)
                    rest = after;
                continue;
            }
            rest = after;
            // y is held negated, positive downward (a zero stays unsigned).
            *fields[f] = (f % 2 == 1 && v != 0) ? float(-v) : float(v);
        }
    }
    into.lastIndex = count - 1;
    return ok;
}

// ---- Blend ---------------------------------------------------------------

float HybridBlend::interpolate(float x, float x0, float y0, float x1, float y1)
{
    const float dx = x1 - x0;
    if (std::fabs(dx) < 0.000001f)
        return y0;
    const float dy = y1 - y0;
    const float along = x - x0;
    const float step = dy * along;
    return y0 + step / dx;
}

namespace
{

// The height of a surface at x with its cursor at c: between the point
// before the cursor and the cursor's point. Before the first point the
// surface starts at its first height; once its last point was passed it
// keeps its last height.
float heightAt(const FPoint *s, int c, bool passedEnd, float x)
{
    if (c == 0 || (passedEnd && x >= s[c].x))
        return s[c].y;
    return HybridBlend::interpolate(x, s[c - 1].x, s[c - 1].y, s[c].x, s[c].y);
}

// One surface of the blend: the union of the root's and the tip's stations,
// each y the weighted mean of both surfaces at that station. The last
// stations of both are left to the closing point.
std::vector<FPoint> blendSurface(const FPoint *r, int nR, const FPoint *t, int nT, float wR,
                                 float wT)
{
    std::vector<FPoint> h;
    int j = 0, i = 0;
    // Set once a surface's last station went into the blend: the walk then
    // goes on with the other surface's stations alone, instead of taking
    // that last station again and again.
    bool rootPassed = false, tipPassed = false;
    do {
        const FPoint rp = r[j], tp = t[i];
        if (!rootPassed && !tipPassed && rp.x == tp.x) {
            h.push_back({rp.x, rp.y * wR + tp.y * wT});
            rootPassed = j == nR;
            tipPassed = i == nT;
            if (j < nR)
                ++j;
            if (i < nT)
                ++i;
        } else if (tipPassed || (!rootPassed && rp.x < tp.x)) {
            const float tipY = heightAt(t, i, tipPassed, rp.x);
            h.push_back({rp.x, tipY * wT + rp.y * wR});
            rootPassed = j == nR;
            if (j < nR)
                ++j;
        } else {
            const float rootY = heightAt(r, j, rootPassed, tp.x);
            h.push_back({tp.x, rootY * wR + tp.y * wT});
            tipPassed = i == nT;
            if (i < nT)
                ++i;
        }
        // Each step moves a cursor or passes a last station, so the walk
        // takes at most nR + nT + 2 steps; the bound only guards that.
    } while (!(j == nR && i == nT) && h.size() < size_t(nR) + size_t(nT) + 2);

    // The trailing edge of a hybrid is always closed.
    if (!(h.back().x == 100.0f && h.back().y == 0.0f))
        h.push_back({100.0f, 0.0f});

    // More stations than the working arrays hold (two fine profiles with
    // different stations): keep an even selection of them, the leading and
    // trailing edges included, rather than cutting the surface short.
    const size_t cap = kMaxProfilePoints;
    if (h.size() > cap) {
        std::vector<FPoint> kept(cap);
        const size_t last = h.size() - 1;
        for (size_t k = 0; k < cap; ++k)
            kept[k] = h[(k * last + (cap - 1) / 2) / (cap - 1)];
        kept.front() = h.front();
        kept.back() = h.back();
        h.swap(kept);
    }
    return h;
}

} // namespace

namespace
{
void blendWeighted(const HybridSurfaces &root, const HybridSurfaces &tip, float wR, float wT,
                   HybridSurfaces &out)
{
    const std::vector<FPoint> up =
        blendSurface(root.upper.data(), root.lastIndex, tip.upper.data(), tip.lastIndex, wR, wT);
    const std::vector<FPoint> low =
        blendSurface(root.lower.data(), root.lastIndex, tip.lower.data(), tip.lastIndex, wR, wT);
    const int n = int(std::max(up.size(), low.size()));
    for (int k = 0; k < n; ++k) {
        out.upper[k] = up[std::min<size_t>(k, up.size() - 1)];
        out.lower[k] = low[std::min<size_t>(k, low.size() - 1)];
    }
    out.lastIndex = n - 1;
}
} // namespace

void HybridBlend::BlendProfiles(const HybridSurfaces &root, const HybridSurfaces &tip, int percent,
                                HybridSurfaces &out)
{
    if (root.lastIndex < 0 || tip.lastIndex < 0) {
        out.lastIndex = -1;
        return;
    }
    percent = std::clamp(percent, 0, 100);
    const float wT = percent == 100 ? 1.0f : float(percent) * 0.01f;
    const float wR = percent == 100 ? 0.0f : 1.0f - wT;
    blendWeighted(root, tip, wR, wT, out);
}

void HybridBlend::BlendProfiles(const HybridSurfaces &root, const HybridSurfaces &tip,
                                double percent, HybridSurfaces &out)
{
    if (root.lastIndex < 0 || tip.lastIndex < 0) {
        out.lastIndex = -1;
        return;
    }
    // Not a number counts as the root.
    percent = percent > 0 ? std::min(percent, 100.0) : 0.0;
    const float wT = percent == 100 ? 1.0f : float(percent * 0.01);
    const float wR = percent == 100 ? 0.0f : 1.0f - wT;
    blendWeighted(root, tip, wR, wT, out);
}

QStringList HybridBlend::pointLines(const HybridSurfaces &profile)
{
    // y goes back to the sign it has in the file; a zero stays unsigned.
    auto value = [](float v, bool negate) {
        const double d = negate ? (v == 0 ? 0.0 : -double(v)) : double(v);
        return FormatNumber(u"###,##", 1, d) + QLatin1Char(';');
    };
    QStringList lines;
    for (int k = 0; k <= profile.lastIndex; ++k)
        lines << value(profile.upper[k].x, false) + value(profile.upper[k].y, true) +
                     value(profile.lower[k].x, false) + value(profile.lower[k].y, true);
    return lines;
}

QString HybridBlend::sameName(const ProfileStore &store, const QString &name)
{
    for (const QString &n : store.names()) {
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    }
    return QString();
}

// ---- Computation ---------------------------------------------------------

HybridBlend::Outcome HybridBlend::compute(const HybridInputs &in, ProfileStore &store)
{
    Prompts &prompts = Prompts::current();
    Outcome refused;
    if (in.name == QLatin1String("sans nom")) {
        prompts.message(said(kNoName));
        return refused;
    }
    if (in.skin == 0) {
        prompts.message(said(kNoSkin));
        return refused;
    }
    if (in.skin < kMinSkin) {
        prompts.message(said(kThinSkin));
        return refused;
    }
    const int existing = store.FindProfile(in.name);
    if (existing >= 0) {
        if (!prompts.confirm(said(kReplace)))
            return refused;
        store.DeleteProfile(existing);
        store.setSaveEnabled(true);
    }
    const int r = store.FindProfile(in.rootText);
    if (r < 0) {
        prompts.message(said(kNoRoot));
        refused.focus = Focus::Root;
        return refused;
    }
    const int t = store.FindProfile(in.tipText);
    if (t < 0) {
        prompts.message(said(kNoTip));
        refused.focus = Focus::Tip;
        return refused;
    }

    const float f = float(in.percent) * 0.01f;
    rootChord = float(in.rootChord);
    tipChord = float(in.tipChord);
    if (in.automaticChord) {
        hybridChord = rootChord + (tipChord - rootChord) * f;
        hybridAngle = float(in.rootAngle) + float(in.tipAngle - in.rootAngle) * f;
    } else {
        hybridChord = float(in.hybridChordSpinner);
        hybridAngle = float(in.hybridAngleSpinner);
    }

    refused.chordsComputed = true;
    // Profiles the working arrays cannot hold are refused with a word.
    for (const auto &[p, focus] : {std::pair{r, Focus::Root}, std::pair{t, Focus::Tip}}) {
        const int lines = int(store.profile(p)->pointLines.size());
        if (lines == 0 || lines > kMaxProfilePoints) {
            prompts.message(lines == 0 ? noPoints(store.name(p)) : tooManyPoints(store.name(p)));
            refused.focus = focus;
            return refused;
        }
    }
    bool ok = readProfile(store.profile(r)->pointLines, Side::Root, root);
    ok = readProfile(store.profile(t)->pointLines, Side::Tip, tip) && ok;
    Outcome done;
    done.ok = ok;
    done.chordsComputed = true;
    return done;
}
