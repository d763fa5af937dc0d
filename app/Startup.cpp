#include "app/Startup.h"

#include "app/TIntro.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// Stands in for the catalogue window until it is built.
std::unique_ptr<QDialog> makeCatalogue()
{
    auto dialog = std::make_unique<QDialog>();
    dialog->setObjectName(QStringLiteral("Formlect"));
    dialog->setWindowTitle(QStringLiteral("NERVURIA - Catalogue des profils"));
    auto *layout = new QVBoxLayout(dialog.get());
    layout->addWidget(new QLabel(QStringLiteral("Catalogue des profils"), dialog.get()));
    dialog->resize(400, 200);
    return dialog;
}

} // namespace

Windows::Windows()
{
    intro = std::make_unique<TIntro>();
    form1 = std::make_unique<TForm1>(intro.get());
    catalogue = makeCatalogue();
    form2 = std::make_unique<TForm2>(form1.get());
    form1->setForm2(form2.get());
    intro->setDrawingWindow(form1.get());
    intro->setCatalogueWindow(catalogue.get());
}

Windows::~Windows()
{
    // The dialog belongs to the drawing window's widget tree.
    form2.release();
}
