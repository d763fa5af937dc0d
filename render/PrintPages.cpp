#include "render/PrintPages.h"

#include "ui/Language.h"

#include <algorithm>
#include <cmath>

namespace PrintPages
{

float reach(bool portrait, int pages)
{
    if (pages <= 1)
        return sheetWidth(portrait);
    return sheetWidth(portrait) - kFirstLead + float(pages - 1) * pageStep(portrait);
}

int pageCount(float chord, bool portrait)
{
    if (!(chord > (portrait ? 190.0f : 277.1f)))
        return 1;
    int pages = 2;
    while (pages < kMaxPages && chord + kTailRoom > reach(portrait, pages))
        ++pages;
    return pages;
}

Plan orientationChange(float chord, bool portrait)
{
    Plan plan;
    plan.portrait = portrait && !(chord > kMaxPortraitChord);
    plan.pageCount = pageCount(chord, plan.portrait);
    return plan;
}

Plan initialPlan(float chord)
{
    const bool portrait = !(chord > 190.0f) || (chord > 277.0f && !(chord > 380.0f));
    return orientationChange(chord, portrait);
}

PageSetup pageSetup(float chord, const Plan &plan, int page)
{
    PageSetup s;
    s.originYmm = kOriginY;
    s.pageCount = plan.pageCount;
    s.portrait = plan.portrait;
    if (plan.pageCount <= 1) {
        // Whole millimetres, the division truncating toward zero.
        const long long c = std::isfinite(chord) ? (long long)std::clamp(chord, -1e9f, 1e9f) : 0;
        s.originXmm = float(((long long)sheetWidth(plan.portrait) - c) / 2);
    } else {
        const int p = std::clamp(page, 1, plan.pageCount);
        s.originXmm = kFirstLead - float(p - 1) * pageStep(plan.portrait);
    }
    return s;
}

Span pageSpan(float chord, const Plan &plan, int page)
{
    const float origin = pageSetup(chord, plan, page).originXmm;
    return {-origin, sheetWidth(plan.portrait) - origin};
}

QString proposedTitle(const QString &profileName)
{
    return Language::pick(QStringLiteral("Profil  "), QStringLiteral("Airfoil  ")) + profileName;
}

QString proposedLabel(double chordMm, float skinTenths)
{
    // The pattern "0": rounded, no decimals. A chord keeps its hundredths
    // when it has some (a panel's ribs).
    const QString skin = QString::number(double(skinTenths), 'f', 0);
    const QString chord = QString::number(std::round(chordMm * 100.0) / 100.0, 'g', 10);
    return Language::pick(QStringLiteral("Corde ") + chord + QStringLiteral("mm     Coffrage ") +
                              skin + QStringLiteral("/10 mm"),
                          QStringLiteral("Chord ") + chord + QStringLiteral("mm     Skin ") + skin +
                              QStringLiteral("/10 mm"));
}

QString pageHeader(int page, int pageCount)
{
    return QStringLiteral("Page ") + QString::number(page) + QStringLiteral(" / ") +
           QString::number(pageCount);
}

} // namespace PrintPages
