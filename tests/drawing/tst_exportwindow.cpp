// The export button of the drawing window: dialog, save name, file.
#include "DrawingWindowFixture.h"
#include "drawing/ExportDialog.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"
#include "ui/StatusLine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TstExportWindow : public QObject
{
    Q_OBJECT
private slots:
    void exportButton_data();
    void exportButton();
};

void TstExportWindow::exportButton_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("withText");
    QTest::addColumn<QString>("saveName"); // empty: the save dialog is cancelled
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QByteArray>("counted"); // what marks one rib in the file
    QTest::addColumn<int>("ribs");
    const int svg = int(VectorExport::Format::Svg), dxf = int(VectorExport::Format::Dxf),
              pdf = int(VectorExport::Format::Pdf);
    QTest::newRow("shown template, SVG, French")
        << true << 0 << svg << true << "a.svg"
        << "Exporter les gabarits" << QByteArray("<text") << 1;
    QTest::newRow("every template of the profile, DXF, English")
        << false << 1 << dxf << true << "b.dxf"
        << "Export templates" << QByteArray("\nTEXT\n") << 3;
    QTest::newRow("chosen profiles, PDF") << true << 2 << pdf << true << "c.pdf"
                                          << "Exporter les gabarits" << QByteArray("%PDF") << 1;
    QTest::newRow("text layer left out") << true << 1 << svg << false << "d.svg"
                                         << "Exporter les gabarits" << QByteArray("<text") << 0;
    QTest::newRow("save cancelled: no file") << true << 0 << svg << true << ""
                                             << "Exporter les gabarits" << QByteArray() << 0;
}

void TstExportWindow::exportButton()
{
    QFETCH(bool, french);
    QFETCH(int, which);
    QFETCH(int, format);
    QFETCH(bool, withText);
    QFETCH(QString, saveName);
    QFETCH(QString, caption);
    QFETCH(QByteArray, counted);
    QFETCH(int, ribs);
    DrawingWindowFixture fx(threeNacaProfiles(), french);
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QString path = saveName.isEmpty() ? QString() : fx.dir.filePath(saveName);
    fx.prompts.saveNames.enqueue(path);

    bool shown = false;
    QTimer::singleShot(0, &f, [&] {
        ExportDialog *d = f.exportDialog();
        shown = d->isVisible();
        d->CbFormat->setCurrentIndex(d->CbFormat->findData(format));
        (which == 0 ? d->RbCurrent : which == 1 ? d->RbProfile : d->RbChosen)->setChecked(true);
        d->ListProfiles->clearSelection();
        d->ListProfiles->item(0)->setSelected(true); // NACA 0012
        d->ListProfiles->item(1)->setSelected(true); // NACA 2412
        d->CheckLayers[RibVectors::Text]->setChecked(withText);
        d->accept();
    });
    QTest::mouseClick(f.BtExporter, Qt::LeftButton);
    QVERIFY(shown);
    QCOMPARE(fx.prompts.saveCaptions, QStringList{caption});
    // NACA 0012's circle left of the nose is named once when the template
    // is drawn; a written file is followed by one message that names it
    // again, and the status line gives the sheets used and the area covered.
    const QString outside = french ? QStringLiteral("la figure 2 est hors du gabarit")
                                   : QStringLiteral("figure 2 is outside the template");
    QCOMPARE(fx.prompts.messages.size(), path.isEmpty() ? 1 : 2);
    QCOMPARE(fx.prompts.messages.first(), outside);
    if (!path.isEmpty()) {
        QVERIFY(f.Status->text().contains(french ? QStringLiteral("planche(s)")
                                                 : QStringLiteral("sheet(s)")));
        QVERIFY(fx.prompts.messages.last().contains(outside));
    }
    if (path.isEmpty()) {
        QCOMPARE(QDir(fx.dir.path()).entryList({"*.svg"}).size(), 0);
        return;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    if (format == int(VectorExport::Format::Pdf))
        QVERIFY(data.startsWith(counted));
    else
        QCOMPARE(int(data.count(counted)), ribs);
    // The database is not touched by an export.
    QFile db(fx.dir.filePath("Profils.pro"));
    QVERIFY(db.open(QIODevice::ReadOnly));
    QCOMPARE(db.readAll(), fx.original);
}

QTEST_MAIN(TstExportWindow)
#include "tst_exportwindow.moc"
