#pragma once

#include <QLocale>
#include <QTranslator>

// The program's own French texts, for the few labels that follow the
// system's language (the start window's speed label, from which the whole
// run takes its language).
class BuiltinTranslator : public QTranslator
{
public:
    explicit BuiltinTranslator(const QLocale &locale = QLocale::system())
        : m_french(locale.language() == QLocale::French)
    {
    }
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override;
    bool isEmpty() const override { return !m_french; }

private:
    bool m_french;
};

// Qt's own texts (the Yes/No buttons, the folder chooser, the print dialog)
// in the language of the run: for a French run, Qt's French translations
// as the system ships them. Gives false when none could be loaded (the run
// then shows Qt's English texts).
bool loadQtTranslations(QTranslator &translator, const QLocale &locale = QLocale::system());

// The windows' English texts (captions, buttons, menus, tooltips), built from
// translations/nervuria_en.ts into the program: for every run whose system
// language is not French, since such a run speaks English. The French texts
// are the sources, so a French run installs nothing. Gives false when nothing
// was loaded.
bool loadProgramTranslations(QTranslator &translator, const QLocale &locale = QLocale::system());
