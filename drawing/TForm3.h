#pragma once

#include "render/PrintPages.h"
#include "ui/Controls.h"

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>

#include <functional>
#include <memory>

class TemplateDrawing;
class PreviewBox;
class QPagedPaintDevice;

// The print preview: the current template laid out on an A4 sheet at one
// pixel per millimetre, over a 10 mm grid of the sheet, with the title and
// label the printout will carry. "Imprimer" prints the page on show,
// "Imprimer tout" every page of the template in one job; both go through
// the print dialog, which offers the system's printers and PDF files.
class TForm3 : public QDialog
{
    Q_OBJECT
public:
    // What the dialog closed with.
    enum Result { Cancelled = QDialog::Rejected, PrintCurrent = QDialog::Accepted, PrintAll = 2 };

    explicit TForm3(QWidget *parent = nullptr);
    ~TForm3() override;

    // The drawing that is laid out on the page; it must outlive the dialog.
    void setDrawing(TemplateDrawing *drawing) { m_drawing = drawing; }

    QLabel *Label1, *Label2; // "Titre", "Libellé"
    QLineEdit *Edit3;        // title text
    QLineEdit *Edit4;        // label text
    PreviewBox *PaintBox1;
    RadioGroup *RadioGroup1; // "Orientation": "Portrait", "Paysage"
    QPushButton *Button1;    // "Aperçu page1"
    QPushButton *Button2;    // "Aperçu page2", shown for two pages or more
    QPushButton *Button3;    // "Page suivante", shown for three pages or more
    QLabel *Label3;          // the page on show, "Page 1 / 2"
    QPushButton *BitBtn3;    // "Configurer": the printer set-up
    QPushButton *BitBtn1;    // "Imprimer"
    QLabel *Label4;          // "(la page courante)"
    QPushButton *BitBtn4;    // "Imprimer tout"
    QPushButton *BitBtn2;    // "Annuler"
    // The zoom of the sheet on show: the whole page in the window, real
    // size, smaller, larger.
    QPushButton *BtFitPage, *BtRealSize, *BtZoomOut, *BtZoomIn;
    QLabel *LabelZoom;
    QScrollArea *PreviewArea;

    // The zoom in percent of real size; 0 fits the page to the window.
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    // Screen pixels a preview pixel (one millimetre).
    double zoomFactor() const;

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void PaintBox1Paint(QPainter &painter);
    void RadioGroup1Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void BitBtn3Click();

    // Operations on the preview image.
    void PreparePage();
    void DrawPageGrid();
    void SetPageOrigin();
    void DrawPageTitles();

    // Starts a print of a template of the given chord: decides the page
    // count and orientation, shows page 1.
    void startPrint(float chord);

    // Asks for a printer and prints pages first..last (1-based) of the
    // current layout in one job, each with its header and titles. False
    // when cancelled or when the job failed (the user was told).
    bool printPages(int first, int last);

    // One template of a print series: the drawing it is selected into, its
    // chord and the texts of its sheets.
    struct SeriesItem {
        TemplateDrawing *drawing = nullptr;
        float chord = 100;
        QString title, label;
        // A sheet its owner draws (startSheets), in place of a template.
        int sheet = -1;
    };
    // Asks for a printer once and prints `count` templates in one job, each
    // on the sheets and in the orientation proposed for its chord, with its
    // own header, title and label; prepare(i) selects template i into its
    // drawing first. False when cancelled or when the job failed (the user
    // was told).
    bool printSeries(int count, const std::function<SeriesItem(int)> &prepare);

    // Sheets drawn by their owner at full size, each page the size of the
    // printer's printable area (a kit's parts, a plan): draw(p, i, k) paints
    // sheet i (0-based) with the area's top-left corner at the painter's
    // origin, k device units a millimetre. The preview shows them at one
    // pixel a millimetre and prints them through the same job as the
    // templates, in the given orientation; the title fields do not apply.
    struct SheetSeries {
        int count = 0;
        bool portrait = false;
        std::function<void(QPainter &, int, double)> draw;
        // The printable area (mm) the sheets were laid out for, and how to
        // lay them out again for another one (count, portrait and draw of
        // *out; false with the reason when they cannot be). Without it the
        // sheets are printed as laid out whatever the paper.
        QSizeF area;
        std::function<bool(QSizeF area, SheetSeries *out, QString *error)> relayout;
    };
    void startSheets(const SheetSeries &sheets);
    bool showsSheets() const { return m_sheets.count > 0; }
    // The printable area (mm) the sheets shown were laid out for.
    QSizeF sheetsArea() const { return m_sheets.area; }
    // The printable area of a sheet in that orientation, mm.
    QSizeF printableMm(bool portrait);

    // The last print was cancelled in its progress dialog.
    bool printCancelled() const { return m_cancelled; }
    // Prints of more templates than this show their progress.
    static constexpr int kProgressFrom = 10;

    int currentPage() const { return m_currentPage; }
    int pageCount() const { return m_plan.pageCount; }
    // The status line's confirmation of a print of the page on show.
    QString printedPageMessage() const;
    bool portrait() const { return m_plan.portrait; }
    const PageSetup &pageSetup() const { return m_page; }
    const QImage &previewImage() const { return m_image; }
    // The printer of the preview's jobs, made at its first use (finding
    // the system's printers can take a while): A4, landscape at first.
    QPrinter &printer();

protected:
    // The whole page follows the room the scrolled area gives it.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLayout *buildZoomArea();
    void applyZoom();
    // Prints from the open preview; it closes once printed, and stays open
    // when the print dialog was cancelled or the job failed.
    void printFromPreview(Result what);
    void showPage(int page);
    void renderPreview();
    void showPageButtons();
    // One template to print with the sheets its chord takes.
    struct PrintItem {
        SeriesItem item;
        PrintPages::Plan plan;
    };
    // The page loop of every print: pages first..last of each of `count`
    // templates, prepare(i) giving template i, in one job; with turnSheets
    // each sheet takes its template's orientation. False when the job
    // failed (the user was told).
    bool printJob(int count, const std::function<PrintItem(int)> &prepare, int first, int last,
                  bool turnSheets);
    // One printed sheet on an open painter: header, titles, drawing.
    void drawSheet(QPainter &p, QPagedPaintDevice &device, const SeriesItem &item,
                   const PrintPages::Plan &plan, int page, double dpi);
    // The job's output: the printer, or a PDF file written whole.
    struct Job;
    bool beginJob(Job &job, QPainter &p);
    bool endJob(Job &job, QPainter &p);

    TemplateDrawing *m_drawing = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    QImage m_image;
    QFont m_previewFont;
    float m_chord = 100;
    PrintPages::Plan m_plan;
    int m_currentPage = 1;
    PageSetup m_page;
    bool m_cancelled = false;
    int m_zoom = 0;
    SheetSeries m_sheets; // none: the drawing's template
    void leaveSheets();
    // After a paper was chosen: sheets laid out for another printable area
    // are laid out again for this one and shown (*changed); false, with
    // the reason said, when they no longer fit.
    bool fitSheetsToPaper(bool *changed);
    bool printSheets(int first, int last);
};

// The preview's paint box: it copies the preview image at (0, 0).
class PreviewBox : public QWidget
{
    Q_OBJECT
public:
    PreviewBox(TForm3 *form, QWidget *parent) : QWidget(parent), m_form(form) {}

protected:
    void paintEvent(QPaintEvent *) override;

private:
    TForm3 *m_form;
};
