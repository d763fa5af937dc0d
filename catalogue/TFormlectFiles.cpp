// The catalogue window's changes to files and to the database: correcting
// and rewriting a file, importing, normalising, adding profiles.
#include "catalogue/TFormlect.h"

#include "catalogue/AirfoilImport.h"
#include "catalogue/AirfoilNormalise.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueTexts.h"
#include "catalogue/ProfileAdder.h"
#include "catalogue/TFormlectParts.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"
#include "ui/Prompts.h"
#include "ui/StatusLine.h"

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

using namespace TFormlectParts;

void TFormlect::BtCorrigerClick()
{
    StopSlideshow();
    if (m_file.correctErrors()) {
        Memo1->hide();
        BtenrProf->setEnabled(true);
    } else {
        Memo1->show();
        Memo1->raise();
    }
    showRows();
    showMessages();
    if (Memo1->isVisible())
        Memo1->verticalScrollBar()->setValue(Memo1->verticalScrollBar()->maximum());
    ListBox2->setFocus();
}

void TFormlect::BtenrProfClick()
{
    StopSlideshow();
    bool ready;
    {
        BusyCursor hourglass;
        ready = m_file.readyToRewrite();
    }
    showRows();
    showMessages();
    if (!ready) {
        tellNotRewritten();
    } else {
        Memo1->hide();
        if (Prompts::current().confirm(CatalogueTexts::rewriteQuestion(Panel4->text()))) {
            QString error;
            bool written;
            {
                BusyCursor hourglass;
                written = m_file.rewrite(&error);
            }
            if (!written)
                Prompts::current().message(CatalogueTexts::fileError(m_file.currentFile, error));
            if (written)
                Status->say(Language::pick(QStringLiteral("Fichier réécrit : %1"),
                                           QStringLiteral("File rewritten: %1"))
                                .arg(QFileInfo(m_file.currentFile).fileName()));
            else
                Status->refuse(CatalogueTexts::fileError(m_file.currentFile, error));
            showRows();
        }
    }
    BtCorriger->setEnabled(false);
    BtenrProf->setEnabled(false);
    ListBox2->setFocus();
}

void TFormlect::tellNotRewritten()
{
    // The remaining errors over the preview, and the reason in words: the
    // buttons grey out after this.
    Memo1->show();
    Memo1->raise();
    constexpr int kShown = 12;
    QStringList lines = m_file.messages.mid(0, kShown);
    if (m_file.messages.size() > kShown)
        lines << QStringLiteral("…");
    Prompts::current().message(CatalogueTexts::notRewritten() + QLatin1Char('\n') +
                               lines.join(QLatin1Char('\n')));
}

void TFormlect::BtenregistrerClick()
{
    StopSlideshow();
    if (!m_store || !m_databaseAllowed)
        return;
    const QListWidgetItem *entry = ListBox2->currentItem();
    const ProfileAdder::Outcome outcome =
        ProfileAdder::add(*m_store, m_file, entry ? entry->text() : QString(), Panel4->text());
    reportAdd(outcome, Panel4->text());
    // Corrections waiting to be written back stay on show, buttons as they
    // were.
    if (outcome == ProfileAdder::Outcome::NotWrittenBack)
        return;
    // The file was read again from disk: show it as it stands there.
    showRows();
    showMessages();
    drawPreview(m_file.complete);
    Memo1->setVisible(!m_file.messages.isEmpty());
    BtCorriger->setEnabled(!m_file.messages.isEmpty() && m_file.complete);
    if (Memo1->isVisible())
        Memo1->raise();
}

void TFormlect::BtImporterClick()
{
    StopSlideshow();
    Prompts &prompts = Prompts::current();
    const QStringList sources = prompts.openFileNames(
        CatalogueTexts::importFilesCaption(), m_startFolder, CatalogueTexts::importFilter());
    if (sources.isEmpty())
        return;
    const QString folder =
        prompts.chooseFolder(CatalogueTexts::importFolderCaption(), m_airfoilsFolder);
    if (folder.isEmpty())
        return;
    // Only a folder the catalogue lists: below Airfoils, not hidden.
    const QString airfoils = QFileInfo(m_airfoilsFolder).canonicalFilePath();
    const QString chosen = QFileInfo(folder).canonicalFilePath();
    const QString relative = chosen.mid(airfoils.size() + 1);
    const bool inside = !airfoils.isEmpty() && !chosen.isEmpty() &&
                        chosen.startsWith(airfoils + QLatin1Char('/')) &&
                        !relative.startsWith(QLatin1Char('.')) &&
                        !relative.contains(QStringLiteral("/."));
    if (!inside) {
        prompts.message(CatalogueTexts::importFolderRefused());
        return;
    }

    AirfoilImport::Summary summary;
    {
        BusyCursor hourglass;
        summary = AirfoilImport::importFiles(sources, chosen, [&prompts](const QString &path) {
            return prompts.confirm(CatalogueTexts::replaceQuestion(QFileInfo(path).fileName()));
        });
    }

    // The new files are listed, read and checked like any other.
    ScanFolders();
    int folderRow = -1;
    for (int r = 0; r < ListBox1->count(); ++r) {
        if (QFileInfo(folderPath(r)).canonicalFilePath() == chosen)
            folderRow = r;
    }
    if (folderRow >= 0) {
        ListBox1->setCurrentRow(folderRow);
        ListBox1Click(Caller::User);
        if (!summary.written.isEmpty()) {
            const int fileRow = int(m_pathList.indexOf(summary.written.first()));
            if (fileRow >= 0 && fileRow != ListBox2->currentRow()) {
                ListBox2->setCurrentRow(fileRow);
                ReadCoordinateFile(Caller::User);
            }
        }
    }
    prompts.message(AirfoilImport::summaryText(summary));
}

void TFormlect::BtNormaliserClick()
{
    StopSlideshow();
    Prompts &prompts = Prompts::current();
    if (m_file.currentFile.isEmpty() || !m_file.complete || m_file.unusable ||
        m_file.status != AirfoilFile::ReadStatus::Read || m_listMode == 1) {
        prompts.message(CatalogueTexts::normaliseNeedsFile());
        return;
    }
    QList<QPointF> points;
    points.reserve(m_file.pointCount);
    for (int i = 0; i < m_file.pointCount; ++i)
        points << QPointF(m_file.pointX[i], m_file.pointY[i]);

    AirfoilNormalise::Result result = AirfoilNormalise::normalise(points);
    if (!result.ok) {
        prompts.message(result.refusal);
        return;
    }
    // Closing moves the rear of the surfaces: only with the user's word.
    bool open = false;
    if (result.gap > 1e-6 && !prompts.confirm(CatalogueTexts::closeQuestion(
                                 QString::number(result.gap * 100, 'f', 3)))) {
        result = AirfoilNormalise::normalise(points, true);
        open = !result.closed;
    }
    prompts.message(
        CatalogueTexts::normalised(QString::number(result.largestMove * 100, 'f', 4), open));
    if (!prompts.confirm(CatalogueTexts::rewriteQuestion(Panel4->text())))
        return;
    QString error;
    bool written;
    {
        BusyCursor hourglass;
        written = AirfoilImport::writeWhole(
            m_file.currentFile, AirfoilImport::datBytes(m_file.title(), result.points), &error);
    }
    if (!written) {
        prompts.message(CatalogueTexts::fileError(m_file.currentFile, error));
        return;
    }
    // Shown as it now stands on disk, checked again.
    ReadCoordinateFile(Caller::User);
    ListBox2->setFocus();
}

void TFormlect::reportAdd(ProfileAdder::Outcome outcome, const QString &name)
{
    switch (outcome) {
    case ProfileAdder::Outcome::Added:
        Status->say(Language::pick(QStringLiteral("« %1 » ajouté à Profils.pro."),
                                   QStringLiteral("\"%1\" added to Profils.pro."))
                        .arg(name));
        break;
    case ProfileAdder::Outcome::Refused:
        Status->refuse(Language::pick(QStringLiteral("« %1 » non ajouté : fichier inexact ou illisible."),
                                      QStringLiteral("\"%1\" not added: file not exact or unreadable."))
                           .arg(name));
        break;
    case ProfileAdder::Outcome::NotWrittenBack:
        Status->refuse(Language::pick(
                           QStringLiteral("« %1 » non ajouté : corrections non enregistrées."),
                           QStringLiteral("\"%1\" not added: corrections not saved."))
                           .arg(name));
        break;
    case ProfileAdder::Outcome::Cancelled:
        break;
    }
}
