#include "catalogue/CatalogueTexts.h"

#include "ui/Language.h"

namespace CatalogueTexts
{

QString Text::operator()() const
{
    return QString::fromUtf8(Language::french() ? french : english);
}

QString Text::operator()(const QString &value) const
{
    return (*this)().arg(value);
}

QString Text::operator()(int value) const
{
    return (*this)().arg(value);
}

} // namespace CatalogueTexts
