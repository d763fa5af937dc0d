#pragma once

#include <memory>

class QDialog;
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

    Windows();
    ~Windows();
};
