#include "Naca.h"
#include "ScriptedPrompts.h"
#include "drawing/FigureEditor.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFigureWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void placeEditAndKeepFigures();
    void parameterBoxesFollowTheFigure();

private:
    QPoint pointOf(int figure, int k) { return m_form->figures().screenPoints(figure)[k]; }
    void click(QPoint at) { QTest::mouseClick(m_form->PaintBox1, Qt::LeftButton, {}, at); }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(m_form->PaintBox1, Qt::LeftButton, {}, from);
        QTest::mouseMove(m_form->PaintBox1, (from + to) / 2);
        QTest::mouseMove(m_form->PaintBox1, to);
        QTest::mouseRelease(m_form->PaintBox1, Qt::LeftButton, {}, to);
    }
    const WorkingData &work() { return m_form->drawing().working(); }

    QTemporaryDir m_dir;
    QString m_before;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<TForm1> m_form;
};

void TestFigureWindow::init()
{
    Language::setFrench(true);
    m_before = QDir::currentPath();
    const Naca::Section s = Naca::fourDigit(QStringLiteral("0015"), 31);
    QByteArray text = "\r\nPROFIL " + s.name.toLatin1() + "\r\n";
    for (const QString &l : Naca::pointLines(s))
        text += l.toLatin1() + "\r\n";
    text += "GABARIT 150;10;\r\nGABARIT 120;15;\r\nFIGURE 2;300;-40;380;40;0;\r\n";
    QFile f(m_dir.filePath("Profils.pro"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    QDir::setCurrent(m_dir.path());
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_form = std::make_unique<TForm1>();
    m_form->setForm2(new TForm2(m_form.get()));
    m_form->resize(1000, 600);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->prepareToShow();
    QCOMPARE(m_form->store().currentTemplate, 0);
}

void TestFigureWindow::cleanup()
{
    m_form.reset();
    m_prompts.reset();
    QDir::setCurrent(m_before);
}

void TestFigureWindow::placeEditAndKeepFigures()
{
    QToolButton *tools[] = {m_form->Speedrectangle, m_form->Speedligne, m_form->Speedrond,
                            m_form->Speeddemirond, m_form->SpeedTriangle};
    const int ox = m_form->drawing().geometry().originX;
    const int oy = m_form->drawing().geometry().originY;
    for (int kind = 0; kind < 5; ++kind) {
        tools[kind]->click();
        QVERIFY(m_form->figures().placing);
        QVERIFY(m_form->Btenregistrer->isEnabled());
        click(QPoint(ox + 80 + 90 * kind, oy));
        QVERIFY(!m_form->figures().placing);
        QCOMPARE(work().lastFigure, kind);
        QCOMPARE(work().figures[kind][FigKind], kind);
        // Its box is centred on the click.
        const QPoint centre = pointOf(kind, 5);
        QVERIFY(qAbs(centre.x() - (ox + 80 + 90 * kind)) <= 1);
        QVERIFY(qAbs(centre.y() - oy) <= 1);
    }
    // Drag the circle's centre 2 mm to the right.
    const float scale = m_form->drawing().geometry().scale;
    const FigureRow before = work().figures[2];
    const QPoint c = pointOf(2, 5);
    drag(c, c + QPoint(qRound(2 * scale), 0));
    QCOMPARE(work().figures[2][FigX1], before[FigX1] + 20);
    QCOMPARE(work().figures[2][FigY1], before[FigY1]);
    // Turn the rectangle by its corner a quarter turn counter-clockwise.
    m_form->figures(); // the rectangle is figure 0
    const QPoint rc = pointOf(0, 5), corner = pointOf(0, 1);
    const QPoint r = corner - rc;
    drag(corner, rc + QPoint(r.y(), -r.x()));
    QCOMPARE(work().currentFigure, 0);
    QCOMPARE(work().figures[0][FigAngle], -90);
    QCOMPARE(m_form->UpDown3->value(), 270);
    // Stretch the line by its second end.
    const QPoint end = pointOf(1, 2);
    drag(end, end + QPoint(qRound(5 * scale), 0));
    QCOMPARE(work().currentFigure, 1);
    QCOMPARE(work().figures[1][FigX2] - work().figures[1][FigX1], 50);

    // Away to the other template and back: the figures are where they were.
    std::array<FigureRow, 5> kept;
    for (int i = 0; i < 5; ++i)
        kept[i] = work().figures[i];
    m_form->CB2->setCurrentIndex(1);
    emit m_form->CB2->activated(1);
    QCOMPARE(work().lastFigure, 0);
    QCOMPARE(work().figures[0], (FigureRow{2, 300, -40, 380, 40, 0}));
    m_form->CB2->setCurrentIndex(0);
    emit m_form->CB2->activated(0);
    QCOMPARE(work().lastFigure, 4);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(work().figures[i], kept[i]);

    // Saved as "FIGURE " lines under their template.
    m_prompts->answers.enqueue(true);
    m_form->Btenregistrer->click();
    QFile f(m_dir.filePath("Profils.pro"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray saved = f.readAll();
    const auto &k0 = kept[0];
    const QByteArray line0 = "GABARIT 150;10;\r\nFIGURE " + QByteArray::number(k0[0]) + ";" +
                             QByteArray::number(k0[1]) + ";" + QByteArray::number(k0[2]) + ";" +
                             QByteArray::number(k0[3]) + ";" + QByteArray::number(k0[4]) + ";" +
                             QByteArray::number(k0[5]) + ";\r\n";
    QVERIFY2(saved.contains(line0), saved.constData());
    QCOMPARE(saved.count("FIGURE "), 6);
    QVERIFY(!m_form->Btenregistrer->isEnabled());
}

void TestFigureWindow::parameterBoxesFollowTheFigure()
{
    m_form->CB2->setCurrentIndex(1);
    emit m_form->CB2->activated(1);
    // The circle of the second template is current: diameter 80, centre 340.
    QCOMPARE(m_form->Label1->text(), QStringLiteral("Diamètre"));
    QCOMPARE(m_form->UpDown1->value(), 80);
    QCOMPARE(m_form->UpDown5->value(), 340);
    QVERIFY(!m_form->UpDown2->isVisibleTo(m_form.get()));
    // An arrow on the diameter keeps the centre.
    m_form->UpDown1->stepBy(1);
    QCOMPARE(work().figures[0], (FigureRow{2, 299, -41, 381, 41, 0}));
    // Typed width and Enter.
    m_form->UpDown1->edit()->setText(QStringLiteral("100"));
    QTest::keyClick(m_form->UpDown1->edit(), Qt::Key_Return);
    QCOMPARE(work().figures[0], (FigureRow{2, 290, -50, 390, 50, 0}));
    // Centre y counts upwards.
    m_form->UpDown6->stepBy(1);
    QCOMPARE(work().figures[0][FigY1], -51);
    // The bin empties the template and the panel returns to its rest state.
    m_form->SpeedPoubelle->click();
    QCOMPARE(work().lastFigure, -1);
    QCOMPARE(m_form->Label1->text(), QStringLiteral("Largeur"));
    QVERIFY(m_form->Btenregistrer->isEnabled());
}

QTEST_MAIN(TestFigureWindow)
#include "tst_figurewindow.moc"
