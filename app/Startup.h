#pragma once

#include <functional>
#include <memory>

class QDialog;
class QWidget;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TFormpanneau;
class TIntro;

// The program's windows, created once at start-up in their fixed order and
// kept until the end: start window, drawing window, print preview,
// catalogue window, new-template dialog. The start window is created first
// so that the language is fixed before the drawing window loads the database.
struct Windows {
    std::unique_ptr<TIntro> intro;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<QDialog> catalogue;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm4> form4;             // the hybrid dialog
    std::unique_ptr<TFormpanneau> formpanneau; // the wing panel dialog, created last

    enum class Start { AllWindows, StartWindowOnly };
    // StartWindowOnly leaves the work windows to createWorkWindows().
    explicit Windows(Start start = Start::AllWindows);
    ~Windows();

    // The windows after the start window, in their order; the drawing
    // window's creation loads Profils.pro.
    void createWorkWindows();
    bool workWindowsCreated() const { return form1 != nullptr; }

    // Shows the start window; the work windows follow as soon as it is on
    // screen, before the user can reach them. When Profils.pro is missing
    // from the working folder they are created first instead, so that the
    // questions about it come before the start window, as they always did.
    // stage is told "shown" after the start window's first frame and
    // "ready" once every window exists; when it answers true, start-up stops
    // there (the start-up benchmark ends the program so).
    void showStartWindow(std::function<bool(const char *stage)> stage = {});
};

// Names the program for the run. Every window's title carries the name
// itself, so no display name is set: the platform would add it to each
// title a second time. Message boxes take the name as their title.
void nameProgram();

// Whether Profils.pro is in the working folder, where the drawing window
// looks for it first.
bool databaseInWorkingFolder();

// Runs fn once, after the window (shown or about to be) has drawn its first
// frame and handed it to the screen.
void afterFirstFrame(QWidget *window, std::function<void()> fn);
