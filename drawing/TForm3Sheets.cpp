// The print preview's sheets drawn by their owner (a kit's parts, a plan):
// shown and printed as a template's pages are, one job for all of them.
#include "drawing/TForm3.h"

#include "ui/Language.h"
#include "ui/Prompts.h"

#include <algorithm>
#include <cmath>

QSizeF TForm3::printableMm(bool portrait)
{
    QPageLayout layout = printer().pageLayout();
    layout.setOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    return layout.paintRect(QPageLayout::Millimeter).size();
}

void TForm3::startSheets(const SheetSeries &sheets)
{
    m_sheets = sheets;
    m_plan.portrait = sheets.portrait;
    m_plan.pageCount = std::max(1, sheets.count);
    m_currentPage = 1;
    // The orientation belongs to the layout of the sheets; the titles are
    // on the sheets themselves.
    RadioGroup1->setItemIndex(sheets.portrait ? 0 : 1);
    for (QWidget *w : std::initializer_list<QWidget *>{RadioGroup1, Edit3, Edit4})
        w->setEnabled(false);
    showPageButtons();
    PreparePage();
    renderPreview();
}

QString TForm3::printedPageMessage() const
{
    return Language::pick(QStringLiteral("Impression envoyée : page %1 / %2."),
                          QStringLiteral("Printed: page %1 / %2."))
        .arg(m_currentPage)
        .arg(m_plan.pageCount);
}

bool TForm3::fitSheetsToPaper(bool *changed)
{
    *changed = false;
    const QSizeF area = printableMm(m_sheets.portrait);
    auto near = [](double a, double b) { return std::abs(a - b) < 0.05; };
    if (!m_sheets.relayout ||
        (near(area.width(), m_sheets.area.width()) && near(area.height(), m_sheets.area.height())))
        return true;
    SheetSeries again;
    QString error;
    if (!m_sheets.relayout(area, &again, &error) || again.count <= 0) {
        Prompts::current().message(error);
        return false;
    }
    again.area = area;
    again.relayout = m_sheets.relayout;
    startSheets(again);
    *changed = true;
    return true;
}

void TForm3::leaveSheets()
{
    m_sheets = {};
    for (QWidget *w : std::initializer_list<QWidget *>{RadioGroup1, Edit3, Edit4})
        w->setEnabled(true);
}

bool TForm3::printSheets(int first, int last)
{
    printer().setPageOrientation(m_sheets.portrait ? QPageLayout::Portrait
                                                   : QPageLayout::Landscape);
    // One sheet a series item, so that many pages print under the progress
    // dialog as many templates do.
    const PrintPages::Plan one{m_sheets.portrait, 1};
    return printJob(
        last - first + 1,
        [&](int i) {
            SeriesItem item;
            item.sheet = first - 1 + i;
            return PrintItem{item, one};
        },
        1, 1, false);
}
