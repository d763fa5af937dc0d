// The drawing window's side of the wing panel dialog: opening it, and
// showing the first rib it stored.
#include "drawing/TForm1.h"

#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

void TForm1::setPanelDialog(PanelDialog dialog)
{
    const bool connectButton = !m_panelDialog;
    m_panelDialog = std::move(dialog);
    if (connectButton)
        connect(Btpanneau, &QPushButton::clicked, this, [this] {
            const QStringList namesBefore = m_store->names();
            recorded(Language::pick(QStringLiteral("Panneau d'aile"), QStringLiteral("Wing panel")),
                     &TForm1::BtpanneauClick);
            reportAdded(namesBefore);
        });
}

void TForm1::BtpanneauClick()
{
    if (!m_panelDialog)
        return;
    // Figure edits go back into the store first: the dialog reads root and
    // tip templates from it, and its ribs may replace the current profile.
    m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);
    const std::optional<AddedRibs> made = m_panelDialog();
    if (!made)
        return;
    m_store->FillProfileCombo();
    m_store->databaseLoaded = true;
    m_store->dataError = false;
    m_store->currentTemplate = -1;
    const int p = int(m_store->names().indexOf(made->firstName));
    if (p < 0)
        return;
    m_store->currentProfile = p;
    FillTemplateCombo(p);
    CB2->setCurrentIndex(0);
    selectAndDraw(p, 0);
    m_drawing->setIncidence(made->incidence);
    m_store->setSaveEnabled(true);
    layoutAndRender();
    showState();
}
