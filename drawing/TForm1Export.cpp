// The drawing window's export button: templates as vector files for
// cutting machines.
#include "drawing/TForm1.h"

#include "cutting/DatExport.h"
#include "cutting/ExportJob.h"
#include "cutting/RibContours.h"
#include "drawing/ExportDialog.h"
#include "drawing/ExportProgress.h"
#include "drawing/FigureEditor.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"
#include "ui/Memory.h"
#include "ui/StatusLine.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>

ExportDialog *TForm1::exportDialog()
{
    if (!m_exportDialog)
        m_exportDialog = new ExportDialog(m_store.get(), this);
    return m_exportDialog;
}

namespace
{
// The folder of the last export, while it is there; else the data folder.
QDir exportFolder()
{
    const QString folder = Memory::text(Memory::kExportFolder);
    return QDir(!folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::currentPath());
}
} // namespace

void TForm1::sayFigureFindings()
{
    m_findingsPending = true;
    if (m_holdFindings)
        return; // said once the selection has filled the window
    if (m_closing || m_paintBoxPressed || m_figures->dragMode != FigureEditor::NoDrag)
        return; // the mouse release says them
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        // A box's arrow held down, or a button of another control: asked
        // again until it is let go.
        if (!m_findingsTimer) {
            m_findingsTimer = new QTimer(this);
            m_findingsTimer->setSingleShot(true);
            connect(m_findingsTimer, &QTimer::timeout, this, [this] {
                if (m_findingsPending)
                    sayFigureFindings();
            });
        }
        m_findingsTimer->start(100);
        return;
    }
    m_findingsPending = false;
    const int p = m_store->currentProfile, t = m_store->currentTemplate;
    const WorkingData &work = m_drawing->working();
    if (p < 0 || t < 0 || m_store->dataError || work.lastPoint < 1 || work.lastFigure < 0 ||
        work.skinThickness <= 0)
        return;
    RibVectors::Builder builder;
    RibVectors::Rib rib;
    if (!builder.fromWorking(work, m_store->name(p), t, m_drawing->viewState().upDown4Smoothing,
                             &rib, {true, true, false, false, false}))
        return;
    QStringList fresh;
    for (const RibContours::Finding &f :
         m_findingsNamed.fresh(m_store->name(p), t, RibContours::check(rib)))
        fresh << RibContours::message(f);
    if (!fresh.isEmpty())
        Prompts::current().message(fresh.join(QLatin1Char('\n')));
}

void TForm1::figureEdited(int figure, bool andLater)
{
    const int p = m_store->currentProfile, t = m_store->currentTemplate;
    if (p >= 0 && t >= 0 && figure >= 0)
        m_findingsNamed.forget(m_store->name(p), t, figure, andLater);
}

void TForm1::BtExporterClick()
{
    const int p = m_store->currentProfile;
    const int t = m_store->currentTemplate;
    if (p < 0 || p >= m_store->count() || m_store->dataError)
        return;
    const std::optional<ExportDialog::Choice> choice = exportDialog()->run();
    if (!choice)
        return;
    const VectorExport::Options &options = choice->options;
    const int smoothing = m_drawing->viewState().upDown4Smoothing;

    // Figure edits of the template on show count in every choice.
    if (choice->which != ExportDialog::Which::Current)
        m_drawing->StoreTemplate(p, t);

    std::vector<RibVectors::Rib> ribs;
    QString error;
    bool built = false;
    QString baseName = Cb1->currentText();
    switch (choice->which) {
    case ExportDialog::Which::Current: {
        if (t < 0) {
            Prompts::current().message(Language::pick(QStringLiteral("Aucun gabarit à exporter."),
                                                      QStringLiteral("No template to export.")));
            return;
        }
        RibVectors::Builder builder;
        RibVectors::Rib rib;
        built = builder.fromWorking(m_drawing->working(), m_store->name(p), t, smoothing, &rib,
                                    options.layers);
        if (built)
            ribs.push_back(std::move(rib));
        break;
    }
    case ExportDialog::Which::AllOfProfile:
        built = buildRibsShowingProgress(this, *m_store, ExportJob::allTemplatesOf(*m_store, {p}), smoothing,
                                         options.layers, &ribs, &error);
        break;
    case ExportDialog::Which::ChosenProfiles: {
        const std::vector<int> &chosen = choice->chosen;
        built = buildRibsShowingProgress(this, *m_store, ExportJob::allTemplatesOf(*m_store, chosen), smoothing,
                                         options.layers, &ribs, &error);
        if (chosen.size() != 1)
            baseName = QStringLiteral("nervures");
        break;
    }
    }
    if (built && ribs.empty()) {
        built = false;
        error = Language::pick(QStringLiteral("Aucun gabarit à exporter."),
                               QStringLiteral("No template to export."));
    }
    if (!built) {
        // Many templates are built under a progress dialog, whose cancel
        // leaves no reason.
        if (error.isEmpty() && choice->which != ExportDialog::Which::Current) {
            Status->refuse(Language::pick(QStringLiteral("Export annulé : aucun fichier écrit."),
                                          QStringLiteral("Export cancelled: no file written.")));
            return;
        }
        if (!error.isEmpty()) {
            Status->refuse(error);
            Prompts::current().message(error);
        }
        return;
    }

    const QString suffix = VectorExport::suffix(options.format);
    const QString proposed = QFileInfo(DatExport::proposedFileName(baseName)).completeBaseName() +
                             QLatin1Char('.') + suffix;
    const QString path = Prompts::current().saveFileName(
        Language::pick(QStringLiteral("Exporter les gabarits"), QStringLiteral("Export templates")),
        exportFolder().filePath(proposed),
        suffix.toUpper() + QStringLiteral(" (*.") + suffix + QLatin1Char(')'), suffix);
    if (path.isEmpty())
        return;
    Memory::set(Memory::kExportFolder, QFileInfo(path).absolutePath());

    QStringList refused;
    for (const RibVectors::Rib &rib : ribs) {
        if (rib.templateRefused)
            refused << rib.profileName + QStringLiteral(" #%1 : ").arg(rib.templateIndex + 1) +
                           rib.refusal;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const VectorExport::Document doc = VectorExport::arrange(std::move(ribs), options);
    const bool written = VectorExport::save(path, doc, options.format, &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        Status->refuse(path + QStringLiteral(" : ") + error);
        Prompts::current().message(path + QStringLiteral(" : ") + error);
        return;
    }
    // What the cut will be, before it is cut: the file, the ribs and the
    // sheets on the status line; refused templates and figures against their
    // outlines in a message.
    Status->say(Language::pick(QStringLiteral("Exporté : %1, %2 nervure(s), %3"),
                               QStringLiteral("Exported: %1, %2 rib(s), %3"))
                    .arg(QFileInfo(path).fileName())
                    .arg(doc.ribs.size())
                    .arg(VectorExport::report(doc)));
    if (!refused.isEmpty() || !doc.findings.isEmpty())
        Prompts::current().message((refused + doc.findings).join(QLatin1Char('\n')));
}
