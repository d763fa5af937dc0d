#include "ScriptedPrompts.h"

#include "numbers/NumberText.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QFile>
#include <QTest>

namespace
{

// A valid profile: leading edge, n - 1 interior points, trailing edge.
QStringList pointLines(int count)
{
    QStringList lines{QStringLiteral("0,00;0,00;0,00;0,00;")};
    for (int i = 1; i < count - 1; ++i) {
        const QString x = QString::number(100.0 * i / (count - 1), 'f', 2).replace('.', ',');
        lines << x + QStringLiteral(";5,00;") + x + QStringLiteral(";-4,00;");
    }
    lines << QStringLiteral("100,00;0,00;100,00;0,00;");
    return lines;
}

const QStringList kFourPoints{"0,00;0,00;0,00;0,00;", "10,00;6,50;10,00;-3,25;",
                              "50,00;4,00;50,00;-2,00;", "100,00;0,00;100,00;0,00;"};

struct Fixture {
    ScriptedPrompts prompts;
    ProfileStore store;
    TemplateDrawing drawing{&store};

    // Profile 0 "A" with the given points and templates (each template line
    // followed by its figure lines).
    int addProfile(const QString &name, const QStringList &points,
                   const QList<QStringList> &templates = {})
    {
        const int p = store.AddProfile(name);
        for (const QString &l : points)
            store.AddPointLine(p, l);
        for (const QStringList &t : templates) {
            const int ti = store.AddTemplate(p, t.first());
            for (int i = 1; i < t.size(); ++i)
                store.AddFigureLine(p, ti, t[i]);
        }
        return p;
    }
};

} // namespace

class TstSelection : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(true); }
    void templateLine_data();
    void templateLine();
    void pointsAndTable();
    void rowRules_data();
    void rowRules();
    void rejectedValueKeepsArrayAndCell();
    void extents_data();
    void extents();
    void figures();
    void profileWithoutTemplate();
    void selectionResetsView();
    void positionOutOfRange_data();
    void positionOutOfRange();
    void overlong_data();
    void overlong();
    void largestThatFit();
    void storeTemplate();
    void storeMarksFiguresChanged_data();
    void storeMarksFiguresChanged();
    void storeRoundTripsSample();
};

void TstSelection::templateLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("chord");
    QTest::addColumn<int>("skin");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("panel6");
    QTest::addColumn<QString>("stored");
    QTest::newRow("short form 0") << "GABARIT 200;0;" << 200 << 5 << 0 << "5/10"
                                  << "GABARIT 200;5;";
    QTest::newRow("short form 1") << "GABARIT 200;1;" << 200 << 8 << 1 << "8/10"
                                  << "GABARIT 200;8;";
    QTest::newRow("short form 2") << "GABARIT 200;2;" << 200 << 10 << 2 << "10/10"
                                  << "GABARIT 200;10;";
    QTest::newRow("chord 120, short form 3") << "GABARIT 120;3;" << 120 << 15 << 3 << "15/10"
                                             << "GABARIT 120;15;";
    QTest::newRow("12 is Autre") << "GABARIT 150;12;" << 150 << 12 << 4 << "12/10"
                                 << "GABARIT 150;12;";
    QTest::newRow("plain 10") << "GABARIT 150;10;" << 150 << 10 << 2 << "10/10"
                              << "GABARIT 150;10;";
    QTest::newRow("plain 5") << "GABARIT 90;5;" << 90 << 5 << 0 << "5/10"
                             << "GABARIT 90;5;";
    QTest::newRow("40 is Autre") << "GABARIT 90;40;" << 90 << 40 << 4 << "40/10"
                                 << "GABARIT 90;40;";
    // A chord beyond the dialog's range is a real dimension: kept as read.
    QTest::newRow("chord 600 kept") << "GABARIT 600;2;" << 600 << 10 << 2 << "10/10"
                                    << "GABARIT 600;10;";
}

void TstSelection::templateLine()
{
    QFETCH(QString, line);
    QFETCH(int, chord);
    QFETCH(int, skin);
    QFETCH(int, item);
    QFETCH(QString, panel6);
    QFETCH(QString, stored);
    Fixture f;
    const int p = f.addProfile("A", kFourPoints, {{"GABARIT 100;2;"}, {line}});
    f.drawing.SelectProfile(p, 1);
    const ViewState &v = f.drawing.viewState();
    const WorkingData &w = f.drawing.working();
    QVERIFY(!f.store.dataError);
    QCOMPARE(f.store.currentTemplate, 1);
    QCOMPARE(v.form2UpDown1Chord, chord);
    QCOMPARE(w.chord, float(chord));
    QCOMPARE(v.panel5Text, QString::number(chord));
    QCOMPARE(v.form2UpDown2Skin, skin);
    QCOMPARE(w.skinThickness, float(skin));
    QCOMPARE(v.form2RadioGroup1Skin, item);
    QCOMPARE(v.panel6Text, panel6);
    QVERIFY(!v.panel7Visible);
    QVERIFY(v.figureButtonsVisible);
    QCOMPARE(v.cb2ItemIndex, 1);

    f.drawing.StoreTemplate(p, 1);
    QCOMPARE(f.store.templateLine(p, 1), stored);
    QCOMPARE(f.store.templateLine(p, 0), QStringLiteral("GABARIT 100;2;"));
}

void TstSelection::pointsAndTable()
{
    Fixture f;
    const int p = f.addProfile("A", kFourPoints, {{"GABARIT 100;2;"}});
    f.drawing.SelectProfile(p, 0);
    const WorkingData &w = f.drawing.working();
    QCOMPARE(w.lastPoint, 3);
    // y is stored with its sign reversed.
    QCOMPARE(w.upper[1].x, 10.0f);
    QCOMPARE(w.upper[1].y, -6.5f);
    QCOMPARE(w.lower[1].x, 10.0f);
    QCOMPARE(w.lower[1].y, 3.25f);
    QCOMPARE(w.upper[3].x, 100.0f);

    const ViewState &v = f.drawing.viewState();
    QCOMPARE(v.tableau1RowCount(), 5);
    QCOMPARE(v.tableau1Cells[0][1], QStringLiteral("x ext"));
    QCOMPARE(v.tableau1Cells[0][4], QStringLiteral("y int"));
    QCOMPARE(v.tableau1Cells[2][0], QStringLiteral("2"));
    // The table shows the values as written, y not negated.
    QCOMPARE(v.tableau1Cells[2][2], FormatNumber(u"###,##", 1, 6.5));
    QCOMPARE(v.tableau1Cells[2][4], FormatNumber(u"###,##", 1, -3.25));
    QCOMPARE(v.tableau1Cells[1][1], FormatNumber(u"###,##", 1, 0.0));
    QVERIFY(!v.panel1Visible);

    // A shorter profile shrinks the table.
    const int q = f.addProfile("B", {"0;0;0;0;", "100;0;100;0;"});
    f.drawing.SelectProfile(q, -1);
    QCOMPARE(f.drawing.viewState().tableau1RowCount(), 3);
}

void TstSelection::rowRules_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("error");
    QTest::newRow("valid") << kFourPoints << false;
    QTest::newRow("trailing edge x 99.99")
        << QStringList{"0;0;0;0;", "50;5;50;-5;", "99,99;0;100;0;"} << true;
    QTest::newRow("trailing edge y not 0")
        << QStringList{"0;0;0;0;", "50;5;50;-5;", "100;0;100;0,01;"} << true;
    QTest::newRow("leading edge not at 0")
        << QStringList{"0;0,01;0;0;", "50;5;50;-5;", "100;0;100;0;"} << true;
    QTest::newRow("upper x going back")
        << QStringList{"0;0;0;0;", "50;5;50;-5;", "40;5;60;-5;", "100;0;100;0;"} << true;
    QTest::newRow("lower x going back")
        << QStringList{"0;0;0;0;", "50;5;50;-5;", "60;5;45;-5;", "100;0;100;0;"} << true;
    QTest::newRow("interior x past 100")
        << QStringList{"0;0;0;0;", "50;5;100,01;-5;", "100;0;100;0;"} << true;
    QTest::newRow("equal x allowed")
        << QStringList{"0;0;0;0;", "50;5;50;-5;", "50;4;50;-4;", "100;0;100;0;"} << false;
    QTest::newRow("interior x of 100 allowed")
        << QStringList{"0;0;0;0;", "100;1;100;-1;", "100;0;100;0;"} << false;
    QTest::newRow("value with 3 decimals rejected")
        << QStringList{"0;0;0;0;", "50;5,125;50;-5;", "100;0;100;0;"} << true;
    QTest::newRow("missing separator")
        << QStringList{"0;0;0;0;", "50;5;50;-5", "100;0;100;0;"} << false;
    QTest::newRow("single point line at 0") << QStringList{"0;0;0;0;"} << false;
    QTest::newRow("single point line elsewhere") << QStringList{"100;0;100;0;"} << true;
}

void TstSelection::rowRules()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, error);
    Fixture f;
    const int p = f.addProfile("A", lines, {{"GABARIT 100;2;"}});
    f.drawing.SelectProfile(p, 0);
    QCOMPARE(f.store.dataError, error);
    QCOMPARE(f.drawing.viewState().panel1Visible, error);
    QCOMPARE(f.drawing.working().lastPoint, int(lines.size()) - 1);
    QCOMPARE(f.drawing.viewState().tableau1RowCount(), int(lines.size()) + 1);
    // On error the selection stops before the template is read.
    QCOMPARE(f.store.currentTemplate, error ? -1 : 0);
    QCOMPARE(f.drawing.canDraw(), !error && lines.size() >= 2);
}

void TstSelection::rejectedValueKeepsArrayAndCell()
{
    Fixture f;
    const int good = f.addProfile("A", kFourPoints);
    QStringList bad = kFourPoints;
    bad[1] = QStringLiteral("10,00;x;10,00;-3,25;");
    const int p = f.addProfile("B", bad);
    f.drawing.SelectProfile(good, -1);
    const QString cellBefore = f.drawing.viewState().tableau1Cells[2][2];
    f.drawing.SelectProfile(p, -1);
    QVERIFY(f.store.dataError);
    QCOMPARE(f.drawing.working().upper[1].y, -6.5f); // left from profile A
    QCOMPARE(f.drawing.viewState().tableau1Cells[2][2], cellBefore);
    QCOMPARE(f.drawing.viewState().tableau1Cells[2][1], FormatNumber(u"###,##", 1, 10.0));
    QVERIFY(f.drawing.viewState().panel1Visible);
}

void TstSelection::extents_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<float>("upper");
    QTest::addColumn<float>("lower");
    QTest::newRow("ordinary") << kFourPoints << 0.065f << 0.0325f;
    QTest::newRow("upper surface wholly below the chord")
        << QStringList{"0;0;0;0;", "50;-2;50;-5;", "100;0;100;0;"} << 0.0f << 0.05f;
    QTest::newRow("lower surface wholly above the chord")
        << QStringList{"0;0;0;0;", "50;8;50;3;", "100;0;100;0;"} << 0.08f << 0.0f;
}

void TstSelection::extents()
{
    QFETCH(QStringList, lines);
    QFETCH(float, upper);
    QFETCH(float, lower);
    Fixture f;
    f.drawing.SelectProfile(f.addProfile("A", lines), -1);
    QVERIFY(std::fabs(f.drawing.working().upperExtent - upper) < 1e-6f);
    QVERIFY(std::fabs(f.drawing.working().lowerExtent - lower) < 1e-6f);
}

void TstSelection::figures()
{
    Fixture f;
    const int p = f.addProfile(
        "A", kFourPoints,
        {{"GABARIT 100;2;", "FIGURE 0;500;-60;560;60;0;", "FIGURE 2;-10;20;30;40;-45;"},
         {"GABARIT 100;2;"},
         {"GABARIT 100;2;", "FIGURE 0;500;x;560;99999999999;0;"}});
    f.drawing.SelectProfile(p, 0);
    const WorkingData &w = f.drawing.working();
    QCOMPARE(w.lastFigure, 1);
    QCOMPARE(w.currentFigure, 0);
    QCOMPARE(w.figures[0], (FigureRow{0, 500, -60, 560, 60, 0}));
    QCOMPARE(w.figures[1], (FigureRow{2, -10, 20, 30, 40, -45}));

    f.drawing.SelectProfile(p, 1);
    QCOMPARE(w.lastFigure, -1);
    QCOMPARE(w.currentFigure, -1);
    QVERIFY(!f.store.dataError);

    // A value that is no whole number, or too large for one: the line is
    // named, the profile is shown alone, and its other templates stay within
    // reach.
    f.drawing.SelectProfile(p, 2);
    QCOMPARE(f.prompts.messages,
             QStringList{"Le gabarit n° 3 du profil A ne peut pas être dessiné : ligne "
                         "<FIGURE 0;500;x;560;99999999999;0;>"});
    QVERIFY(!f.store.dataError);
    QCOMPARE(f.store.currentTemplate, -1);
    QCOMPARE(w.lastFigure, -1);
    f.drawing.SelectProfile(p, 0);
    QCOMPARE(f.store.currentTemplate, 0);
    QCOMPARE(w.lastFigure, 1);
}

void TstSelection::profileWithoutTemplate()
{
    Fixture f;
    const int p =
        f.addProfile("A", kFourPoints, {{"GABARIT 200;3;", "FIGURE 0;500;-60;560;60;0;"}});
    const int q = f.addProfile("B", kFourPoints);
    f.drawing.SelectProfile(p, 0);
    f.drawing.SelectProfile(q, 0); // position 0 names no template here
    const ViewState &v = f.drawing.viewState();
    const WorkingData &w = f.drawing.working();
    QCOMPARE(f.store.currentTemplate, -1);
    QVERIFY(v.panel7Visible);
    QVERIFY(!v.figureButtonsVisible);
    QCOMPARE(v.form2UpDown1Chord, 100);
    QCOMPARE(w.chord, 100.0f);
    QCOMPARE(v.panel5Text, QStringLiteral("100"));
    QCOMPARE(v.form2RadioGroup1Skin, 2);
    QCOMPARE(v.form2UpDown2Skin, 10);
    QCOMPARE(v.panel6Text, QStringLiteral("10/10"));
    QCOMPARE(w.skinThickness, 10.0f);
    QCOMPARE(w.lastFigure, -1);
    QCOMPARE(w.currentFigure, -1);
    QCOMPARE(
        ViewState::kPanel7Hint,
        QStringLiteral("Pour utiliser ce profil vous devez créer un gabarit (Bouton Nouveau)"));
}

void TstSelection::selectionResetsView()
{
    Fixture f;
    f.addProfile("A", kFourPoints, {{"GABARIT 100;2;"}, {"GABARIT 100;2;"}});
    const int p = f.addProfile("B", kFourPoints, {{"GABARIT 100;2;"}, {"GABARIT 100;2;"}});
    TemplateDrawing &d = f.drawing;
    d.setIncidence(20);
    d.zoomIn();
    d.zoomIn();
    d.SelectProfile(p, 1);
    const ViewState &v = d.viewState();
    QCOMPARE(v.upDown7Incidence, 0);
    QCOMPARE(v.zoomLevel, 0);
    QVERIFY(!v.btZoommoinsEnabled);
    QVERIFY(v.btzoomplusEnabled);
    QCOMPARE(v.cb1ItemIndex, p);
    QCOMPARE(v.cb2ItemIndex, 1);
    QCOMPARE(f.store.currentProfile, p);
}

void TstSelection::positionOutOfRange_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("message");
    QTest::newRow("past the end, French") << 3 << true << "Erreur interne profil n° 3";
    QTest::newRow("negative, English") << -1 << false << "Internal Error airfoil # -1";
}

void TstSelection::positionOutOfRange()
{
    QFETCH(int, position);
    QFETCH(bool, french);
    QFETCH(QString, message);
    Language::setFrench(french);
    Fixture f;
    f.addProfile("A", kFourPoints, {{"GABARIT 120;3;"}});
    f.drawing.SelectProfile(0, 0);
    f.prompts.clear();
    f.drawing.SelectProfile(position, 0);
    QCOMPARE(f.prompts.messages, QStringList{message});
    QCOMPARE(f.store.currentProfile, 0);
    QCOMPARE(f.store.currentTemplate, 0);
    QCOMPARE(f.drawing.working().chord, 120.0f);
    QVERIFY(!f.store.dataError);
}

void TstSelection::overlong_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("figures");
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("message");
    QTest::newRow("513 point lines, French")
        << 513 << 1 << true
        << "Le profil LONG compte 513 points : 512 au plus peuvent être dessinés.";
    QTest::newRow("700 point lines, English")
        << 700 << 1 << false << "Airfoil LONG has 700 points: at most 512 can be drawn.";
    QTest::newRow("33 figures, French")
        << 20 << 33 << true
        << "Le gabarit n° 2 du profil LONG compte 33 figures : 32 au plus peuvent être dessinées.";
    QTest::newRow("40 figures, English")
        << 20 << 40 << false
        << "Template # 2 of airfoil LONG has 40 figures: at most 32 can be drawn.";
}

void TstSelection::overlong()
{
    QFETCH(int, points);
    QFETCH(int, figures);
    QFETCH(bool, french);
    QFETCH(QString, message);
    Language::setFrench(french);
    Fixture f;
    const int a =
        f.addProfile("A", kFourPoints, {{"GABARIT 150;2;", "FIGURE 0;500;-60;560;60;0;"}});
    QStringList second{"GABARIT 200;3;"};
    for (int i = 0; i < figures; ++i)
        second << QStringLiteral("FIGURE 0;%1;0;%2;10;0;").arg(i * 10).arg(i * 10 + 5);
    const int p = f.addProfile("LONG", pointLines(points), {{"GABARIT 100;2;"}, second});
    QVERIFY(a != p);
    f.drawing.SelectProfile(f.store.FindProfile("A"), 0);
    const WorkingData workBefore = f.drawing.working();

    // As the window does when a template is chosen: store, then select.
    const int longProfile = f.store.FindProfile("LONG");
    f.drawing.StoreTemplate(f.store.currentProfile, f.store.currentTemplate);
    const QByteArray before = f.store.serialize();
    f.store.currentProfile = longProfile;
    f.store.currentTemplate = 1;
    f.drawing.SelectProfile(longProfile, 1);

    QCOMPARE(f.prompts.messages, QStringList{message});
    QCOMPARE(f.store.currentTemplate, -1);
    QCOMPARE(f.store.currentProfile, longProfile);
    QCOMPARE(f.drawing.viewState().cb1ItemIndex, longProfile);
    QCOMPARE(f.drawing.viewState().cb2ItemIndex, -1);
    QVERIFY(!f.drawing.viewState().figureButtonsVisible);
    QCOMPARE(f.drawing.working().lastFigure, -1);
    if (points > kMaxProfilePoints) {
        // The profile cannot be drawn at all.
        QVERIFY(f.store.dataError);
        QVERIFY(!f.drawing.canDraw());
        QCOMPARE(f.drawing.working().lastPoint, workBefore.lastPoint);
        QVERIFY(!f.drawing.layoutScreen({400, 324, 0}));
    } else {
        // Only the template is refused: the profile is drawn alone and its
        // other templates stay within reach.
        QVERIFY(!f.store.dataError);
        QVERIFY(f.drawing.layoutScreen({400, 324, 0}));
        f.drawing.SelectProfile(longProfile, 0);
        QCOMPARE(f.store.currentTemplate, 0);
        f.drawing.SelectProfile(longProfile, 1);
    }

    // The next choice stores the current template first: nothing is written
    // into the refused one.
    f.drawing.StoreTemplate(f.store.currentProfile, f.store.currentTemplate);
    QCOMPARE(f.store.serialize(), before);
}

void TstSelection::largestThatFit()
{
    Fixture f;
    QStringList tpl{"GABARIT 100;2;"};
    for (int i = 0; i < kMaxFigures; ++i)
        tpl << QStringLiteral("FIGURE 1;%1;0;%1;10;0;").arg(i);
    const int p = f.addProfile("A", pointLines(kMaxProfilePoints), {tpl});
    f.drawing.SelectProfile(p, 0);
    QVERIFY(f.prompts.messages.isEmpty());
    QVERIFY(!f.store.dataError);
    QCOMPARE(f.drawing.working().lastPoint, kMaxProfilePoints - 1);
    QCOMPARE(f.drawing.working().lastFigure, kMaxFigures - 1);
    QCOMPARE(f.drawing.working().figures[31][FigX1], 31);
    QVERIFY(f.drawing.layoutScreen({800, 324, 0}));
    QVERIFY(f.drawing.render());
}

void TstSelection::storeTemplate()
{
    Fixture f;
    const int p = f.addProfile(
        "A", kFourPoints, {{"GABARIT 100;2;", "FIGURE 0;500;-60;560;60;0;"}, {"GABARIT 180;1;"}});
    TemplateDrawing &d = f.drawing;
    d.SelectProfile(p, 0);
    // Figure edits and a new chord from the dialog.
    d.working().figures[0][FigX1] = 510;
    d.working().lastFigure = 1;
    d.working().figures[1] = FigureRow{4, -5, -6, 7, 8, 359};
    d.viewState().form2UpDown1Chord = 250;
    d.viewState().form2UpDown2Skin = 12;
    d.StoreTemplate(p, 0);
    const Tprofil *pr = f.store.profile(p);
    QCOMPARE(pr->templates[0].line, QStringLiteral("GABARIT 250;12;"));
    QCOMPARE(pr->templates[0].gabarit.figureLines,
             (QStringList{"FIGURE 0;510;-60;560;60;0;", "FIGURE 4;-5;-6;7;8;359;"}));
    // The other template is untouched.
    QCOMPARE(pr->templates[1].line, QStringLiteral("GABARIT 180;1;"));
    QVERIFY(pr->templates[1].gabarit.figureLines.isEmpty());

    // Storing into a position that names no template changes nothing.
    const QByteArray before = f.store.serialize();
    d.StoreTemplate(p, 2);
    d.StoreTemplate(p, -1);
    d.StoreTemplate(5, 0);
    QCOMPARE(f.store.serialize(), before);
}

void TstSelection::storeMarksFiguresChanged_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("templatePosition");
    QTest::newRow("changed figures enable the save button") << true << 0;
    QTest::newRow("unchanged figures leave it") << false << 0;
    QTest::newRow("changed, even without a template") << true << -1;
}

void TstSelection::storeMarksFiguresChanged()
{
    QFETCH(bool, changed);
    QFETCH(int, templatePosition);
    Fixture f;
    const int p = f.addProfile("A", kFourPoints, {{"GABARIT 100;2;"}});
    f.store.setSaveEnabled(false);
    f.drawing.SelectProfile(p, 0);
    f.drawing.working().figuresChanged = changed;
    f.drawing.StoreTemplate(p, templatePosition);
    QCOMPARE(f.store.saveEnabled(), changed);
    QVERIFY(!f.drawing.working().figuresChanged);
}

void TstSelection::storeRoundTripsSample()
{
    // Selecting and storing every template of the sample database leaves
    // it as it was, short skin forms written out in full.
    QFile file(QStringLiteral(NERVURIA_SOURCE_DIR "/sample/Profils.pro"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    Fixture f;
    f.store.loadFromBytes(file.readAll());
    QVERIFY(f.store.count() >= 5);
    QByteArray expected = f.store.serialize();
    expected.replace("GABARIT 150;2;", "GABARIT 150;10;");
    for (int p = 0; p < f.store.count(); ++p) {
        for (int t = 0; t < f.store.templateCount(p); ++t) {
            f.drawing.SelectProfile(p, t);
            QVERIFY(!f.store.dataError);
            f.drawing.StoreTemplate(p, t);
        }
    }
    QCOMPARE(f.store.serialize(), expected);
    QVERIFY(!f.store.saveEnabled());
}

QTEST_MAIN(TstSelection)
#include "tst_selection.moc"
