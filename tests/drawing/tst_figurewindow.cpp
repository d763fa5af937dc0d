#include "Naca.h"
#include "ScriptedPrompts.h"
#include "drawing/FigureEditor.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(FigureRow)

class TestFigureWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void placeEditAndKeepFigures();
    void parameterBoxesFollowTheFigure();
    void typedCentreMovesTheFigure_data();
    void typedCentreMovesTheFigure();

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

void TestFigureWindow::typedCentreMovesTheFigure_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<FigureRow>("figure");
    QTest::addColumn<QString>("message"); // empty: none; a figure moved across or out is named

    // The circle of the second template: centre (340, 0), diameter 80.
    const FigureRow still{2, 300, -40, 380, 40, 0};
    QTest::newRow("cx, Enter") << "cx"
                               << "500" << int(Qt::Key_Return) << FigureRow{2, 460, -40, 540, 40, 0}
                               << "";
    QTest::newRow("cx, keypad Enter")
        << "cx"
        << "12" << int(Qt::Key_Enter) << FigureRow{2, -28, -40, 52, 40, 0}
        << "la figure 1 coupe le gabarit";
    QTest::newRow("cx, Tab") << "cx"
                             << "500" << int(Qt::Key_Tab) << FigureRow{2, 460, -40, 540, 40, 0}
                             << "";
    QTest::newRow("cx, lowest") << "cx"
                                << "-999" << int(Qt::Key_Return)
                                << FigureRow{2, -1039, -40, -959, 40, 0}
                                << "la figure 1 est hors du gabarit";
    QTest::newRow("cy counts upwards, Enter")
        << "cy"
        << "25" << int(Qt::Key_Return) << FigureRow{2, 300, -65, 380, 15, 0} << "";
    QTest::newRow("cy below the chord, Tab")
        << "cy"
        << "-120" << int(Qt::Key_Tab) << FigureRow{2, 300, 80, 380, 160, 0}
        << "la figure 1 est hors du gabarit";
    QTest::newRow("cx unchanged") << "cx"
                                  << "340" << int(Qt::Key_Return) << still << "";
    QTest::newRow("cx below its range") << "cx"
                                        << "-1000" << int(Qt::Key_Return) << still
                                        << "cx doit être compris entre -999 et 9999 (1/10 mm).";
    QTest::newRow("cx above its range, Tab")
        << "cx"
        << "10000" << int(Qt::Key_Tab) << still
        << "cx doit être compris entre -999 et 9999 (1/10 mm).";
    QTest::newRow("cy above its range") << "cy"
                                        << "10000" << int(Qt::Key_Return) << still
                                        << "cy doit être compris entre -9999 et 9999 (1/10 mm).";
}

// Typed into the shown window with the keys: Enter or Tab moves the
// figure's centre to the value; a value out of range is refused with the
// range and the box shows the figure's centre again.
void TestFigureWindow::typedCentreMovesTheFigure()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(FigureRow, figure);
    QFETCH(QString, message);
    m_form->CB2->setCurrentIndex(1);
    emit m_form->CB2->activated(1);
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    SpinField *field = box == QLatin1String("cx") ? m_form->UpDown5 : m_form->UpDown6;
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);

    QCOMPARE(work().figures[0], figure);
    QCOMPARE(m_prompts->messages, message.isEmpty() ? QStringList() : QStringList{message});
    // The boxes show the figure as it now stands.
    QCOMPARE(m_form->UpDown5->value(), (figure[FigX1] + figure[FigX2]) / 2);
    QCOMPARE(m_form->UpDown6->value(), -((figure[FigY1] + figure[FigY2]) / 2));
    const bool moved = figure != FigureRow{2, 300, -40, 380, 40, 0};
    QCOMPARE(m_form->Btenregistrer->isEnabled(), moved);
    // The move is kept with the template.
    m_form->CB2->setCurrentIndex(0);
    emit m_form->CB2->activated(0);
    const Tprofil *stored = m_form->store().profile(0);
    QVERIFY(stored && stored->templateCount() == 2);
    QCOMPARE(stored->templates[1].gabarit.figureLines.at(0),
             QStringLiteral("FIGURE %1;%2;%3;%4;%5;%6;")
                 .arg(figure[0])
                 .arg(figure[1])
                 .arg(figure[2])
                 .arg(figure[3])
                 .arg(figure[4])
                 .arg(figure[5]));
}

QTEST_MAIN(TestFigureWindow)
#include "tst_figurewindow.moc"
