#include "ui/Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

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

QStringList DialogPrompts::openFileNames(const QString &caption, const QString &startFolder,
                                         const QString &filter)
{
    return QFileDialog::getOpenFileNames(dialogParent(), caption, startFolder, filter);
}
