// The panel dialog's side of the structure and the foam cores: their
// dialogs opened on the panel's fields, and those fields set from a panel
// file.
#include "hybrid/TFormfoam.h"
#include "hybrid/TFormkit.h"
#include "hybrid/TFormpanneau.h"

#include "profiles/ProfileStore.h"

TFormkit *TFormpanneau::kitDialog()
{
    if (!m_kit)
        m_kit = std::make_unique<TFormkit>(
            m_store, [this] { return inputs(); }, [this](const PanelInputs &in) { setInputs(in); },
            m_printing, this);
    return m_kit.get();
}

void TFormpanneau::Button4Click()
{
    TFormkit *kit = kitDialog();
    kit->refresh();
    kit->exec();
}

TFormfoam *TFormpanneau::foamDialog()
{
    if (!m_foam)
        m_foam = std::make_unique<TFormfoam>(m_store, [this] { return inputs(); }, this);
    return m_foam.get();
}

void TFormpanneau::Button5Click()
{
    TFormfoam *foam = foamDialog();
    foam->start();
    foam->exec();
}

void TFormpanneau::setInputs(const PanelInputs &in)
{
    Editnom->setText(in.name);
    const QStringList names = m_store->names();
    auto end = [&](const PanelEnd &e, QComboBox *list, QComboBox *templates, QLabel *info,
                   SpinField *angle) {
        for (int i = 0; i < names.size(); ++i) {
            if (names[i].compare(e.profile.trimmed(), Qt::CaseInsensitive) == 0) {
                list->setCurrentIndex(i);
                fillTemplates(list, templates, info);
                if (e.templ < templates->count()) {
                    templates->setCurrentIndex(e.templ);
                    emit templates->activated(e.templ);
                }
                break;
            }
        }
        // The incidence fields hold whole degrees; a washout in tenths is
        // kept by the structure dialog.
        angle->setValue(int(std::lround(e.angle)));
    };
    end(in.root, ComboBox1, ComboBox3, Label5, UpDown3);
    end(in.tip, ComboBox2, ComboBox4, Label6, UpDown4);
    UpDown1->setValue(int(std::lround(in.span)));
    CheckBox1->setChecked(in.mixedSkins);
    if (in.stations.empty()) {
        RadioGroup1->setItemIndex(0);
        UpDown2->setValue(in.ribCount);
    } else {
        RadioGroup1->setItemIndex(1);
        QStringList stations;
        for (double d : in.stations)
            stations << QLocale().toString(d, 'g', 10);
        Edit5->setText(stations.join(QStringLiteral("; ")));
    }
}
