// Selection of a profile and template into the working data, storing the
// template back, and the view events.
#include "render/TemplateDrawing.h"

#include "numbers/NumberText.h"
#include "profiles/LineValues.h"
#include "profiles/ProfileStore.h"
#include "profiles/TemplateValues.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

int skinItem(int thickness)
{
    switch (thickness) {
    case 5:
        return 0;
    case 8:
        return 1;
    case 10:
        return 2;
    case 15:
        return 3;
    default:
        return ViewState::kSkinOther;
    }
}

} // namespace

TemplateDrawing::TemplateDrawing(ProfileStore *store) : m_store(store)
{
    Q_ASSERT(store);
    createImage(QSize(0, 0));
}

void TemplateDrawing::createImage(QSize paintBoxSize)
{
    m_image = QImage(std::max(paintBoxSize.width(), 0) + 8, std::max(paintBoxSize.height(), 1),
                     QImage::Format_RGB32);
    m_image.fill(DrawingColours::background);
}

// A profile with more point lines than the working arrays hold (possible in
// a hand-edited database) is refused before anything is read: the data error
// flag is set, as for any profile that cannot be drawn.
bool TemplateDrawing::refuseOverlongProfile(int p)
{
    const Tprofil *pr = m_store->profile(p);
    if (pr->pointLines.size() <= kMaxProfilePoints)
        return false;
    const QString name = m_store->name(p);
    const QString n = QString::number(pr->pointLines.size());
    m_store->dataError = true;
    Prompts::current().message(
        Language::pick(QStringLiteral("Le profil ") + name + QStringLiteral(" compte ") + n +
                           QStringLiteral(" points : 512 au plus peuvent être dessinés."),
                       QStringLiteral("Airfoil ") + name + QStringLiteral(" has ") + n +
                           QStringLiteral(" points: at most 512 can be drawn.")));
    return true;
}

// A selection that stops before its template is read leaves no template
// current: the next StoreTemplate then writes nothing, so the figures still
// in the working data can never land on another profile's template. The
// profile stays the current one in the store and in the combo, its figure
// tools are hidden, and the image no longer shows the previous profile.
void TemplateDrawing::stopSelection(int p)
{
    m_store->currentProfile = p;
    m_store->currentTemplate = -1;
    m_view.cb1ItemIndex = p;
    m_view.cb2ItemIndex = -1;
    m_view.figureButtonsVisible = false;
    m_work.lastFigure = -1;
    m_work.currentFigure = -1;
    m_laidOut = false;
    m_image.fill(DrawingColours::background);
}

// The template's line and figure lines as whole numbers; on the first value
// that is not one, the message names the line and false is returned.
bool TemplateDrawing::readTemplate(int p, int t, int &chord, int &skinValue)
{
    const Tprofil::Template &tpl = m_store->profile(p)->templates[t];
    const QString name = m_store->name(p);
    const QString number = QString::number(t + 1);
    auto refuse = [&](const QString &line) {
        Prompts::current().message(Language::pick(
            QStringLiteral("Le gabarit n° ") + number + QStringLiteral(" du profil ") + name +
                QStringLiteral(" ne peut pas être dessiné : ligne <") + line + QStringLiteral(">"),
            QStringLiteral("Template # ") + number + QStringLiteral(" of airfoil ") + name +
                QStringLiteral(" cannot be drawn: line <") + line + QStringLiteral(">")));
        return false;
    };
    if (tpl.gabarit.figureLines.size() > kMaxFigures) {
        const QString n = QString::number(tpl.gabarit.figureLines.size());
        Prompts::current().message(
            Language::pick(QStringLiteral("Le gabarit n° ") + number +
                               QStringLiteral(" du profil ") + name + QStringLiteral(" compte ") +
                               n + QStringLiteral(" figures : 32 au plus peuvent être dessinées."),
                           QStringLiteral("Template # ") + number + QStringLiteral(" of airfoil ") +
                               name + QStringLiteral(" has ") + n +
                               QStringLiteral(" figures: at most 32 can be drawn.")));
        return false;
    }
    TemplateValues values;
    const QString badLine = readTemplateValues(tpl, values);
    if (!badLine.isNull())
        return refuse(badLine);
    chord = values.chord;
    skinValue = values.skinValue;
    m_work.lastFigure = int(values.figures.size()) - 1;
    std::copy(values.figures.begin(), values.figures.end(), m_work.figures.begin());
    return true;
}

void TemplateDrawing::SelectProfile(int p, int t)
{
    ProfileStore &store = *m_store;
    if (store.dataError) {
        // Nothing is selected while the data is wrong; the current template
        // stays none, whatever the caller chose.
        if (store.profile(store.currentProfile))
            stopSelection(store.currentProfile);
        return;
    }
    const Tprofil *pr = store.profile(p);
    if (!pr) {
        Prompts::current().message(Language::pick(QStringLiteral("Erreur interne profil n° "),
                                                  QStringLiteral("Internal Error airfoil # ")) +
                                   QString::number(p));
        return;
    }
    if (refuseOverlongProfile(p)) {
        stopSelection(p);
        return;
    }

    m_view.upDown7Incidence = 0;
    m_work.chord = 100;
    m_view.zoomLevel = 0;
    m_view.btZoommoinsEnabled = false;
    m_view.btzoomplusEnabled = true;
    store.currentProfile = p;
    m_view.cb1ItemIndex = p;
    m_laidOut = false;

    // Point lines: upper x, upper y, lower x, lower y, each followed by ';'.
    const QStringList &lines = pr->pointLines;
    const int count = int(lines.size());
    m_work.lastPoint = count - 1;
    std::vector<std::array<double, 4>> values(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        QStringView rest(lines[i]);
        for (int j = 0; j < 4; ++j)
            values[i][j] = ParseDecimal(2, takeValue(rest));
        const auto &v = values[i];
        auto accept = [&](int j, float &target, bool negate) {
            if (IsParseError(v[j]))
                store.dataError = true;
            else
                target = float(negate ? -v[j] : v[j]);
        };
        accept(0, m_work.upper[i].x, false);
        accept(1, m_work.upper[i].y, true);
        accept(2, m_work.lower[i].x, false);
        accept(3, m_work.lower[i].y, true);
    }

    // The coordinate table shows the values as written (y not negated).
    // A value refused has set the error flag above.
    if (m_tableShown) {
        m_view.tableau1Cells.resize(size_t(count) + 1);
        for (int i = 0; i < count; ++i) {
            auto &row = m_view.tableau1Cells[size_t(i) + 1];
            for (int j = 0; j < 4; ++j)
                if (!IsParseError(values[i][j]))
                    row[j + 1] = FormatNumber(u"###,##", 1, values[i][j]);
            row[0] = QString::number(i + 1);
        }
    }

    // Row rules: the leading edge at (0, 0) first, the trailing edge at
    // (100, 0) last, x never decreasing and never past 100 in between.
    for (int i = 0; i < count; ++i) {
        const auto &v = values[i];
        bool ok;
        if (i == 0)
            ok = v[0] == 0 && v[1] == 0 && v[2] == 0 && v[3] == 0;
        else if (i == count - 1)
            ok = v[0] == 100 && v[2] == 100 && v[1] == 0 && v[3] == 0;
        else
            ok = v[0] <= 100 && v[0] >= values[i - 1][0] && v[2] <= 100 && v[2] >= values[i - 1][2];
        if (!ok)
            store.dataError = true;
    }
    if (store.dataError) {
        m_view.panel1Visible = true;
        stopSelection(p);
        return;
    }

    float highest = 0;
    float deepest = 0;
    for (int i = 0; i < count; ++i) {
        highest = std::max(highest, -m_work.upper[i].y);
        deepest = std::min(deepest, -m_work.lower[i].y);
    }
    m_work.upperExtent = highest * 0.01f;
    m_work.lowerExtent = std::fabs(deepest) * 0.01f;

    // A template that cannot be drawn (more figures than the working table
    // holds, or a value that is not a whole number) is named to the user and
    // the profile is shown alone: the profile's other templates stay within
    // reach.
    int chord = 100;
    int skinValue = 2;
    if (t >= 0 && t < pr->templateCount() && readTemplate(p, t, chord, skinValue)) {
        m_view.panel7Visible = false;
        store.currentTemplate = t;

        m_view.form2UpDown1Chord = chord;
        m_work.chord = float(m_view.form2UpDown1Chord);
        m_view.panel5Text = QString::number(m_view.form2UpDown1Chord);

        const int skin = TemplateValues::skinFromValue(skinValue);
        m_view.form2RadioGroup1Skin = skinItem(skin);
        m_view.form2UpDown2Skin = skin;
        m_work.skinThickness = float(skin);
        m_view.panel6Text = QString::number(skin) + QStringLiteral("/10");

        m_work.currentFigure = m_work.lastFigure < 0 ? -1 : 0;
        m_view.cb2ItemIndex = t;
        m_view.figureButtonsVisible = true;
    } else {
        m_work.lastFigure = -1;
        m_view.panel7Visible = true;
        store.currentTemplate = -1;
        m_view.cb2ItemIndex = -1;
        m_view.figureButtonsVisible = false;
        m_view.form2UpDown1Chord = 100;
        m_work.chord = 100;
        m_view.panel5Text = QStringLiteral("100");
        m_view.form2RadioGroup1Skin = 2;
        m_view.form2UpDown2Skin = 10;
        m_view.panel6Text = QStringLiteral("10/10");
        m_work.skinThickness = 10;
        // No template, no figure: a figure index left from the previous
        // template would let the figure boxes edit a row that is not there.
        m_work.currentFigure = -1;
    }
}

void TemplateDrawing::StoreTemplate(int p, int t)
{
    if (m_work.figuresChanged)
        m_store->setSaveEnabled(true);
    m_work.figuresChanged = false;

    m_store->ResetTemplate(p, t);
    m_store->PutTemplateLine(p, t,
                             QStringLiteral("GABARIT ") +
                                 QString::number(m_view.form2UpDown1Chord) + QLatin1Char(';') +
                                 QString::number(m_view.form2UpDown2Skin) + QLatin1Char(';'));
    const int last = std::min(m_work.lastFigure, kMaxFigures - 1);
    for (int i = 0; i <= last; ++i) {
        QString line = QStringLiteral("FIGURE ");
        for (int v : m_work.figures[size_t(i)])
            line += QString::number(v) + QLatin1Char(';');
        m_store->AddFigureLine(p, t, line);
    }
}

TemplateDrawing::Refresh TemplateDrawing::zoomIn()
{
    if (!m_view.btzoomplusEnabled || m_view.zoomLevel >= kMaxZoomLevel)
        return Refresh::Nothing;
    m_view.btZoommoinsEnabled = true;
    if (m_view.zoomLevel == kMaxZoomLevel - 1)
        m_view.btzoomplusEnabled = false;
    ++m_view.zoomLevel;
    return Refresh::LayoutAndRender;
}

TemplateDrawing::Refresh TemplateDrawing::zoomOut()
{
    if (!m_view.btZoommoinsEnabled || m_view.zoomLevel <= 0)
        return Refresh::Nothing;
    m_view.btzoomplusEnabled = true;
    if (m_view.zoomLevel == 1)
        m_view.btZoommoinsEnabled = false;
    --m_view.zoomLevel;
    return Refresh::LayoutAndRender;
}

TemplateDrawing::Refresh TemplateDrawing::resized()
{
    m_view.zoomLevel = 0;
    m_view.btZoommoinsEnabled = false;
    m_view.btzoomplusEnabled = true;
    return m_work.lastPoint > 0 ? Refresh::LayoutAndRender : Refresh::Nothing;
}

TemplateDrawing::Refresh TemplateDrawing::setDisplayOption(DisplayOption option, bool checked)
{
    switch (option) {
    case DisplayOption::Axes:
        m_view.checkBox2Axes = checked;
        break;
    case DisplayOption::Cambrure:
        m_view.checkBox4Cambrure = checked;
        break;
    case DisplayOption::ProfilPoints:
        m_view.checkBox1ProfilPoints = checked;
        break;
    case DisplayOption::GabaritPoints:
        m_view.checkBox3GabaritPoints = checked;
        break;
    }
    return Refresh::LayoutAndRender;
}

TemplateDrawing::Refresh TemplateDrawing::setIncidence(int degrees)
{
    m_view.upDown7Incidence = std::clamp(degrees, -45, 45);
    return Refresh::LayoutAndRender;
}

TemplateDrawing::Refresh TemplateDrawing::setSmoothing(int coefficient)
{
    m_view.upDown4Smoothing = std::clamp(coefficient, 0, 100);
    return Refresh::Render;
}

QString TemplateDrawing::helpTopic()
{
    return Language::pick(QStringLiteral("DESSINGABARITS"), QStringLiteral("TEMPLATES"));
}

std::optional<ScreenLayout> TemplateDrawing::refresh(Refresh what, const ScreenArea &area)
{
    std::optional<ScreenLayout> layout;
    if (what == Refresh::LayoutAndRender) {
        layout = layoutScreen(area);
        if (layout)
            render();
    } else if (what == Refresh::Render) {
        render();
    }
    return layout;
}

void TemplateDrawing::drawCheckBarAt(QPainter &p, int x, int y, float pixelsPerMm)
{
    const int oldX = m_geom.checkBarX, oldY = m_geom.checkBarY;
    const float oldScale = m_geom.scale;
    m_geom.checkBarX = x;
    m_geom.checkBarY = y;
    m_geom.scale = pixelsPerMm;
    drawCheckBar(p);
    m_geom.checkBarX = oldX;
    m_geom.checkBarY = oldY;
    m_geom.scale = oldScale;
}
