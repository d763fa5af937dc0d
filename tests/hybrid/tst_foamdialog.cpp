// The foam core dialog: its settings refused or cut, the preview drawn with
// both faces and the wire, and the G-code it writes the same as the
// command line's.
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "hybrid/HotWireCommand.h"
#include "hybrid/TFormfoam.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace
{

QByteArray database()
{
    return Naca::profilsText(
        {{"2412", 81, {"GABARIT 200;15;"}}, {"0012", 81, {"GABARIT 150;10;"}}});
}

// Pixels of the image close to a colour.
int pixels(const QImage &image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                     std::abs(c.blue() - colour.blue()) <
                 90;
        }
    return n;
}

} // namespace

class TstFoamDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void settings_data();
    void settings();
    void printButton_data();
    void printButton();
};

void TstFoamDialog::printButton_data()
{
    QTest::addColumn<QString>("target"); // answer to the printer question, under the folder
    QTest::addColumn<bool>("written");   // a whole PDF there
    QTest::addColumn<QString>("said");   // start of the message; empty: none

    QTest::newRow("to a PDF file") << "printed.pdf" << true << "";
    QTest::newRow("cancelled") << "" << false << "";
    QTest::newRow("onto a folder") << "folder" << false << "folder : ";
}

// The button asks through the prompts, and a PDF printed to a file is
// written whole or not at all.
void TstFoamDialog::printButton()
{
    QFETCH(QString, target);
    QFETCH(bool, written);
    QFETCH(QString, said);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database());
    PanelInputs in;
    in.root.profile = "NACA 2412";
    in.tip.profile = "NACA 0012";
    in.span = 400;
    TFormfoam dialog(&store, [&] { return in; });
    dialog.start();
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    if (!target.isEmpty())
        prompts.printFiles.enqueue(dir.filePath(target));
    dialog.ButtonPrint->click();
    QCOMPARE(prompts.printCaptions.size(), 1);
    QFile printed(dir.filePath(target));
    QCOMPARE(QFileInfo(printed).isFile(), written);
    if (written) {
        QVERIFY(printed.open(QIODevice::ReadOnly));
        const QByteArray pdf = printed.readAll();
        QVERIFY(pdf.startsWith("%PDF") && pdf.trimmed().endsWith("%%EOF"));
        QVERIFY(pdf.count("/Type /Page") - pdf.count("/Type /Pages") >= 1);
    }
    QCOMPARE(prompts.messages.size(), said.isEmpty() ? 0 : 1);
    if (!said.isEmpty())
        QVERIFY(prompts.messages.front().startsWith(dir.filePath(said)));
    // Nothing else left in the folder: no partial or temporary file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), written ? 1 : 0);
}

void TstFoamDialog::settings_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("kerf");
    QTest::addColumn<double>("washout");
    QTest::addColumn<QString>("error"); // under the preview; empty: cut

    QTest::newRow("taper and washout") << 800.0 << 100.0 << 1.0 << 2.0 << "";
    QTest::newRow("block at the left tower") << 400.0 << 0.0 << 0.0 << 0.0 << "";
    QTest::newRow("block wider than the towers")
        << 450.0 << 100.0 << 0.0 << 0.0
        << "The block (offset 100 + span 400 mm) is wider than the towers, 450 mm apart.";
    QTest::newRow("kerf larger than the core")
        << 800.0 << 0.0 << 20.0 << 0.0
        << "The kerf (20 mm) must be 0 or more and thinner than the core (16.0056 mm thick).";
}

void TstFoamDialog::settings()
{
    QFETCH(double, width);
    QFETCH(double, offset);
    QFETCH(double, kerf);
    QFETCH(double, washout);
    QFETCH(QString, error);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database());
    PanelInputs in;
    in.name = "AILE";
    in.root.profile = "NACA 2412";
    in.tip.profile = "NACA 0012";
    in.tip.angle = -washout;
    in.span = 400;
    TFormfoam dialog(&store, [&] { return in; });
    dialog.start();
    QCOMPARE(dialog.EditWashout->value(), washout);
    dialog.EditWidth->setValue(width);
    dialog.EditOffset->setValue(offset);
    dialog.EditKerf->setValue(kerf);
    dialog.refresh();
    QCOMPARE(dialog.LabelError->text(), error);
    QCOMPARE(dialog.ButtonGcode->isEnabled(), error.isEmpty());
    if (!error.isEmpty())
        return;
    // The slider walks every move and starts at the leading edge.
    QCOMPARE(dialog.SliderMove->maximum() + 1, int(dialog.cut().moves.size()));
    QCOMPARE(dialog.SliderMove->value(), dialog.cut().faces.leadingEdge);

    // Both faces in their colours, the wire in green.
    QImage image(480, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        paintFoamCut(p, dialog.cut(), dialog.SliderMove->value(), QRectF(image.rect()));
    }
    QVERIFY(pixels(image, QColor(200, 0, 0)) > 300);
    QVERIFY(pixels(image, QColor(0, 0, 200)) > 300);
    QVERIFY(pixels(image, QColor(0, 140, 0)) > 100);
    if (const QByteArray dir = qgetenv("NERVURIA_FOAM_PNG"); !dir.isEmpty()) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.grab().save(QString::fromLocal8Bit(dir) + "/" + QTest::currentDataTag() + ".png");
    }

    // The dialog's file is the command line's, in either feed mode.
    QTemporaryDir dir;
    QFile db(dir.filePath("Profils.pro"));
    QVERIFY(db.open(QIODevice::WriteOnly));
    db.write(database());
    db.close();
    for (const char *mode : {"combined", "inverse"}) {
        dialog.ComboFeedMode->setCurrentIndex(mode == QLatin1String("inverse"));
        dialog.refresh();
        QVERIFY(dialog.writeGcode(dir.filePath("dialog.ngc")));
        QString out, err;
        QTextStream o(&out), e(&err);
        const QStringList args =
            QString("--root|NACA 2412|--tip|NACA 0012|--span|400|--width|%1|--offset|%2|--kerf|%3|"
                    "--washout|%4|--feed-mode|%5|--db|%6|-o|%7")
                .arg(width)
                .arg(offset)
                .arg(kerf)
                .arg(washout)
                .arg(mode, db.fileName(), dir.filePath("command.ngc"))
                .split('|');
        QCOMPARE(HotWireCommand::run(args, o, e), 0);
        QFile a(dir.filePath("dialog.ngc")), b(dir.filePath("command.ngc"));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), b.readAll());
    }

    // Printed on A4 paper across: one page holds both templates.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("printed.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    QVERIFY(dialog.printTemplates(printer));
    QFile printed(dir.filePath("printed.pdf"));
    QVERIFY(printed.open(QIODevice::ReadOnly));
    const QByteArray pdf = printed.readAll();
    if (const QByteArray out = qgetenv("NERVURIA_FOAM_PNG"); !out.isEmpty())
        QFile::copy(printed.fileName(), QString::fromLocal8Bit(out) + "/printed.pdf");
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), 1);
}

QTEST_MAIN(TstFoamDialog)
#include "tst_foamdialog.moc"
