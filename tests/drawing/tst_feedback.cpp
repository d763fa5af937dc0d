// Reports and long work: the status line after a save, the progress of many
// ribs cancelled without a file, and the print preview's zoom.
#include "DrawingWindowFixture.h"

#include "cutting/ExportJob.h"
#include "drawing/ExportProgress.h"
#include "drawing/TForm3.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/StatusLine.h"

#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace
{
// One profile with `templates` templates of growing chords.
QByteArray manyTemplates(int templates)
{
    QStringList lines;
    for (int i = 0; i < templates; ++i)
        lines << QStringLiteral("GABARIT %1;10;").arg(100 + 5 * i);
    return nacaProfileText("2412", 21, lines);
}

// Cancels the progress dialog of that name as soon as it exists.
void cancelWhenShown(const char *name)
{
    QTimer::singleShot(0, [name] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<QProgressDialog *>(w); p && p->objectName() == QLatin1String(name))
                p->cancel();
    });
}
} // namespace

class TstFeedback : public QObject
{
    Q_OBJECT
private slots:
    void saveIsReported();
    void manyRibs_data();
    void manyRibs();
    void cancelledPrintWritesNothing();
    void previewZoom_data();
    void previewZoom();
};

void TstFeedback::saveIsReported()
{
    DrawingWindowFixture fx(threeNacaProfiles());
    fx.prompts.answers << true << true;
    fx.form->BtSupprgab->click();
    fx.form->Btenregistrer->click();
    QVERIFY(fx.form->Status->text().contains(QStringLiteral("Profils.pro")));
    QVERIFY(fx.form->Status->text().contains(QStringLiteral("3")));
    QVERIFY(!fx.form->Status->refused());
}

void TstFeedback::manyRibs_data()
{
    QTest::addColumn<int>("templates");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("few, no dialog") << 5 << false;
    QTest::newRow("many, to the end") << 40 << false;
    QTest::newRow("many, cancelled") << 40 << true;
}

void TstFeedback::manyRibs()
{
    QFETCH(int, templates);
    QFETCH(bool, cancel);
    DrawingWindowFixture fx(manyTemplates(templates));
    const ExportJob::Picks picks = ExportJob::allTemplatesOf(fx.store(), {0});
    QCOMPARE(int(picks.size()), templates);
    if (cancel)
        cancelWhenShown("ExportProgress");
    std::vector<RibVectors::Rib> ribs;
    QString error;
    const bool built = buildRibsShowingProgress(fx.form.get(), fx.store(), picks, 50,
                                                RibVectors::allLayers(), &ribs, &error);
    QCOMPARE(built, !cancel);
    QVERIFY(error.isEmpty());
    if (cancel) {
        QVERIFY(ribs.empty());
        return;
    }
    // The same ribs as built in one go.
    std::vector<RibVectors::Rib> whole;
    QVERIFY(ExportJob::buildRibs(fx.store(), picks, 50, RibVectors::allLayers(), &whole, &error));
    QCOMPARE(ribs.size(), whole.size());
    for (size_t i = 0; i < ribs.size(); ++i)
        QCOMPARE(ribs[i].templateIndex, whole[i].templateIndex);
}

void TstFeedback::cancelledPrintWritesNothing()
{
    DrawingWindowFixture fx(manyTemplates(TForm3::kProgressFrom + 4));
    TForm3 preview(fx.form.get());
    preview.setDrawing(&fx.form->drawing());
    const QString pdf = fx.dir.filePath(QStringLiteral("series.pdf"));
    fx.prompts.printFiles.enqueue(pdf);
    cancelWhenShown("PrintProgress");
    const bool printed = preview.printSeries(TForm3::kProgressFrom + 4, [&](int i) {
        fx.form->drawing().SelectProfile(0, i);
        return TForm3::SeriesItem{&fx.form->drawing(), 100.0f + 5 * i, QStringLiteral("t"),
                                  QStringLiteral("l")};
    });
    QVERIFY(!printed);
    QVERIFY(preview.printCancelled());
    QVERIFY(QDir(fx.dir.path()).entryList({QStringLiteral("*.pdf*")}, QDir::Files).isEmpty());
}

void TstFeedback::previewZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::newRow("whole page") << 0;
    QTest::newRow("real size") << 100;
    QTest::newRow("half") << 50;
    QTest::newRow("beyond the largest") << 1000;
}

void TstFeedback::previewZoom()
{
    QFETCH(int, zoom);
    DrawingWindowFixture fx(threeNacaProfiles());
    TForm3 preview(fx.form.get());
    preview.setDrawing(&fx.form->drawing());
    preview.resize(900, 650);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    preview.startPrint(150);
    preview.setZoom(zoom);
    // The window can be enlarged.
    QVERIFY(preview.maximumSize().width() > preview.minimumSize().width());
    const QSize sheet = preview.previewImage().size(); // one pixel a millimetre
    const QSize shown = preview.PaintBox1->size();
    const double pxPerMm = preview.logicalDpiX() / 25.4;
    if (zoom == 0) {
        const QSize room = preview.PreviewArea->viewport()->size();
        QVERIFY(shown.width() <= room.width() && shown.height() <= room.height());
        QVERIFY(shown.width() >= room.width() - 12 || shown.height() >= room.height() - 12);
    } else {
        const double percent = std::min(zoom, 400) / 100.0;
        QVERIFY(std::abs(shown.width() - sheet.width() * pxPerMm * percent) <= 1);
        QVERIFY(std::abs(shown.height() - sheet.height() * pxPerMm * percent) <= 1);
    }
    // The zoom in percent of real size is shown.
    QVERIFY(preview.LabelZoom->text().endsWith(QStringLiteral("%")));
}

QTEST_MAIN(TstFeedback)
#include "tst_feedback.moc"
