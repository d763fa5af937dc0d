#include "ui/Prompts.h"

#include "ui/Language.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace
{
DialogPrompts gDialogPrompts;
Prompts *gPrompts = &gDialogPrompts;

QWidget *dialogParent()
{
    return QApplication::activeWindow();
}
} // namespace

Prompts &Prompts::current()
{
    return *gPrompts;
}

void Prompts::install(Prompts *prompts)
{
    gPrompts = prompts ? prompts : &gDialogPrompts;
}

void DialogPrompts::message(const QString &text)
{
    QMessageBox::information(dialogParent(), QApplication::applicationDisplayName(), text,
                             QMessageBox::Ok);
}

bool DialogPrompts::confirm(const QString &text)
{
    return QMessageBox::question(dialogParent(), QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

QString DialogPrompts::chooseFolder(const QString &caption, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(dialogParent(), caption, startFolder);
}

QString Prompts::chooseFolderWithOffer(const QString &caption, const QString &startFolder,
                                      const QString &, const QString &)
{
    return chooseFolder(caption, startFolder);
}

QString DialogPrompts::chooseFolderWithOffer(const QString &caption, const QString &startFolder,
                                             const QString &offeredFolder,
                                             const QString &offerText)
{
    QMessageBox box(QMessageBox::Question, caption, offerText, QMessageBox::NoButton,
                    dialogParent());
    QPushButton *take = box.addButton(
        Language::pick(QStringLiteral("&Utiliser ce dossier"), QStringLiteral("&Use this folder")),
        QMessageBox::AcceptRole);
    QPushButton *other = box.addButton(
        Language::pick(QStringLiteral("&Autre dossier..."), QStringLiteral("&Other folder...")),
        QMessageBox::ActionRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(take);
    box.exec();
    if (box.clickedButton() == take)
        return offeredFolder;
    if (box.clickedButton() == other)
        return chooseFolder(caption, startFolder);
    return QString();
}

QString DialogPrompts::saveFileName(const QString &caption, const QString &startPath,
                                    const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(dialogParent(), caption, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

// A stand-in that prints nothing unless it is told how.
bool Prompts::choosePrinter(QPrinter &, const QString &)
{
    return false;
}

bool Prompts::printerSetup(QPrinter &)
{
    return false;
}

bool DialogPrompts::choosePrinter(QPrinter &printer, const QString &caption)
{
    QPrintDialog dialog(&printer, dialogParent());
    dialog.setWindowTitle(caption);
    // The pages to print are chosen in the preview.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

bool DialogPrompts::printerSetup(QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, dialogParent());
    return dialog.exec() == QDialog::Accepted;
}

QStringList DialogPrompts::openFileNames(const QString &caption, const QString &startFolder,
                                         const QString &filter)
{
    return QFileDialog::getOpenFileNames(dialogParent(), caption, startFolder, filter);
}
