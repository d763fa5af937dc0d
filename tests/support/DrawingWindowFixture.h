#pragma once

#include "ScriptedPrompts.h"

#include "drawing/TForm1.h"
#include "drawing/TForm2.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class ProfileStore;

// A profile as Profils.pro holds it: its name line, the point lines of the
// four-digit section with `stations` points a surface, then `lines`
// (templates and figures) as they stand.
QByteArray nacaProfileText(const char *digits, int stations, const QStringList &lines = {});

// Three profiles of 21 points a surface: NACA 0012 with three templates
// (the first one carries two figures), NACA 2412 with one,
// NACA 4412 with none.
QByteArray threeNacaProfiles();

// A Profils.pro of the test's own, in a folder that is the working folder
// while the fixture lives, and a drawing window on it (with its
// new-template dialog) ready to show, in French or English; every question
// goes to the scripted prompts.
struct DrawingWindowFixture {
    QTemporaryDir dir;
    QString before;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form;
    TForm2 *dialog = nullptr;
    QByteArray original;

    explicit DrawingWindowFixture(const QByteArray &database, bool french = true);
    ~DrawingWindowFixture();

    ProfileStore &store();
    QByteArray fileBytes() const;
    // As the user's choice in the profile and template lists.
    void chooseProfile(int i);
    void chooseTemplate(int i);
    // Whether the drawing shows anything in the outline colour.
    bool imageHasInk() const;
};
