#pragma once

#include "ui/Prompts.h"

#include <QPrinter>
#include <QQueue>
#include <QStringList>

#include <functional>

// Prompts for tests: records every message and question and answers from a
// script. An unscripted question answers No / cancel, so a test that forgot
// one fails on its assertions instead of hanging on a dialog.
class ScriptedPrompts : public Prompts
{
public:
    ScriptedPrompts() { Prompts::install(this); }
    ~ScriptedPrompts() override { Prompts::install(nullptr); }

    QStringList messages;  // every message, in order
    QStringList questions; // every confirmation text, in order
    QStringList folderCaptions;
    QStringList saveCaptions;

    QQueue<bool> answers;      // answers to confirm()
    QQueue<QString> folders;   // answers to chooseFolder()
    QQueue<QString> saveNames; // answers to saveFileName()
    // Answers to choosePrinter(): each one a PDF file to print to; none left
    // cancels the print.
    QQueue<QString> printFiles;
    QStringList printCaptions;
    // Applied by choosePrinter() to the printer before it answers, as the
    // user would change the paper in the dialog.
    std::function<void(QPrinter &)> printChoice;
    int printerSetups = 0; // how often the printer set-up was opened
    // Applied by printerSetup() to the printer, as the user would; then OK.
    std::function<void(QPrinter &)> setupChoice;

    // Called with each message as it is given, to look at the window then.
    std::function<void(const QString &)> onMessage;
    void message(const QString &text) override
    {
        messages << text;
        if (onMessage)
            onMessage(text);
    }
    bool confirm(const QString &text) override
    {
        questions << text;
        return answers.isEmpty() ? false : answers.dequeue();
    }
    QString chooseFolder(const QString &caption, const QString &) override
    {
        folderCaptions << caption;
        return folders.isEmpty() ? QString() : folders.dequeue();
    }
    // The folders offered and their texts, one per chooser that made an
    // offer; the offer is taken by answering with the offered folder.
    QStringList offeredFolders;
    QStringList offerTexts;
    QString chooseFolderWithOffer(const QString &caption, const QString &start,
                                  const QString &offered, const QString &text) override
    {
        offeredFolders << offered;
        offerTexts << text;
        return chooseFolder(caption, start);
    }
    QString saveFileName(const QString &caption, const QString &, const QString &,
                         const QString &) override
    {
        saveCaptions << caption;
        return saveNames.isEmpty() ? QString() : saveNames.dequeue();
    }
    QStringList openCaptions;
    QQueue<QStringList> openNames; // answers to openFileNames()
    QStringList openFileNames(const QString &caption, const QString &, const QString &) override
    {
        openCaptions << caption;
        return openNames.isEmpty() ? QStringList() : openNames.dequeue();
    }

    bool choosePrinter(QPrinter &printer, const QString &caption) override
    {
        printCaptions << caption;
        if (printFiles.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFiles.dequeue());
        if (printChoice)
            printChoice(printer);
        return true;
    }
    bool printerSetup(QPrinter &printer) override
    {
        ++printerSetups;
        if (!setupChoice)
            return false;
        setupChoice(printer);
        return true;
    }
    void clear()
    {
        openCaptions.clear();
        messages.clear();
        questions.clear();
        folderCaptions.clear();
        saveCaptions.clear();
        printCaptions.clear();
    }
};
