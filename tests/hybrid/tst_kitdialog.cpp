// The structure dialog of a panel: fields to ribs and plan with their
// previews, the panel file saved and opened again, the kit exported, typed
// mistakes shown in the dialog instead of a message.
#include "Naca.h"
#include "PrintedSheets.h"
#include "ScriptedPrompts.h"

#include "drawing/TForm3.h"
#include "ui/StatusLine.h"

#include "hybrid/TFormkit.h"
#include "hybrid/TFormpanneau.h"
#include "profiles/ProfileStore.h"
#include "ui/Help.h"
#include "ui/Language.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{

QByteArray database()
{
    return Naca::profilsText(
        {{"2412", 81, {"GABARIT 200;15;"}}, {"0012", 81, {"GABARIT 150;15;"}}});
}

PanelInputs panel()
{
    PanelInputs in;
    in.name = QStringLiteral("AILE");
    in.root.profile = QStringLiteral("NACA 2412");
    in.tip.profile = QStringLiteral("NACA 0012");
    in.span = 400;
    in.ribCount = 5;
    return in;
}

// How many pixels of the image are mostly red (the cut layer).
int redPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 150 && c.green() < 120 && c.blue() < 120;
        }
    return n;
}

// The lengths in mm of the long horizontal lines of a printed sheet (each
// row's longest dark run of at least `from` mm; a line's rows counted once).
QList<double> longLines(const Sheet &s, double from)
{
    QList<double> lines;
    int previous = -2;
    for (int y = 0; y < s.image.height(); ++y) {
        int best = 0, run = 0;
        for (int x = 0; x < s.image.width(); ++x) {
            run = s.dark(x, y) ? run + 1 : 0;
            best = std::max(best, run);
        }
        if (Sheet::mm(best) < from)
            continue;
        if (y != previous + 1)
            lines << Sheet::mm(best);
        else
            lines.last() = std::max(lines.last(), Sheet::mm(best));
        previous = y;
    }
    return lines;
}

// The structure dialog of panel() on database(), with its print preview;
// the print dialog answers kit.pdf in a folder of its own.
struct KitPrint {
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    ProfileStore store;
    TForm3 preview;
    std::unique_ptr<TFormkit> dialog;
    QString pdf;

    KitPrint()
    {
        store.loadFromBytes(database());
        dialog = std::make_unique<TFormkit>(&store, panel, nullptr, &preview);
        pdf = dir.filePath(QStringLiteral("kit.pdf"));
        prompts.printFiles.enqueue(pdf);
    }
    // "Imprimer…", then, once the preview shows, whileShown() and a click on
    // one of its print buttons.
    void print(QPushButton *button, const std::function<void()> &whileShown)
    {
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(preview.isVisible());
            whileShown();
            QTest::mouseClick(button, Qt::LeftButton);
            if (preview.isVisible())
                preview.reject();
        });
        dialog->printKit();
    }
};

} // namespace

class TstKitDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void fields_data();
    void fields();
    void fileAndExport();
    void panelDialogOpensIt();
    void printed_data();
    void printed();
    void paperChosen_data();
    void paperChosen();
};

void TstKitDialog::paperChosen_data()
{
    QTest::addColumn<int>("paper");     // QPageSize::PageSizeId chosen in the print dialog
    QTest::addColumn<bool>("all");      // "Imprimer tout", else the page shown
    QTest::addColumn<QString>("said");  // start of the message; empty: printed
    QTest::newRow("A4 as laid out") << int(QPageSize::A4) << false << "";
    QTest::newRow("A3, all pages") << int(QPageSize::A3) << true << "";
    QTest::newRow("B5, all pages") << int(QPageSize::B5) << true << "";
    QTest::newRow("B5, the page shown")
        << int(QPageSize::B5) << false << "The sheets were laid out again for this paper";
    QTest::newRow("A7: a rib larger than the page")
        << int(QPageSize::A7) << true << "A rib is larger than the printable page";
}

// The kit is laid out again for the paper chosen in the print dialog: every
// PDF page is of that paper, and as many as the preview shows.
void TstKitDialog::paperChosen()
{
    QFETCH(int, paper);
    QFETCH(bool, all);
    QFETCH(QString, said);
    KitPrint kit;
    auto &[prompts, dir, store, preview, dialog, pdf] = kit;
    prompts.printChoice = [paper](QPrinter &printer) {
        printer.setPageSize(QPageSize(QPageSize::PageSizeId(paper)));
    };
    int laidOut = 0;
    kit.print(all ? preview.BitBtn4 : preview.BitBtn1, [&] { laidOut = preview.pageCount(); });
    QCOMPARE(prompts.messages.isEmpty(), said.isEmpty());
    if (!said.isEmpty()) {
        QVERIFY2(prompts.messages.front().startsWith(said), qPrintable(prompts.messages.front()));
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const int pages = int(bytes.count("/Type /Page") - bytes.count("/Type /Pages"));
    QCOMPARE(pages, all ? preview.pageCount() : 1);
    // Landscape pages of the paper chosen, in points.
    const QSizeF want = QPageSize(QPageSize::PageSizeId(paper)).size(QPageSize::Point);
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    int boxes = 0;
    for (auto it = box.globalMatch(QString::fromLatin1(bytes)); it.hasNext(); ++boxes) {
        const QRegularExpressionMatch m = it.next();
        QVERIFY(std::abs(m.captured(1).toDouble() - want.height()) < 1);
        QVERIFY(std::abs(m.captured(2).toDouble() - want.width()) < 1);
    }
    QCOMPARE(boxes, pages);
    // Laid out for the paper printed on.
    const QSizeF area = preview.printableMm(false);
    QVERIFY(std::abs(preview.sheetsArea().width() - area.width()) < 0.1);
    QVERIFY(std::abs(preview.sheetsArea().height() - area.height()) < 0.1);
    // A smaller paper takes no fewer pages, a larger one no more.
    QVERIFY(paper != QPageSize::B5 || preview.pageCount() >= laidOut);
    QVERIFY(paper != QPageSize::A3 || preview.pageCount() <= laidOut);
}

void TstKitDialog::fields_data()
{
    QTest::addColumn<QString>("washout");
    QTest::addColumn<QString>("spars");
    QTest::addColumn<double>("jig");
    QTest::addColumn<double>("holes");
    QTest::addColumn<QString>("error"); // shown under the previews; empty: ribs made
    QTest::newRow("full kit") << "2"
                              << "25:6x3:both\n60..50:5x4:top" << 20.0 << 4.0 << "";
    QTest::newRow("plain ribs") << ""
                                << "" << 0.0 << 0.0 << "";
    QTest::newRow("spar typed wrong") << ""
                                      << "25:6" << 0.0 << 0.0 << "--spar: POS:WxD";
    QTest::newRow("board too high") << "2"
                                    << "" << 3.0 << 0.0 << "Rib N01: a board 3 mm";
}

void TstKitDialog::fields()
{
    QFETCH(QString, washout);
    QFETCH(QString, spars);
    QFETCH(double, jig);
    QFETCH(double, holes);
    QFETCH(QString, error);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database());
    TFormkit dialog(&store, panel, {});
    dialog.EditWashout->setText(washout);
    dialog.MemoSpars->setPlainText(spars);
    dialog.EditJig->setValue(jig);
    dialog.EditHoles->setValue(holes);
    dialog.EditLeCut->setValue(5);
    dialog.refresh();
    const QString shown = dialog.LabelError->text();
    QVERIFY2(error.isEmpty() ? shown.isEmpty() : shown.startsWith(error), qPrintable(shown));
    QVERIFY(prompts.messages.isEmpty()); // a live preview never interrupts
    if (!error.isEmpty()) {
        QVERIFY(dialog.ribs().empty());
        return;
    }
    QCOMPARE(int(dialog.ribs().size()), 5);
    QCOMPARE(dialog.UpDownRib->maximum(), 5);
    // The rib preview and the plan preview both draw.
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        paintKitShapes(p, dialog.ribs()[2], QRectF(5, 5, 390, 190));
    }
    QVERIFY(redPixels(image) > 200);
    QVERIFY(!dialog.plan().shapes.empty());
    // The cut contour count: the outer contour and, with holes, the holes.
    int cuts = 0;
    for (const RibVectors::Shape &s : dialog.ribs()[2].shapes)
        cuts += s.layer == RibVectors::Cut;
    QVERIFY(holes > 0 ? cuts > 1 : cuts == 1);
}

void TstKitDialog::fileAndExport()
{
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    ProfileStore store;
    store.loadFromBytes(database());
    PanelInputs given;
    TFormkit dialog(&store, panel, [&](const PanelInputs &in) { given = in; });
    dialog.EditWashout->setText(QStringLiteral("1.5"));
    dialog.MemoSpars->setPlainText(QStringLiteral("30:5x3:top"));
    dialog.EditJig->setValue(18);
    dialog.EditTabs->setText(QStringLiteral("20; 70"));
    const QString file = dir.filePath(QStringLiteral("aile.json"));
    prompts.saveNames.enqueue(file);
    dialog.saveFile();
    QVERIFY(QFile::exists(file));

    TFormkit other(&store, panel, [&](const PanelInputs &in) { given = in; });
    prompts.openNames.enqueue({file});
    other.openFile();
    QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.join('\n')));
    QCOMPARE(other.EditWashout->text(), QStringLiteral("1.5"));
    QCOMPARE(other.MemoSpars->toPlainText(), QStringLiteral("30:5x3:top"));
    QCOMPARE(other.EditJig->value(), 18.0);
    QCOMPARE(other.EditTabs->text(), QStringLiteral("20; 70"));
    QCOMPARE(given.tip.angle, -1.5);
    QCOMPARE(given.root.profile, QStringLiteral("NACA 2412"));

    prompts.saveNames.enqueue(dir.filePath(QStringLiteral("aile.dxf")));
    other.exportKit();
    QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.join('\n')));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("aile.dxf"))));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("aile-plan.dxf"))));

    // A damaged file gives a message and leaves the fields as they were.
    QFile bad(dir.filePath(QStringLiteral("bad.json")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("{\"span\": \"long\"}");
    bad.close();
    prompts.openNames.enqueue({bad.fileName()});
    other.openFile();
    QCOMPARE(prompts.messages.size(), 1);
    QCOMPARE(other.EditJig->value(), 18.0);
}

// The panel dialog's button opens the structure on the panel's own fields;
// a panel file sets those fields.
void TstKitDialog::panelDialogOpensIt()
{
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database());
    TFormpanneau form(&store, nullptr);
    form.FormActivate();
    TFormkit *kit = form.kitDialog();
    PanelDefinition d;
    d.panel = panel();
    d.panel.tip.templ = 0;
    d.panel.root.angle = 0;
    d.panel.tip.angle = -2;
    d.kit.spars.push_back(*SparSpec::parse(QStringLiteral("25:6x3")));
    kit->setDefinition(d);
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("NACA 2412"));
    QCOMPARE(form.ComboBox2->currentText(), QStringLiteral("NACA 0012"));
    QCOMPARE(form.UpDown1->value(), 400);
    QCOMPARE(form.UpDown2->value(), 5);
    QCOMPARE(form.UpDown4->value(), -2);
    QCOMPARE(int(kit->ribs().size()), 5);
    QVERIFY(kit->LabelError->text().isEmpty());
    // Its help button's topics exist in both languages.
    for (const char *topic : {"STRUCTURE", "KIT"})
        QVERIFY(HelpViewer::fileHasTopic(NERVURIA_SOURCE_DIR "/sample/NERVURIA.HLP",
                                         QString::fromLatin1(topic)));
}

void TstKitDialog::printed_data()
{
    QTest::addColumn<QString>("spars");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("cancel"); // in the progress dialog
    QTest::newRow("full kit") << "25:6x3:both" << 1 << false;
    QTest::newRow("plain ribs") << "" << 1 << false;
    QTest::newRow("many pages, cancelled") << "" << 14 << true;
}

// Printed to PDF through the preview's "Imprimer tout", rendered at 600 dpi
// and measured: each rib's chord line as long as its chord, the plan's check
// bar 100 mm.
void TstKitDialog::printed()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        QSKIP("pdftoppm (poppler-utils) is not installed");
    QFETCH(QString, spars);
    QFETCH(int, copies);
    QFETCH(bool, cancel);
    KitPrint kit;
    auto &[prompts, dir, store, preview, dialogOwned, pdf] = kit;
    TFormkit &dialog = *dialogOwned;
    dialog.EditWashout->setText(QStringLiteral("2"));
    dialog.MemoSpars->setPlainText(spars);
    dialog.EditCopies->setValue(copies);
    int shownPages = 0, red = 0;
    kit.print(preview.BitBtn4, [&] {
        shownPages = preview.pageCount();
        red = redPixels(preview.previewImage());
        if (cancel)
            QTimer::singleShot(0, [] {
                for (QWidget *w : QApplication::topLevelWidgets())
                    if (auto *p = qobject_cast<QProgressDialog *>(w);
                        p && p->objectName() == QLatin1String("PrintProgress"))
                        p->cancel();
            });
    });
    QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.join('\n')));
    QVERIFY2(red > 100, qPrintable(QString::number(red))); // the first page's cut lines
    QVERIFY(shownPages > TForm3::kProgressFrom || !cancel);
    if (cancel) {
        QVERIFY(preview.printCancelled());
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(dialog.Status->text().isEmpty());
        return;
    }
    // The status line counts the pages: the ribs' first, then the plan's.
    const QRegularExpressionMatch counts =
        QRegularExpression(
            QStringLiteral("^Printed: (\\d+) page\\(s\\); ribs (\\d+), plan (\\d+)\\.$"))
            .match(dialog.Status->text());
    QVERIFY2(counts.hasMatch(), qPrintable(dialog.Status->text()));
    const int ribPages = counts.captured(2).toInt(), planPages = counts.captured(3).toInt();
    QCOMPARE(counts.captured(1).toInt(), shownPages);
    QCOMPARE(ribPages + planPages, shownPages);
    const QList<Sheet> pages = renderPdf(pdf, dir.filePath(QStringLiteral("page")));
    QCOMPARE(int(pages.size()), shownPages);
    // The 400 mm panel's plan, 200 mm deep, needs two sheets across and
    // two down.
    QCOMPARE(planPages, 4);
    QList<double> chords;
    for (int i = 0; i < ribPages; ++i) {
        QList<double> lines = longLines(pages[i], 95);
        // Each page's check bar: a line of 100 mm; the chord lines are longer.
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [](double l) { return std::abs(l - 100) < 0.2; }),
                 qPrintable(QStringLiteral("sheet %1: no 100 mm bar").arg(i + 1)));
        lines.removeIf([](double l) { return l < 140; });
        chords += lines;
    }
    std::sort(chords.begin(), chords.end());
    const QList<double> expected{150, 162.5, 175, 187.5, 200};
    QCOMPARE(chords.size(), expected.size());
    for (int i = 0; i < chords.size(); ++i)
        QVERIFY2(std::abs(chords[i] - expected[i]) < 0.2,
                 qPrintable(QStringLiteral("%1 against %2").arg(chords[i]).arg(expected[i])));
    for (int i = ribPages; i < shownPages; ++i) {
        const QList<double> lines = longLines(pages[i], 95);
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [](double l) { return std::abs(l - 100) < 0.2; }),
                 qPrintable(QStringLiteral("sheet %1: no 100 mm bar").arg(i + 1)));
    }
}

QTEST_MAIN(TstKitDialog)
#include "tst_kitdialog.moc"
