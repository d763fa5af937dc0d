// The drawing window's side of the hybrid dialog: opening it, and adding
// the profile it made with its first template.
#include "drawing/TForm1.h"

#include "drawing/TForm2.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

void TForm1::setHybridDialog(HybridDialog dialog)
{
    const bool connectButton = !m_hybridDialog;
    m_hybridDialog = std::move(dialog);
    if (connectButton)
        connect(Button1, &QPushButton::clicked, this, [this] {
            const QStringList namesBefore = m_store->names();
            recorded(Language::pick(QStringLiteral("Profil hybride"), QStringLiteral("Hybrid profile")),
                     &TForm1::Button1Click);
            reportAdded(namesBefore);
        });
}

void TForm1::Button1Click()
{
    if (!m_hybridDialog)
        return;
    // Figure edits go back into the store first: the new profile takes the
    // place of the working data, and a replacement in the dialog may move
    // the current profile's position.
    m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);
    const QStringList namesBefore = m_store->names();
    const QString shownName = m_store->name(m_store->currentProfile);
    const int shownTemplate = m_store->currentTemplate;

    if (const std::optional<AddedProfile> made = m_hybridDialog()) {
        AddMadeProfile(*made);
        return;
    }
    if (m_store->names() == namesBefore)
        return;

    // Cancelled after a confirmed replacement deleted a profile: the list
    // follows the store at once, and the selection stays on the profile
    // that was shown when it is still there.
    m_store->FillProfileCombo();
    m_store->dataError = false;
    m_store->currentTemplate = -1;
    const int p = int(m_store->names().indexOf(shownName));
    if (m_store->count() == 0) {
        m_store->currentProfile = -1;
        FillTemplateCombo(-1);
        m_drawing->working().lastPoint = -1;
        m_drawing->createImage(PaintBox1->size());
        PaintBox1->update();
        return;
    }
    m_store->currentProfile = p >= 0 ? p : 0;
    const int t = p >= 0 && shownTemplate >= 0 ? shownTemplate : 0;
    FillTemplateCombo(m_store->currentProfile);
    CB2->setCurrentIndex(t < CB2->count() ? t : -1);
    selectAndDraw(m_store->currentProfile, t);
}

void TForm1::AddMadeProfile(const AddedProfile &made)
{
    const int p = m_store->AddProfile(made.name);
    m_store->currentProfile = p;
    for (const QString &line : made.pointLines)
        m_store->AddPointLine(p, line);
    m_store->currentTemplate = m_store->AddTemplate(
        p, QStringLiteral("GABARIT ") + QString::number(made.chord) + QLatin1Char(';') +
               QString::number(made.skin) + QLatin1Char(';'));

    m_store->FillProfileCombo();
    m_store->databaseLoaded = true;
    m_store->dataError = false;
    m_store->currentTemplate = -1;
    FillTemplateCombo(p);
    CB2->setCurrentIndex(0);
    selectAndDraw(p, 0);

    // The incidence and skin of the dialog.
    WorkingData &wd = m_drawing->working();
    ViewState &vs = m_drawing->viewState();
    wd.skinThickness = float(made.skin);
    vs.form2UpDown2Skin = made.skin;
    vs.form2RadioGroup1Skin = TForm2::itemForSkin(made.skin);
    vs.panel6Text = QString::number(made.skin) + QStringLiteral("/10");
    m_drawing->setIncidence(made.incidence);
    showDialogValues();

    m_store->setSaveEnabled(true);
    layoutAndRender();
    showState();
}
