#include "app/Translator.h"

#include <QLibraryInfo>

#include <cstring>

QString BuiltinTranslator::translate(const char *context, const char *sourceText, const char *,
                                     int) const
{
    if (!m_french || !context || !sourceText)
        return QString();
    struct Entry {
        const char *context, *source, *french;
    };
    static const Entry entries[] = {
        {"TIntro", "Speed", "Vitesse"},
    };
    for (const Entry &e : entries) {
        if (std::strcmp(e.context, context) == 0 && std::strcmp(e.source, sourceText) == 0)
            return QString::fromUtf8(e.french);
    }
    return QString();
}

bool loadQtTranslations(QTranslator &translator, const QLocale &locale)
{
    if (locale.language() != QLocale::French)
        return false;
    return translator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool loadProgramTranslations(QTranslator &translator, const QLocale &locale)
{
    if (locale.language() == QLocale::French)
        return false;
    return translator.load(QStringLiteral(":/i18n/nervuria_en.qm"));
}
