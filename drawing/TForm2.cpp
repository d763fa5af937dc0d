#include "drawing/TForm2.h"

#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TForm2::TForm2(QWidget *parent) : ActivatingDialog(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("NERVURIA - Nouveau gabarit"));
    setFont(QFont(QStringLiteral("Arial"), 9));

    auto *chordBox = new QGroupBox(tr("Corde en  mm"), this);
    UpDown1 = new SpinField(10, 560, 2, 100, chordBox);
    UpDown1->keepTypedValues(10, 560);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    Edit1 = UpDown1->edit();
    Edit1->setObjectName(QStringLiteral("Edit1"));
    (new QVBoxLayout(chordBox))->addWidget(UpDown1);

    RadioGroup1 = new RadioGroup(tr("Epais. Coffrage"),
                                 {QStringLiteral(" 5 / 10"), QStringLiteral(" 8 / 10"),
                                  QStringLiteral("10 / 10"), QStringLiteral("15 / 10"),
                                  tr("Autre")},
                                 this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setItemIndex(2);

    UpDown2 = new SpinField(kMinSkin, kMaxSkin, 1, 10, this);
    UpDown2->keepTypedValues(kMinSkin, kMaxSkin);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    Edit2 = UpDown2->edit();
    Edit2->setObjectName(QStringLiteral("Edit2"));

    CheckBox1 = new QCheckBox(tr("Copier les figures du gabarit en cours"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    BitBtn2 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setDefault(true);
    BitBtn1 = new QPushButton(tr("Annuler"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(chordBox, 0, 0);
    grid->addWidget(RadioGroup1, 0, 1, 2, 1);
    grid->addWidget(UpDown2, 1, 0, Qt::AlignBottom);
    grid->addWidget(CheckBox1, 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    grid->addLayout(buttons, 3, 0, 1, 2);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(RadioGroup1, &RadioGroup::itemClicked, this, [this] { RadioGroup1Click(); });
    connect(UpDown2, &SpinField::arrowStepped, this, [this] { UpDown2Click(); });
    // A typed skin shows in the choice: its preset, or "Autre".
    connect(Edit2, &QLineEdit::textEdited, this, [this](const QString &text) {
        bool ok = false;
        const int skin = text.trimmed().toInt(&ok);
        if (ok)
            RadioGroup1->setItemIndex(itemForSkin(skin));
    });
    connect(BitBtn2, &QPushButton::clicked, this, &TForm2::accept);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm2::reject);
}

int TForm2::presetSkin(int item)
{
    static const int skins[] = {5, 8, 10, 15};
    return item >= 0 && item < 4 ? skins[item] : -1;
}

int TForm2::itemForSkin(int skin)
{
    for (int i = 0; i < 4; ++i) {
        if (presetSkin(i) == skin)
            return i;
    }
    return 4;
}

void TForm2::RadioGroup1Click()
{
    const int skin = presetSkin(RadioGroup1->itemIndex());
    if (skin > 0)
        UpDown2->setValue(skin);
}

void TForm2::UpDown2Click()
{
    RadioGroup1->setItemIndex(4);
}

std::optional<TForm2::NewTemplate> TForm2::run()
{
    return runModal(m_result);
}

void TForm2::FormActivate()
{
    m_openChord = UpDown1->value();
    m_openChoice = RadioGroup1->itemIndex();
    m_openSkin = UpDown2->value();
}

void TForm2::reject()
{
    UpDown1->setValue(m_openChord);
    RadioGroup1->setItemIndex(m_openChoice);
    UpDown2->setValue(m_openSkin);
    QDialog::reject();
}

// A value outside its field's range is refused with the range, and the
// dialog stays open on that field: what is stored is what the user sees.
bool TForm2::refuseOutOfRange(SpinField *field, const QString &french, const QString &english)
{
    field->interpretText();
    const int v = field->value();
    if (v >= field->stepMinimum() && v <= field->stepMaximum() &&
        field->text().trimmed() == QString::number(v))
        return false;
    Prompts::current().message(Language::pick(french, english));
    field->setFocus();
    field->selectAll();
    return true;
}

void TForm2::accept()
{
    if (refuseOutOfRange(UpDown1, QStringLiteral("La corde doit être comprise entre 10 et 560 mm."),
                         QStringLiteral("The chord must be between 10 and 560 mm.")) ||
        refuseOutOfRange(
            UpDown2,
            QStringLiteral("Le coffrage doit être compris entre %1/10 et %2/10 mm.")
                .arg(kMinSkin)
                .arg(kMaxSkin),
            QStringLiteral("The skin must be between %1/10 and %2/10 mm.").arg(kMinSkin).arg(kMaxSkin)))
        return;
    m_result = NewTemplate{UpDown1->value(), UpDown2->value(), CheckBox1->isChecked()};
    QDialog::accept();
}
