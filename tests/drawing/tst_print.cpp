#include "Naca.h"
#include "PrintedSheets.h"
#include "ScriptedPrompts.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "drawing/TForm3.h"
#include "profiles/ProfileStore.h"
#include "render/PrintPages.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace
{

const QList<int> kChords{150, 250, 300, 340, 345, 355, 370, 400, 527, 538, 560};

// A drawing window and its print preview on one NACA 0012 profile with a
// template (skin 1 mm) for each chord of kChords, in that order.
struct Fixture {
    QTemporaryDir dir;
    QString before = QDir::currentPath();
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form;
    TForm3 *preview = nullptr;

    explicit Fixture(bool french = true)
    {
        Language::setFrench(french);
        const Naca::Section s = Naca::fourDigit(QStringLiteral("0012"), 41);
        QByteArray text = "\r\nPROFIL NACA 0012\r\n";
        for (const QString &l : Naca::pointLines(s))
            text += l.toLatin1() + "\r\n";
        for (int c : kChords)
            text += "GABARIT " + QByteArray::number(c) + ";10;\r\n";
        QFile f(dir.filePath("Profils.pro"));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        f.close();
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>();
        preview = new TForm3(form.get());
        preview->setDrawing(&form->drawing());
        form->setForm3(preview);
        auto *dialog = new TForm2(form.get());
        form->setForm2(dialog);
        form->resize(900, 700);
        form->prepareToShow();
    }
    ~Fixture() { QDir::setCurrent(before); }

    void chooseChord(int chord)
    {
        const int i = int(kChords.indexOf(chord));
        form->CB2->setCurrentIndex(i);
        emit form->CB2->activated(i);
    }
    // Presses "&Imprimer"; while the preview is open, `inside` runs and then
    // `close` is clicked (unless null: `inside` closes it).
    void print(const std::function<void()> &inside, QPushButton *TForm3::*close)
    {
        QTimer::singleShot(0, form.get(), [this, inside, close] {
            if (inside)
                inside();
            if (close)
                (preview->*close)->click();
        });
        form->Btimprime->click();
    }
};

bool hasTool(const char *name)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT
private slots:
    void pageLayout_data();
    void pageLayout();
    void proposedTexts_data();
    void proposedTexts();
    void cancelAndPrinterChoice_data();
    void cancelAndPrinterChoice();
    void printedPages_data();
    void printedPages();
    void printerSetupOrientation_data();
    void printerSetupOrientation();
    void scaleOnPaper_data();
    void scaleOnPaper();
};

void TestPrint::pageLayout_data()
{
    QTest::addColumn<int>("chord");
    QTest::addColumn<int>("before"); // orientation item left by the last print
    QTest::addColumn<int>("byHand"); // orientation item clicked, -1 none
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<QList<int>>("origins"); // page origin x of each page

    const QList<int> portrait2{20, -140};
    const QList<int> landscape2{20, -240};
    const QList<int> landscape3{20, -240, -500};
    QTest::newRow("150: one portrait page, centred") << 150 << 1 << -1 << true << QList<int>{30};
    QTest::newRow("150: landscape by hand") << 150 << 0 << 1 << false << QList<int>{73};
    QTest::newRow("250: one landscape page") << 250 << 0 << -1 << false << QList<int>{23};
    QTest::newRow("250: portrait by hand, two pages") << 250 << 1 << 0 << true << portrait2;
    QTest::newRow("300: already portrait") << 300 << 0 << -1 << true << portrait2;
    QTest::newRow("300: from landscape") << 300 << 1 << -1 << true << portrait2;
    QTest::newRow("340: longest on two portrait pages") << 340 << 0 << -1 << true << portrait2;
    // Two portrait pages end 350 mm from the leading edge: the trailing
    // edge and its axis would be cut off, so landscape is taken.
    QTest::newRow("345: already portrait, tail would be cut")
        << 345 << 0 << -1 << false << landscape2;
    QTest::newRow("355: portrait by hand snaps back") << 355 << 1 << 0 << false << landscape2;
    QTest::newRow("370: already portrait") << 370 << 0 << -1 << false << landscape2;
    QTest::newRow("370: from landscape") << 370 << 1 << -1 << false << landscape2;
    QTest::newRow("370: portrait by hand snaps back") << 370 << 1 << 0 << false << landscape2;
    QTest::newRow("400: two landscape pages") << 400 << 0 << -1 << false << landscape2;
    QTest::newRow("527: longest on two landscape pages") << 527 << 1 << -1 << false << landscape2;
    QTest::newRow("538: a third landscape page") << 538 << 1 << -1 << false << landscape3;
    QTest::newRow("560: a third landscape page") << 560 << 0 << -1 << false << landscape3;
}

// Page count, orientation and page origins; the page buttons; every
// millimetre of the chord on some page; the check bar clear of the template
// and on the sheet; the screen drawing back after Cancel.
void TestPrint::pageLayout()
{
    QFETCH(int, chord);
    QFETCH(int, before);
    QFETCH(int, byHand);
    QFETCH(bool, portrait);
    QFETCH(QList<int>, origins);
    Fixture fx;
    fx.chooseChord(chord);
    TForm3 &d = *fx.preview;
    d.RadioGroup1->setItemIndex(before);
    const TemplateDrawing &drawing = fx.form->drawing();

    QList<int> seen;
    bool page2Shown = false, nextShown = false, inside = true, onSheet = true;
    int pageCount = 0, radio = -1;
    fx.print(
        [&] {
            if (byHand >= 0)
                d.RadioGroup1->item(byHand)->click();
            radio = d.RadioGroup1->itemIndex();
            pageCount = d.pageCount();
            page2Shown = d.Button2->isVisibleTo(&d);
            nextShown = d.Button3->isVisibleTo(&d);
            for (int page = 1; page <= d.pageCount(); ++page) {
                if (page == 2)
                    d.Button2->click();
                else if (page > 2)
                    d.Button3->click();
                QCOMPARE(d.currentPage(), page);
                QCOMPARE(drawing.geometry().mode, OutputMode::Preview);
                seen << roundPixel(d.pageSetup().originXmm);
                QCOMPARE(d.pageSetup().originYmm, 110.0f);
                const QRect bar = drawing.checkBarBounds();
                inside = inside && !bar.intersects(drawing.templateBounds());
                onSheet = onSheet && d.previewImage().rect().contains(bar);
            }
        },
        &TForm3::BitBtn2);

    QCOMPARE(radio, portrait ? 0 : 1);
    QCOMPARE(d.portrait(), portrait);
    QCOMPARE(pageCount, int(origins.size()));
    QCOMPARE(seen, origins);
    QCOMPARE(page2Shown, pageCount >= 2);
    QCOMPARE(nextShown, pageCount >= 3);
    QVERIFY2(inside, "the check bar overlaps the template");
    QVERIFY2(onSheet, "the check bar leaves the sheet");
    QCOMPARE(d.previewImage().width(), portrait ? 210 : 297);
    // The chord and the 10 mm of axis behind it land on the sheets.
    const float width = PrintPages::sheetWidth(portrait);
    float covered = 0;
    for (int origin : origins) {
        QVERIFY(-origin <= covered);
        covered = std::max(covered, width - float(origin));
    }
    QVERIFY2(covered >= chord + 10, qPrintable(QString::number(covered)));
    // Cancelled: nothing printed, the screen drawing is back.
    QCOMPARE(fx.prompts.printCaptions.size(), 0);
    QCOMPARE(drawing.geometry().mode, OutputMode::Screen);
}

void TestPrint::proposedTexts_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("label");
    QTest::newRow("French") << true << "Profil  NACA 0012"
                            << "Corde 300mm     Coffrage 10/10 mm";
    QTest::newRow("English") << false << "Airfoil  NACA 0012"
                             << "Chord 300mm     Skin 10/10 mm";
}

// The texts proposed in the preview, re-proposed at each print even after
// the user changed them.
void TestPrint::proposedTexts()
{
    QFETCH(bool, french);
    QFETCH(QString, title);
    QFETCH(QString, label);
    Fixture fx(french);
    fx.chooseChord(300);
    QString t1, l1, t2;
    fx.print(
        [&] {
            t1 = fx.preview->Edit3->text();
            l1 = fx.preview->Edit4->text();
            fx.preview->Edit3->setText(QStringLiteral("changed"));
        },
        &TForm3::BitBtn2);
    fx.print([&] { t2 = fx.preview->Edit3->text(); }, &TForm3::BitBtn2);
    QCOMPARE(t1, title);
    QCOMPARE(l1, label);
    QCOMPARE(t2, title);
    QCOMPARE(fx.preview->windowTitle(), QStringLiteral("NERVURIA  - Aperçu avant impression"));
}

void TestPrint::cancelAndPrinterChoice_data()
{
    QTest::addColumn<int>("key");      // pressed in the title field; 0: "Imprimer" clicked
    QTest::addColumn<QString>("file"); // answer of the print dialog; empty cancels
    QTest::addColumn<int>("asked");    // print dialogs opened
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("messages");
    QTest::newRow("print dialog cancelled") << 0 << "" << 1 << false << 0;
    QTest::newRow("PDF written") << 0 << "out.pdf" << 1 << true << 0;
    QTest::newRow("folder that does not exist") << 0 << "missing/out.pdf" << 1 << false << 1;
    QTest::newRow("Enter in the title prints")
        << int(Qt::Key_Return) << "out.pdf" << 1 << true << 0;
    QTest::newRow("Escape in the title cancels")
        << int(Qt::Key_Escape) << "out.pdf" << 0 << false << 0;
}

// "Imprimer" (or Enter, its default button) asks for a printer; Escape
// closes the preview unprinted; a cancelled print dialog prints nothing and
// a file that cannot be written is reported, never left half written.
void TestPrint::cancelAndPrinterChoice()
{
    QFETCH(int, key);
    QFETCH(QString, file);
    QFETCH(int, asked);
    QFETCH(bool, written);
    QFETCH(int, messages);
    Fixture fx;
    fx.chooseChord(150);
    const QString path = file.isEmpty() ? QString() : fx.dir.filePath(file);
    if (!path.isEmpty())
        fx.prompts.printFiles.enqueue(path);
    if (key == 0) {
        // Not printed (print dialog cancelled, job failed), the preview
        // stays open to print again or be closed.
        bool stayedOpen = false;
        fx.print(
            [&] {
                fx.preview->BitBtn1->click();
                stayedOpen = fx.preview->isVisible();
                if (stayedOpen)
                    fx.preview->BitBtn2->click();
            },
            nullptr);
        QCOMPARE(stayedOpen, !written);
    } else {
        fx.print(
            [&] {
                TForm3 *d = fx.preview;
                d->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(d));
                d->Edit3->setFocus();
                QTest::keyClick(d->Edit3, Qt::Key(key));
            },
            nullptr);
    }
    QVERIFY(!fx.preview->isVisible());
    QCOMPARE(fx.prompts.printCaptions.size(), asked);
    QCOMPARE(!path.isEmpty() && QFile::exists(path), written);
    QCOMPARE(fx.prompts.messages.size(), messages);
    QCOMPARE(fx.form->drawing().geometry().mode, OutputMode::Screen);
    QVERIFY(QDir(fx.dir.path()).entryList({QStringLiteral("*.pdf*")}, QDir::Files).size() ==
            (written ? 1 : 0));
}

void TestPrint::printedPages_data()
{
    QTest::addColumn<int>("chord");
    QTest::addColumn<int>("shown"); // page on show when printing
    QTest::addColumn<bool>("all");  // "Imprimer tout"
    QTest::addColumn<QStringList>("headers");
    QTest::newRow("one page") << 150 << 1 << false << QStringList{"Page 1 / 1"};
    QTest::newRow("page 2 on show") << 300 << 2 << false << QStringList{"Page 2 / 2"};
    QTest::newRow("all of two") << 300 << 2 << true << QStringList{"Page 1 / 2", "Page 2 / 2"};
    QTest::newRow("all of three") << 560 << 1 << true
                                  << QStringList{"Page 1 / 3", "Page 2 / 3", "Page 3 / 3"};
}

// "Imprimer" prints the page on show, "Imprimer tout" every page in one
// job; each sheet carries its header, the title, the label and the check
// bar's label.
void TestPrint::printedPages()
{
    if (!hasTool("pdftotext"))
        QSKIP("pdftotext (poppler-utils) is not installed");
    QFETCH(int, chord);
    QFETCH(int, shown);
    QFETCH(bool, all);
    QFETCH(QStringList, headers);
    Fixture fx;
    fx.chooseChord(chord);
    const QString pdf = fx.dir.filePath(QStringLiteral("pages.pdf"));
    fx.prompts.printFiles.enqueue(pdf);
    fx.print(
        [&] {
            if (shown == 2)
                fx.preview->Button2->click();
        },
        all ? &TForm3::BitBtn4 : &TForm3::BitBtn1);
    QStringList seen;
    for (int page = 1; page <= headers.size() + 1; ++page) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                    QString::number(page), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        text.waitForFinished();
        const QString out = QString::fromUtf8(text.readAllStandardOutput());
        if (text.exitCode() != 0 || out.trimmed().isEmpty())
            break;
        seen << out.section(QLatin1Char('\n'), 0, 0).trimmed();
        QVERIFY(out.contains(QStringLiteral("NACA 0012")));
        QVERIFY(out.contains(QStringLiteral("Coffrage 10/10 mm")));
        QVERIFY(out.contains(QStringLiteral("100 mm")));
    }
    QCOMPARE(seen, headers);
}

void TestPrint::printerSetupOrientation_data()
{
    QTest::addColumn<int>("chord");
    QTest::addColumn<bool>("chosenPortrait");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<int>("pages");
    QTest::newRow("150 turned to landscape") << 150 << false << false << 1;
    QTest::newRow("250 turned to portrait") << 250 << true << true << 2;
    QTest::newRow("400 stays landscape") << 400 << true << false << 2;
}

// An orientation chosen in "Configurer" becomes the preview's, under the
// same rule as a hand choice.
void TestPrint::printerSetupOrientation()
{
    QFETCH(int, chord);
    QFETCH(bool, chosenPortrait);
    QFETCH(bool, portrait);
    QFETCH(int, pages);
    Fixture fx;
    fx.chooseChord(chord);
    fx.prompts.setupChoice = [&](QPrinter &printer) {
        printer.setPageOrientation(chosenPortrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    };
    fx.print([&] { fx.preview->BitBtn3->click(); }, &TForm3::BitBtn2);
    QCOMPARE(fx.prompts.printerSetups, 1);
    QCOMPARE(fx.preview->portrait(), portrait);
    QCOMPARE(fx.preview->pageCount(), pages);
    QCOMPARE(fx.preview->RadioGroup1->itemIndex(), portrait ? 0 : 1);
    QCOMPARE(fx.preview->printer().pageLayout().orientation(),
             portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    QCOMPARE(fx.preview->previewImage().width(), portrait ? 210 : 297);
}

void TestPrint::scaleOnPaper_data()
{
    QTest::addColumn<int>("chord");
    QTest::addColumn<bool>("all"); // "Imprimer tout"
    QTest::addColumn<int>("sheets");
    QTest::newRow("150 mm, one page") << 150 << false << 1;
    QTest::newRow("300 mm, both pages in one job") << 300 << true << 2;
}

// Printed to PDF, rendered at 600 dpi and measured: the leading and trailing
// edge axes one chord apart, the check bar 100 mm with ticks every 10 mm,
// within 0.1 mm; on two pages the join marks land where the sheets overlap.
void TestPrint::scaleOnPaper()
{
    if (!hasTool("pdftoppm"))
        QSKIP("pdftoppm (poppler-utils) is not installed");
    QFETCH(int, chord);
    QFETCH(bool, all);
    QFETCH(int, sheets);
    Fixture fx;
    fx.chooseChord(chord);
    const QString pdf = fx.dir.filePath(QStringLiteral("print.pdf"));
    fx.prompts.printFiles.enqueue(pdf);
    fx.print({}, all ? &TForm3::BitBtn4 : &TForm3::BitBtn1);
    QVERIFY(QFile::exists(pdf));
    // NERVURIA_KEEP_PDF=/tmp/x keeps the files (/tmp/x150.pdf, ...) to look at.
    if (qEnvironmentVariableIsSet("NERVURIA_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("NERVURIA_KEEP_PDF") + QString::number(chord) +
                             QStringLiteral(".pdf"));
    const QList<Sheet> pages = renderPdf(pdf, fx.dir.filePath(QStringLiteral("sheet")));
    QCOMPARE(pages.size(), sheets);
    const QList<Sheet> smooth = renderPdf(pdf, fx.dir.filePath(QStringLiteral("smooth")), true);
    QCOMPARE(smooth.size(), sheets);

    QList<Found> found;
    for (int page = 0; page < pages.size(); ++page) {
        const Sheet &s = pages[page];
        const Found f = measure(s);
        QVERIFY(f.chordRow > 0);
        QCOMPARE(f.barTicks.size(), 11);
        QVERIFY2(std::abs(Sheet::mm(f.barLength) - 100) < 0.1,
                 qPrintable(QString::number(Sheet::mm(f.barLength))));
        for (int k = 1; k < 10; ++k) {
            const double at = Sheet::mm(f.barTicks[k] - f.barStart);
            QVERIFY2(std::abs(at - 10 * k) < 0.1, qPrintable(QString::number(at)));
        }
        // Read as a builder checks with a rule: every tick centred on its
        // place, 0, 10, ..., 100 mm from the bar's left end, the end ticks
        // on the bar's ends.
        const BarPlaces places = barPlaces(smooth[page], f);
        QVERIFY2(std::abs(places.rightEnd - 100) < 0.02, qPrintable(QString::number(places.rightEnd)));
        for (int k = 0; k <= 10; ++k) {
            const double at = places.ticks[k];
            QVERIFY2(std::abs(at - 10 * k) < 0.02,
                     qPrintable(QStringLiteral("tick %1 at %2 mm").arg(k).arg(at, 0, 'f', 3)));
        }
        qInfo("check bar %.3f mm, first tick %.3f, last tick %.3f mm", places.rightEnd,
              places.ticks.first(), places.ticks.last());
        found << f;
    }
    const double tol = 0.1;
    if (sheets == 1) {
        QCOMPARE(found[0].axes.size(), 2);
        const double d = Sheet::mm(found[0].axes[1] - found[0].axes[0]);
        qInfo("edge to edge %.3f mm, check bar %.3f mm", d, Sheet::mm(found[0].barLength));
        QVERIFY2(std::abs(d - chord) < tol, qPrintable(QString::number(d)));
        QCOMPARE(found[0].marks.size(), 0);
        return;
    }
    // Page 1: the leading edge axis and, 160 mm behind it, the join marks
    // (above and below the profile, in one column). Page 2: the marks and,
    // chord - 160 mm behind them, the trailing edge axis.
    QCOMPARE(found[0].axes.size(), 1);
    QCOMPARE(found[1].axes.size(), 1);
    QCOMPARE(found[0].marks.size(), 1);
    QCOMPARE(found[1].marks.size(), 1);
    const double lead = Sheet::mm(found[0].marks[0] - found[0].axes[0]);
    const double tail = Sheet::mm(found[1].axes[0] - found[1].marks[0]);
    qInfo("leading edge to marks %.3f mm, marks to trailing edge %.3f mm, check bars %.3f and "
          "%.3f mm, chord lines %d and %d px from the top",
          lead, tail, Sheet::mm(found[0].barLength), Sheet::mm(found[1].barLength),
          found[0].chordRow, found[1].chordRow);
    QVERIFY2(std::abs(lead - 160) < tol, qPrintable(QString::number(lead)));
    QVERIFY2(std::abs(tail - (chord - 160)) < tol, qPrintable(QString::number(tail)));
    QVERIFY2(std::abs(lead + tail - chord) < tol, "leading to trailing edge across the join");
    // Laid one on the other at the marks, the chord lines coincide.
    QVERIFY(std::abs(Sheet::mm(found[0].chordRow - found[1].chordRow)) < tol);
    QVERIFY(std::abs(Sheet::mm(found[0].marks[0] - found[1].marks[0]) - 160) < tol);
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
