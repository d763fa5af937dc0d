#include "drawing/ExportDialog.h"

#include "profiles/ProfileStore.h"
#include "ui/Language.h"
#include "ui/Memory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace
{

QDoubleSpinBox *millimetres(QWidget *parent, const char *name, double min, double max, double value)
{
    auto *s = new QDoubleSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(min, max);
    s->setDecimals(1);
    s->setSuffix(QStringLiteral(" mm"));
    s->setValue(value);
    return s;
}

// The values of the last export, between runs.
void recall(ExportDialog &d)
{
    d.CbFormat->setCurrentIndex(Memory::number(Memory::kExportFormat, d.CbFormat->currentIndex(), 0,
                                               d.CbFormat->count() - 1));
    for (auto [box, key] : {std::pair{d.EditSheetWidth, Memory::kExportSheetWidth},
                            std::pair{d.EditSheetHeight, Memory::kExportSheetHeight},
                            std::pair{d.EditGap, Memory::kExportGap},
                            std::pair{d.EditKerf, Memory::kExportKerf}})
        box->setValue(Memory::real(key, box->value(), box->minimum(), box->maximum()));
}

void keep(const ExportDialog &d)
{
    Memory::set(Memory::kExportFormat, d.CbFormat->currentIndex());
    Memory::set(Memory::kExportSheetWidth, d.EditSheetWidth->value());
    Memory::set(Memory::kExportSheetHeight, d.EditSheetHeight->value());
    Memory::set(Memory::kExportGap, d.EditGap->value());
    Memory::set(Memory::kExportKerf, d.EditKerf->value());
}
} // namespace

ExportDialog::ExportDialog(const ProfileStore *store, QWidget *parent)
    : ActivatingDialog(parent), m_store(store)
{
    setWindowTitle(tr("NERVURIA - Exporter"));
    auto *layout = new QVBoxLayout(this);
    auto pick = [](const char *fr, const char *en) {
        return Language::pick(QString::fromUtf8(fr), QString::fromUtf8(en));
    };

    auto *form = new QFormLayout;
    CbFormat = new QComboBox(this);
    CbFormat->setObjectName(QStringLiteral("CbFormat"));
    CbFormat->addItem(pick("SVG (découpe laser)", "SVG (laser cutter)"),
                      int(VectorExport::Format::Svg));
    CbFormat->addItem(pick("DXF (CNC, DAO)", "DXF (CNC, CAD)"), int(VectorExport::Format::Dxf));
    CbFormat->addItem(pick("PDF (1:1)", "PDF (1:1)"), int(VectorExport::Format::Pdf));
    form->addRow(pick("Format", "Format"), CbFormat);
    layout->addLayout(form);

    auto *ribs = new QGroupBox(pick("Nervures", "Ribs"), this);
    auto *ribsLayout = new QVBoxLayout(ribs);
    RbCurrent = new QRadioButton(pick("Le gabarit affiché", "The template shown"), ribs);
    RbProfile = new QRadioButton(
        pick("Tous les gabarits du profil", "Every template of the airfoil"), ribs);
    RbChosen = new QRadioButton(
        pick("Tous les gabarits des profils choisis", "Every template of the chosen airfoils"),
        ribs);
    RbCurrent->setObjectName(QStringLiteral("RbCurrent"));
    RbProfile->setObjectName(QStringLiteral("RbProfile"));
    RbChosen->setObjectName(QStringLiteral("RbChosen"));
    RbCurrent->setChecked(true);
    ListProfiles = new QListWidget(ribs);
    ListProfiles->setObjectName(QStringLiteral("ListProfiles"));
    ListProfiles->setSelectionMode(QAbstractItemView::MultiSelection);
    ListProfiles->setEnabled(false);
    ListProfiles->setMaximumHeight(120);
    connect(RbChosen, &QRadioButton::toggled, ListProfiles, &QWidget::setEnabled);
    for (QWidget *w : {static_cast<QWidget *>(RbCurrent), static_cast<QWidget *>(RbProfile),
                       static_cast<QWidget *>(RbChosen), static_cast<QWidget *>(ListProfiles)})
        ribsLayout->addWidget(w);
    layout->addWidget(ribs);

    auto *sheet = new QGroupBox(pick("Planche", "Sheet"), this);
    auto *sheetLayout = new QFormLayout(sheet);
    EditSheetWidth = millimetres(sheet, "EditSheetWidth", 10, 10000, 600);
    EditSheetHeight = millimetres(sheet, "EditSheetHeight", 10, 10000, 300);
    EditGap = millimetres(sheet, "EditGap", 0, 100, 3);
    sheetLayout->addRow(pick("Largeur", "Width"), EditSheetWidth);
    sheetLayout->addRow(pick("Hauteur", "Height"), EditSheetHeight);
    sheetLayout->addRow(pick("Espace entre nervures", "Space between ribs"), EditGap);
    layout->addWidget(sheet);

    auto *layers = new QGroupBox(pick("Calques", "Layers"), this);
    auto *layersLayout = new QHBoxLayout(layers);
    const char *const fr[] = {"Découpe", "Figures", "Profil", "Repères", "Texte"};
    const char *const en[] = {"Cut", "Figures", "Airfoil", "Marks", "Text"};
    for (int i = 0; i < RibVectors::LayerCount; ++i) {
        CheckLayers[size_t(i)] = new QCheckBox(pick(fr[i], en[i]), layers);
        CheckLayers[size_t(i)]->setObjectName(QStringLiteral("CheckLayer_") +
                                              RibVectors::layerName(i));
        CheckLayers[size_t(i)]->setChecked(true);
        layersLayout->addWidget(CheckLayers[size_t(i)]);
    }
    layout->addWidget(layers);
    layout->addWidget(buildCuttingGroup());

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->button(QDialogButtonBox::Ok)->setText(pick("Exporter…", "Export…"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(pick("Annuler", "Cancel"));
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(Buttons);
    recall(*this);
}

std::optional<ExportDialog::Choice> ExportDialog::run()
{
    return runModal(m_choice);
}

void ExportDialog::FormActivate()
{
    if (m_store)
        setProfiles(m_store->names(), m_store->currentProfile);
}

void ExportDialog::accept()
{
    m_choice = Choice{which(), chosenProfiles(), options()};
    keep(*this);
    QDialog::accept();
}

void ExportDialog::setProfiles(const QStringList &names, int current)
{
    const std::vector<int> before = chosenProfiles();
    ListProfiles->clear();
    ListProfiles->addItems(names);
    bool any = false;
    for (int p : before) {
        if (p < ListProfiles->count()) {
            ListProfiles->item(p)->setSelected(true);
            any = true;
        }
    }
    if (!any && current >= 0 && current < ListProfiles->count())
        ListProfiles->item(current)->setSelected(true);
}

ExportDialog::Which ExportDialog::which() const
{
    if (RbChosen->isChecked())
        return Which::ChosenProfiles;
    if (RbProfile->isChecked())
        return Which::AllOfProfile;
    return Which::Current;
}

std::vector<int> ExportDialog::chosenProfiles() const
{
    std::vector<int> rows;
    for (int i = 0; i < ListProfiles->count(); ++i) {
        if (ListProfiles->item(i)->isSelected())
            rows.push_back(i);
    }
    return rows;
}

QWidget *ExportDialog::buildCuttingGroup()
{
    auto pick = [](const char *fr, const char *en) {
        return Language::pick(QString::fromUtf8(fr), QString::fromUtf8(en));
    };
    auto *group = new QGroupBox(pick("Découpe laser", "Laser cutting"), this);
    auto *form = new QFormLayout(group);
    EditKerf = millimetres(group, "EditKerf", 0, 5, 0);
    EditKerf->setDecimals(2);
    EditKerf->setSingleStep(0.05);
    CbNesting = new QComboBox(group);
    CbNesting->setObjectName(QStringLiteral("CbNesting"));
    CbNesting->addItem(pick("Par leur forme", "By their shapes"),
                       int(VectorExport::Nesting::Shape));
    CbNesting->addItem(pick("Par rangées", "In rows"), int(VectorExport::Nesting::Rows));
    CheckFreeGrain = new QCheckBox(pick("Tourner aussi d'un quart de tour (sans fil du bois)",
                                        "Also turn by quarter turns (grain free)"),
                                   group);
    CheckFreeGrain->setObjectName(QStringLiteral("CheckFreeGrain"));
    EditCopies = new QSpinBox(group);
    EditCopies->setObjectName(QStringLiteral("EditCopies"));
    EditCopies->setRange(1, 1000);
    form->addRow(pick("Trait de coupe", "Kerf"), EditKerf);
    form->addRow(pick("Placement", "Nesting"), CbNesting);
    form->addRow(CheckFreeGrain);
    form->addRow(pick("Exemplaires", "Copies"), EditCopies);
    return group;
}

VectorExport::Options ExportDialog::options() const
{
    VectorExport::Options o;
    o.format = VectorExport::Format(CbFormat->currentData().toInt());
    o.sheet = QSizeF(EditSheetWidth->value(), EditSheetHeight->value());
    o.gap = EditGap->value();
    for (int i = 0; i < RibVectors::LayerCount; ++i)
        o.layers[size_t(i)] = CheckLayers[size_t(i)]->isChecked();
    o.kerf = EditKerf->value();
    o.nesting = VectorExport::Nesting(CbNesting->currentData().toInt());
    o.freeGrain = CheckFreeGrain->isChecked();
    o.copies = EditCopies->value();
    return o;
}
