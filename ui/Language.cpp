#include "ui/Language.h"

namespace
{
bool gFrench = true;
}

bool Language::french()
{
    return gFrench;
}
void Language::setFrench(bool french)
{
    gFrench = french;
}
