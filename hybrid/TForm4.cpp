#include "hybrid/TForm4.h"

#include "hybrid/HybridDrawing.h"
#include "numbers/NumberText.h"
#include "profiles/ProfileStore.h"
#include "profiles/TemplateValues.h"
#include "ui/Prompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QShowEvent>
#include <QVBoxLayout>

#include <cmath>

// ---- PictureSpinField ----------------------------------------------------

PictureSpinField::PictureSpinField(const QString &picture, const QString &suffix, int min, int max,
                                   int value, QWidget *parent)
    : QDoubleSpinBox(parent), m_picture(picture)
{
    // Enough decimals to hold a computed value as it is; the text shows one.
    setDecimals(4);
    setRange(min, max);
    setSingleStep(1);
    setSuffix(suffix);
    setValue(value);
}

void PictureSpinField::stepBy(int steps)
{
    QDoubleSpinBox::stepBy(steps);
    emit arrowStepped(steps);
}

QString PictureSpinField::textFromValue(double value) const
{
    const QString point = locale().decimalPoint();
    return HybridText::picture(m_picture, value, point.isEmpty() ? QChar('.') : point.at(0));
}

double PictureSpinField::valueFromText(const QString &text) const
{
    QString t = text;
    if (!suffix().isEmpty() && t.endsWith(suffix()))
        t.chop(suffix().size());
    const double v = ParseDecimal(4, t.trimmed());
    return IsParseError(v) ? value() : v;
}

QValidator::State PictureSpinField::validate(QString &input, int &) const
{
    QString t = input;
    if (!suffix().isEmpty() && t.endsWith(suffix()))
        t.chop(suffix().size());
    t = t.trimmed();
    if (t.isEmpty() || t == QLatin1String("-"))
        return QValidator::Intermediate;
    const double v = ParseDecimal(4, t);
    if (IsParseError(v))
        return QValidator::Invalid;
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void HybridPaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_paint(painter);
}

// ---- TForm4 --------------------------------------------------------------

namespace
{

QLabel *label(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

template <class Field> Field *named(Field *field, const char *name)
{
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

} // namespace

TForm4::TForm4(ProfileStore *store, QWidget *parent) : ActivatingDialog(parent), m_store(store)
{
    Q_ASSERT(store);
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("Création de Profil hybride et de son gabarit"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    buildControls();
    connectControls();
    resize(680, 600);
}

void TForm4::buildControls()
{
    Editnom = named(new QLineEdit(QStringLiteral("sans nom"), this), "Editnom");
    CheckBox2 = named(new QCheckBox(tr("Nom automatique"), this), "CheckBox2");
    CheckBox2->setChecked(true);

    auto combo = [this](const char *name, const QString &text) {
        auto *c = named(new QComboBox(this), name);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setEditText(text);
        c->setMinimumContentsLength(18);
        return c;
    };
    ComboBox1 = combo("ComboBox1", tr("Profil E"));
    ComboBox2 = combo("ComboBox2", tr("Profil S"));

    auto spin = [this](const char *name, const char *editName, int min, int max, int step,
                       int value, QLineEdit *&edit) {
        auto *s = named(new SpinField(min, max, step, value, this), name);
        edit = named(s->edit(), editName);
        return s;
    };
    UpDown1 = spin("UpDown1", "Edit1", 1, 9000, 1, 150, Edit1);
    UpDown2 = spin("UpDown2", "Edit2", 1, 9000, 1, 100, Edit2);
    UpDown3 = spin("UpDown3", "Edit3", -20, 20, 1, 0, Edit3);
    UpDown4 = spin("UpDown4", "Edit4", -20, 20, 1, 0, Edit4);
    UpDown8 = spin("UpDown8", "Edit8", 0, 50, 1, 0, Edit8);
    UpDown7 = spin("UpDown7", "Edit7", 0, 100, 5, 50, Edit7);
    Label12 = named(label(QStringLiteral("1/10 mm"), this), "Label12");

    UpDown5 = named(new PictureSpinField(QStringLiteral("#.#"), QString(), 1, 9000, 125, this),
                    "UpDown5");
    Edit5 = named(UpDown5->edit(), "Edit5");
    UpDown6 =
        named(new PictureSpinField(QStringLiteral("0.#"), QStringLiteral("°"), -60, 60, 0, this),
              "UpDown6");
    Edit6 = named(UpDown6->edit(), "Edit6");
    UpDown5->setMinimumWidth(80);
    UpDown6->setMinimumWidth(70);
    CheckBox1 =
        named(new QCheckBox(tr("Calcul automatique de  la corde"), this), "CheckBox1");
    CheckBox1->setChecked(true);
    UpDown5->setEnabled(false);
    UpDown6->setEnabled(false);

    Button1 = named(new QPushButton(tr("Calculer et Afficher"), this), "Button1");
    Button2 = named(new QPushButton(tr("Affichage en relief"), this), "Button2");
    BitBtn1 = named(new QPushButton(QStringLiteral("OK"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn1->setEnabled(false);
    BitBtn2 = named(new QPushButton(tr("Annuler"), this), "BitBtn2");
    PaintBox1 =
        named(new HybridPaintBox([this](QPainter &p) { PaintBox1Paint(p); }, this), "PaintBox1");
    PaintBox1->setMinimumSize(600, 240);

    // Name.
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(label(tr("Nom du profil Hybride"), this));
    nameRow->addWidget(Editnom, 1);
    nameRow->addWidget(CheckBox2);

    // Root and tip: profile, chord, angle.
    auto parentGroup = [this](const QString &title, QComboBox *list, SpinField *chord,
                              SpinField *angle) {
        auto *g = new QGroupBox(title, this);
        auto *grid = new QGridLayout(g);
        grid->addWidget(list, 0, 0, 1, 2);
        grid->addWidget(label(tr("Corde mm"), g), 1, 0);
        grid->addWidget(chord, 1, 1);
        grid->addWidget(label(tr("Angle °"), g), 2, 0);
        grid->addWidget(angle, 2, 1);
        return g;
    };
    auto *rootGroup =
        parentGroup(tr("Profil de l'emplanture"), ComboBox1, UpDown1, UpDown3);
    auto *tipGroup = parentGroup(tr("Profil du saumon"), ComboBox2, UpDown2, UpDown4);

    // The blend: percentage, chord, angle, skin.
    auto *blendGroup = new QGroupBox(this);
    auto *bg = new QGridLayout(blendGroup);
    bg->addWidget(label(tr("Mélange en % du profil saumon"), blendGroup), 0, 0, 1, 2);
    bg->addWidget(UpDown7, 0, 2);
    bg->addWidget(label(tr("avec le profil emplanture"), blendGroup), 1, 0, 1, 3);
    bg->addWidget(label(tr("Corde mm"), blendGroup), 2, 0);
    bg->addWidget(UpDown5, 2, 1);
    bg->addWidget(label(tr("Angle °"), blendGroup), 2, 2);
    bg->addWidget(UpDown6, 2, 3);
    bg->addWidget(CheckBox1, 3, 0, 1, 4);
    bg->addWidget(label(tr("en fonction du pourcentage"), blendGroup), 4, 0, 1, 4);
    bg->addWidget(label(tr("Epaiss.coffrage"), blendGroup), 5, 0);
    bg->addWidget(UpDown8, 5, 1);
    bg->addWidget(Label12, 5, 2, 1, 2);

    auto *fields = new QHBoxLayout;
    fields->addWidget(rootGroup);
    fields->addWidget(tipGroup);
    fields->addWidget(blendGroup);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *main = new QVBoxLayout(this);
    main->addLayout(nameRow);
    main->addLayout(fields);
    main->addWidget(PaintBox1, 1);
    main->addLayout(buttons);
}

void TForm4::connectControls()
{
    connect(ComboBox1, &QComboBox::activated, this, &TForm4::ComboBox1Click);
    connect(ComboBox2, &QComboBox::activated, this, &TForm4::ComboBox1Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm4::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TForm4::CheckBox2Click);
    connect(UpDown1, &SpinField::arrowStepped, this, &TForm4::UpDown1Click);
    connect(UpDown2, &SpinField::arrowStepped, this, &TForm4::UpDown2Click);
    connect(UpDown5, &PictureSpinField::arrowStepped, this, &TForm4::UpDown5Click);
    connect(UpDown7, &SpinField::arrowStepped, this, &TForm4::UpDown7Click);
    // A typed percentage renames as the arrows do, at each key; the blend
    // on show follows once the typing ends.
    connect(UpDown7, &QSpinBox::valueChanged, this, [this] { BuildAutomaticName(); });
    connect(UpDown7, &QAbstractSpinBox::editingFinished, this, [this] {
        if (UpDown7->value() != m_computedPercent)
            recomputeIfValid();
    });
    // So does a profile name typed into either list.
    for (QComboBox *list : {ComboBox1, ComboBox2})
        connect(list, &QComboBox::editTextChanged, this, [this] { BuildAutomaticName(); });
    connect(UpDown8, &SpinField::arrowStepped, this, &TForm4::UpDown8Click);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm4::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm4::reject);
}

std::optional<AddedProfile> TForm4::run()
{
    return runModal(m_result);
}

void TForm4::FormActivate()
{
    Editnom->setText(QStringLiteral("sans nom"));
    // The lists take the drawing window's profiles; what the user had typed
    // or chosen stays in their text.
    const QStringList names = m_store->names();
    for (QComboBox *list : {ComboBox1, ComboBox2}) {
        const QString text = list->currentText();
        list->clear();
        list->addItems(names);
        list->setCurrentIndex(int(names.indexOf(text)));
        list->setEditText(text);
    }
    BitBtn1->setEnabled(false);
    m_reliefPending = false;
    // The skin field keeps the last thickness used; until one was, it opens
    // on the root template's (or the drawing's) rather than below its range.
    if (UpDown8->value() < HybridBlend::kMinSkin) {
        UpDown8->setValue(openingSkin());
        UpDown8Click();
    }
    BuildAutomaticName();
}

int TForm4::openingSkin() const
{
    auto skinOf = [this](int p, int t) {
        const Tprofil *profile = m_store->profile(p);
        TemplateValues values;
        if (!profile || t < 0 || t >= profile->templateCount() ||
            !readTemplateValues(profile->templates[size_t(t)], values).isEmpty())
            return 0;
        return values.skin();
    };
    const int root = int(m_store->names().indexOf(ComboBox1->currentText()));
    for (int skin : {skinOf(root, 0), skinOf(m_store->currentProfile, m_store->currentTemplate)}) {
        if (skin >= HybridBlend::kMinSkin && skin <= UpDown8->maximum())
            return skin;
    }
    return 10;
}

void TForm4::BuildAutomaticName()
{
    if (!CheckBox2->isChecked())
        return;
    Editnom->setText(HybridText::automaticName(ComboBox1->currentText(), ComboBox2->currentText(),
                                               UpDown7->value()));
}

void TForm4::ComboBox1Click()
{
    BuildAutomaticName();
}

void TForm4::CheckBox2Click()
{
    BuildAutomaticName();
}

void TForm4::CheckBox1Click()
{
    const bool manual = !CheckBox1->isChecked();
    UpDown5->setEnabled(manual);
    UpDown6->setEnabled(manual);
}

void TForm4::recomputeIfValid()
{
    if (BitBtn1->isEnabled())
        Button1Click();
}

void TForm4::UpDown7Click()
{
    BuildAutomaticName();
    recomputeIfValid();
}

void TForm4::UpDown1Click()
{
    const int rootChord = UpDown1->value();
    if (rootChord < UpDown5->value())
        UpDown5->setValue(rootChord);
    if (rootChord < UpDown2->value())
        UpDown2->setValue(rootChord);
    recomputeIfValid();
}

void TForm4::UpDown2Click()
{
    const int tipChord = UpDown2->value();
    if (UpDown5->value() < tipChord)
        UpDown5->setValue(tipChord);
    if (UpDown1->value() < tipChord)
        UpDown1->setValue(tipChord);
    recomputeIfValid();
}

void TForm4::UpDown5Click()
{
    recomputeIfValid();
}

void TForm4::UpDown8Click()
{
    Label12->setText(QString::number(UpDown8->value()) + QStringLiteral("/10 mm"));
}

HybridInputs TForm4::inputs()
{
    for (QAbstractSpinBox *s : std::initializer_list<QAbstractSpinBox *>{
             UpDown1, UpDown2, UpDown3, UpDown4, UpDown5, UpDown6, UpDown7, UpDown8})
        s->interpretText();
    HybridInputs in;
    in.name = Editnom->text();
    in.rootText = ComboBox1->currentText();
    in.tipText = ComboBox2->currentText();
    in.skin = UpDown8->value();
    in.percent = UpDown7->value();
    in.rootChord = UpDown1->value();
    in.tipChord = UpDown2->value();
    in.rootAngle = UpDown3->value();
    in.tipAngle = UpDown4->value();
    in.automaticChord = CheckBox1->isChecked();
    in.hybridChordSpinner = UpDown5->value();
    in.hybridAngleSpinner = UpDown6->value();
    return in;
}

void TForm4::Button1Click()
{
    BitBtn1->setEnabled(true);
    const HybridBlend::Outcome outcome = m_blend.compute(inputs(), *m_store);
    if (outcome.chordsComputed) {
        UpDown5->setValue(m_blend.hybridChord);
        UpDown6->setValue(m_blend.hybridAngle);
    }
    if (!outcome.ok) {
        BitBtn1->setEnabled(false);
        if (outcome.focus == HybridBlend::Focus::Root)
            ComboBox1->setFocus();
        else if (outcome.focus == HybridBlend::Focus::Tip)
            ComboBox2->setFocus();
        return;
    }
    m_reliefPending = false;
    m_computedPercent = UpDown7->value();
    PaintBox1->update();
}

void TForm4::Button2Click()
{
    if (!BitBtn1->isEnabled())
        return;
    m_reliefPending = true;
    PaintBox1->repaint();
}

void TForm4::PaintBox1Paint(QPainter &painter)
{
    if (!BitBtn1->isEnabled())
        return;
    const int w = PaintBox1->width(), h = PaintBox1->height();
    if (m_reliefPending) {
        m_reliefPending = false;
        HybridDrawing::DrawRelief(painter, w, h, m_blend);
        return;
    }
    HybridDrawing::DrawProfiles(painter, w, h, m_blend, UpDown7->value());
}

void TForm4::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TForm4::FormResize()
{
    PaintBox1->update();
}

void TForm4::accept()
{
    if (!BitBtn1->isEnabled())
        return;
    // The skin and the name may have changed since the computation: a skin
    // the database cannot keep, or a name that would silently replace
    // another profile with its templates, is stopped here.
    UpDown8->interpretText();
    const int skin = UpDown8->value();
    if (skin < HybridBlend::kMinSkin) {
        Prompts::current().message(
            HybridBlend::said(skin == 0 ? HybridBlend::kNoSkin : HybridBlend::kThinSkin));
        return;
    }
    const QString name = Editnom->text();
    if (!HybridBlend::sameName(*m_store, name).isEmpty() &&
        !Prompts::current().confirm(HybridBlend::said(HybridBlend::kReplace)))
        return;

    UpDown7->interpretText();
    m_blend.BlendProfiles(UpDown7->value());
    AddedProfile made;
    made.name = name;
    made.pointLines = HybridBlend::pointLines(m_blend.hybrid);
    made.chord = std::max(1, int(std::lround(m_blend.hybridChord)));
    made.skin = skin;
    made.incidence = int(std::lround(m_blend.hybridAngle));
    m_result = made;
    QDialog::accept();
}
