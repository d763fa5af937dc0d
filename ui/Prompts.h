#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// Every question the program puts to the user goes through here: real
// dialogs in the program, a scripted stand-in in the tests.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // A message with one OK button.
    virtual void message(const QString &text) = 0;
    // A confirmation with Yes and No; only Yes gives true.
    virtual bool confirm(const QString &text) = 0;
    // A folder chosen by the user, or an empty text when cancelled.
    virtual QString chooseFolder(const QString &caption, const QString &startFolder) = 0;
    // The folder chooser with one folder offered as the first choice, which
    // offerText describes: the offered folder when the user takes it, another
    // folder, or an empty text when cancelled. Without a dialog of its own it
    // is the plain chooser.
    virtual QString chooseFolderWithOffer(const QString &caption, const QString &startFolder,
                                          const QString &offeredFolder, const QString &offerText);
    // A file name to save to, or an empty text when cancelled. defaultSuffix
    // is added when the user types a name without one.
    virtual QString saveFileName(const QString &caption, const QString &startPath,
                                 const QString &filter, const QString &defaultSuffix) = 0;

    // Files to read, any number of them, or an empty list when cancelled.
    virtual QStringList openFileNames(const QString &caption, const QString &startFolder,
                                      const QString &filter)
    {
        Q_UNUSED(caption);
        Q_UNUSED(startFolder);
        Q_UNUSED(filter);
        return {};
    }
    // The print dialog on printer (the system's printers and PDF files):
    // true when the user chose to print, with the printer set to the choice.
    virtual bool choosePrinter(QPrinter &printer, const QString &caption);
    // The printer set-up (paper, orientation) on printer; true on OK.
    virtual bool printerSetup(QPrinter &printer);

    // The prompts in use; the program installs the dialog prompts at start,
    // tests install their scripted ones.
    static Prompts &current();
    static void install(Prompts *prompts);
};

// The real dialogs.
class DialogPrompts : public Prompts
{
public:
    void message(const QString &text) override;
    bool confirm(const QString &text) override;
    QString chooseFolder(const QString &caption, const QString &startFolder) override;
    QString chooseFolderWithOffer(const QString &caption, const QString &startFolder,
                                  const QString &offeredFolder, const QString &offerText) override;
    QString saveFileName(const QString &caption, const QString &startPath, const QString &filter,
                         const QString &defaultSuffix) override;
    QStringList openFileNames(const QString &caption, const QString &startFolder,
                              const QString &filter) override;
    bool choosePrinter(QPrinter &printer, const QString &caption) override;
    bool printerSetup(QPrinter &printer) override;
};
