// The drawing window's print button: the preview dialog, then the printout.
#include "drawing/TForm1.h"

#include "drawing/TForm3.h"
#include "profiles/ProfileStore.h"
#include "render/PrintPages.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"
#include "ui/StatusLine.h"

void TForm1::BtimprimeClick()
{
    if (!m_form3 || m_store->currentProfile < 0 || m_store->currentProfile >= m_store->count())
        return;
    const ViewState &vs = m_drawing->viewState();
    const WorkingData &wd = m_drawing->working();
    m_form3->Edit3->setText(PrintPages::proposedTitle(Cb1->currentText()));
    m_form3->Edit4->setText(PrintPages::proposedLabel(vs.form2UpDown1Chord, wd.skinThickness));
    m_form3->startPrint(wd.chord);

    // The preview prints while it is open and closes once printed.
    const int result = m_form3->exec();
    if (result == TForm3::PrintCurrent)
        Status->say(m_form3->printedPageMessage());
    else if (result == TForm3::PrintAll)
        Status->say(Language::pick(QStringLiteral("Impression envoyée : %1 page(s)."),
                                   QStringLiteral("Printed: %1 page(s)."))
                        .arg(m_form3->pageCount()));

    // Back to the screen, printed or not.
    layoutAndRender();
    showState();
}
