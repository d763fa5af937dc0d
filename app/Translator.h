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
