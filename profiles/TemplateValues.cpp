#include "profiles/TemplateValues.h"

#include "numbers/NumberText.h"
#include "profiles/LineValues.h"

#include <climits>
#include <cmath>

int TemplateValues::skinFromValue(int value)
{
    static const int shortForms[4] = {5, 8, 10, 15};
    return value >= 0 && value <= 3 ? shortForms[value] : value;
}

bool readWholeNumber(QStringView text, int &out)
{
    const double v = ParseDecimal(0, text);
    if (IsParseError(v) || !(v >= double(INT_MIN) && v <= double(INT_MAX)))
        return false;
    out = int(std::lround(v));
    return true;
}

QString readTemplateValues(const Tprofil::Template &tpl, TemplateValues &out)
{
    out = TemplateValues();
    // "GABARIT " and "FIGURE " come before the values.
    QStringView rest = QStringView(tpl.line).mid(8);
    // A chord of 0 or less has no scale to draw at; one beyond the limit
    // would take the drawing and the export for ever.
    if (!readWholeNumber(takeValue(rest), out.chord) ||
        !readWholeNumber(takeValue(rest), out.skinValue) || out.chord <= 0 ||
        out.chord > TemplateValues::kMaxChord)
        return tpl.line;
    out.figures.reserve(tpl.gabarit.figureLines.size());
    for (const QString &line : tpl.gabarit.figureLines) {
        QStringView values = QStringView(line).mid(7);
        std::array<int, 6> row{};
        for (int &v : row) {
            if (!readWholeNumber(takeValue(values), v))
                return line;
        }
        out.figures.push_back(row);
    }
    return QString();
}
