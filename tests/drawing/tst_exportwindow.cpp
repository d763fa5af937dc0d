// The export button of the drawing window: dialog, save name, file.
#include "Naca.h"
#include "ScriptedPrompts.h"
#include "drawing/ExportDialog.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "drawing/TemplateDrawing.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{

QByteArray profileText(const char *digits, const QStringList &templates)
{
    const Naca::Section s = Naca::fourDigit(QString::fromLatin1(digits), 21);
    QByteArray text = "\r\nPROFIL " + s.name.toLatin1() + "\r\n";
    for (const QString &l : Naca::pointLines(s))
        text += l.toLatin1() + "\r\n";
    for (const QString &t : templates)
        text += t.toLatin1() + "\r\n";
    return text;
}

// A drawing window on a database of three profiles: NACA 0012 with three
// templates (the first one carries a rectangle), NACA 2412 with one, NACA
// 4412 with none.
struct Fixture {
    QTemporaryDir dir;
    QString before = QDir::currentPath();
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form;
    TForm2 *dialog = nullptr;
    QByteArray original;

    explicit Fixture(bool french)
    {
        Language::setFrench(french);
        original = profileText("0012", {"GABARIT 100;10;", "FIGURE 0;100;-20;300;20;0;",
                                        "FIGURE 2;-300;-40;-100;40;0;", "GABARIT 150;15;",
                                        "GABARIT 200;8;"}) +
                   profileText("2412", {"GABARIT 180;10;"}) + profileText("4412", {});
        QFile f(dir.filePath("Profils.pro"));
        f.open(QIODevice::WriteOnly);
        f.write(original);
        f.close();
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>();
        dialog = new TForm2(form.get());
        form->setForm2(dialog);
        form->resize(900, 700);
        form->prepareToShow();
    }
    ~Fixture() { QDir::setCurrent(before); }
};

} // namespace

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
    Fixture fx(french);
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
    QVERIFY(fx.prompts.messages.isEmpty());
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
