#pragma once

#include <QString>

// Files installed with the program for every user, read-only: the sample
// data folder (Profils.pro, Airfoils/, dico.txt and the help file). Its
// place is fixed when the program is built for its install prefix.
namespace InstalledData
{
// The installed sample folder, or an empty text when there is none (a
// program run from its build folder). NERVURIA_SAMPLE_DIR, when set, stands
// for the built-in place; set but empty, it means no sample.
QString sampleFolder();
} // namespace InstalledData
