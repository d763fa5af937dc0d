#pragma once

#include <QString>
#include <QStringList>

// A profile made outside the drawing window (the hybrid dialog), for the
// window to add to the store with its first template and show.
struct AddedProfile {
    QString name;
    QStringList pointLines; // in the store's form, leading edge first
    int chord = 100;        // of the first template, whole millimetres
    int skin = 10;          // tenths of a millimetre
    int incidence = 0;      // whole degrees, for the incidence spinner
};

// Profiles a dialog has already added to the store (the ribs of a wing
// panel): the window selects the first one and draws it.
struct AddedRibs {
    QString firstName;
    int incidence = 0; // whole degrees, for the incidence spinner
};
