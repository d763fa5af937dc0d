// The drawing window's controls, built in the order they stand on screen.
#include "drawing/TForm1.h"

#include "drawing/FigureEditor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

namespace
{

template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// The second bar is only 144 pixels high: its groups keep tight margins.
void compact(QLayout *layout)
{
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setSpacing(3);
}

// One widget of a group's grid: its row and column, and how many columns
// it spans.
struct Cell {
    QWidget *widget;
    int row;
    int column;
    int columns = 1;
};

void place(QGridLayout *grid, std::initializer_list<Cell> cells)
{
    for (const Cell &c : cells)
        grid->addWidget(c.widget, c.row, c.column, 1, c.columns);
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QPushButton(caption, parent), name);
}

QLabel *label(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QLabel(caption, parent), name);
}

QCheckBox *check(QWidget *parent, const char *name, const QString &caption, bool checked)
{
    auto *c = named(new QCheckBox(caption, parent), name);
    c->setChecked(checked);
    return c;
}

SpinField *spin(QWidget *parent, const char *name, const char *editName, int min, int max, int step,
                int value, QLineEdit *&edit)
{
    auto *s = named(new SpinField(min, max, step, value, parent), name);
    edit = s->edit();
    edit->setObjectName(QString::fromLatin1(editName));
    s->setMinimumWidth(64);
    return s;
}

// The figure tools draw their own small pictures.
QIcon toolIcon(int kind)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    switch (kind) {
    case 0:
        p.drawRect(4, 6, 12, 8);
        break;
    case 1:
        p.drawLine(3, 16, 17, 4);
        break;
    case 2:
        p.drawEllipse(4, 4, 12, 12);
        break;
    case 3:
        p.drawChord(3, 4, 14, 14, 0, 180 * 16);
        break;
    case 4:
        p.drawPolygon(QPolygon({QPoint(10, 3), QPoint(17, 16), QPoint(3, 16)}));
        break;
    case 5: // bin
        p.drawRect(5, 6, 10, 11);
        p.drawLine(3, 5, 17, 5);
        p.drawLine(8, 3, 12, 3);
        break;
    case 6:
        p.drawLine(4, 10, 16, 10);
        break; // zoom out
    case 7:    // zoom in
        p.drawLine(4, 10, 16, 10);
        p.drawLine(10, 4, 10, 16);
        break;
    }
    return QIcon(pm);
}

QToolButton *tool(QWidget *parent, const char *name, int icon, const QString &tip)
{
    auto *b = named(new QToolButton(parent), name);
    b->setIcon(toolIcon(icon));
    b->setToolTip(tip);
    b->setFixedSize(27, 27);
    return b;
}

} // namespace

void TForm1::buildControls()
{
    setFont(QFont(QStringLiteral("Arial"), 9));

    // Top bar.
    Panel2 = named(new QWidget(this), "Panel2");
    Panel2->setFixedHeight(29);
    auto *top = new QHBoxLayout(Panel2);
    top->setContentsMargins(2, 2, 2, 2);
    Btquit = button(Panel2, "Btquit", tr("&Fermer"));
    Btenregistrer = button(Panel2, "Btenregistrer", tr("&Enregister"));
    Btenregistrer->setEnabled(false);
    Btimprime = button(Panel2, "Btimprime", tr("&Imprimer"));
    BtExporter = button(Panel2, "BtExporter", tr("E&xporter…"));
    BtTableau = button(Panel2, "BtTableau", tr("&Données"));
    BitBtn1 = button(Panel2, "BitBtn1", tr("&Aide"));
    Label10 = label(Panel2, "Label10", tr("Coefficient"));
    Label11 = label(Panel2, "Label11", tr("de lissage"));
    UpDown4 = spin(Panel2, "UpDown4", "Edit4", 0, 100, 2, 50, Edit4);
    for (QWidget *w : {static_cast<QWidget *>(Btquit), static_cast<QWidget *>(Btenregistrer),
                       static_cast<QWidget *>(Btimprime), static_cast<QWidget *>(BtExporter),
                       static_cast<QWidget *>(BtTableau), static_cast<QWidget *>(BitBtn1)})
        top->addWidget(w);
    top->addSpacing(16);
    auto *smoothLabels = new QVBoxLayout;
    smoothLabels->setSpacing(0);
    smoothLabels->addWidget(Label10);
    smoothLabels->addWidget(Label11);
    for (QLabel *l : {Label10, Label11})
        l->setFont(QFont(QStringLiteral("Arial"), 7));
    top->addLayout(smoothLabels);
    top->addWidget(UpDown4);
    top->addStretch();

    // Second bar.
    Panel3 = named(new QWidget(this), "Panel3");
    Panel3->setFixedHeight(144);
    auto *bar = new QHBoxLayout(Panel3);
    bar->setContentsMargins(2, 0, 2, 2);

    GroupBox1 = named(new QGroupBox(tr("Choix du Profil"), Panel3), "GroupBox1");
    Cb1 = named(new QComboBox(GroupBox1), "Cb1");
    Cb1->setPlaceholderText(tr("Choix du profil"));
    Cb1->setMinimumWidth(170);
    Btsupprprofil = button(GroupBox1, "Btsupprprofil", tr("Supprimer le profil"));
    Button1 = button(GroupBox1, "Button1", tr("Créer un profil hybride"));
    btEnregH = button(GroupBox1, "btEnregH", tr("Enregistrer fichier.dat"));
    Btpanneau = button(GroupBox1, "Btpanneau", tr("Panneau d'aile…"));
    auto *g1 = new QVBoxLayout(GroupBox1);
    compact(g1);
    for (QWidget *w : {static_cast<QWidget *>(Cb1), static_cast<QWidget *>(Btsupprprofil),
                       static_cast<QWidget *>(Button1), static_cast<QWidget *>(btEnregH)})
        g1->addWidget(w);
    // The wing panel shares the hybrid's row.
    auto *hybridRow = new QHBoxLayout;
    hybridRow->setSpacing(2);
    g1->removeWidget(Button1);
    hybridRow->addWidget(Button1);
    hybridRow->addWidget(Btpanneau);
    g1->insertLayout(2, hybridRow);
    bar->addWidget(GroupBox1);

    GroupBox2 = named(new QGroupBox(tr("Affichage"), Panel3), "GroupBox2");
    CheckBox2 = check(GroupBox2, "CheckBox2", tr("Axes"), true);
    CheckBox4 = check(GroupBox2, "CheckBox4", tr("Cambrure"), true);
    GroupBox3 = named(new QGroupBox(tr("Points"), GroupBox2), "GroupBox3");
    CheckBox1 = check(GroupBox3, "CheckBox1", tr("Profil"), false);
    CheckBox3 = check(GroupBox3, "CheckBox3", tr("Gabarit"), false);
    auto *g3 = new QVBoxLayout(GroupBox3);
    compact(g3);
    g3->addWidget(CheckBox1);
    g3->addWidget(CheckBox3);
    auto *g2 = new QVBoxLayout(GroupBox2);
    compact(g2);
    g2->addWidget(CheckBox2);
    g2->addWidget(CheckBox4);
    g2->addWidget(GroupBox3);
    bar->addWidget(GroupBox2);

    GroupBox4 = named(new QGroupBox(tr("Gabarits"), Panel3), "GroupBox4");
    CB2 = named(new QComboBox(GroupBox4), "CB2");
    CB2->setPlaceholderText(tr("Aucun"));
    CB2->setMinimumWidth(90);
    GroupBox4->setMinimumWidth(300);
    Btnewgab = button(GroupBox4, "Btnewgab", tr("Nouveau"));
    BtSupprgab = button(GroupBox4, "BtSupprgab", tr("Supprimer"));
    Panel5 = label(GroupBox4, "Panel5", QStringLiteral("100"));
    QFont bold = Panel5->font();
    bold.setBold(true);
    Panel5->setFont(bold);
    Panel6 = label(GroupBox4, "Panel6", QStringLiteral("10/10"));
    for (QLabel *p : {Panel5, Panel6}) {
        p->setFrameShape(QFrame::Panel);
        p->setFrameShadow(QFrame::Sunken);
        p->setAlignment(Qt::AlignCenter);
        p->setMinimumWidth(48);
    }
    UpDown7 = spin(GroupBox4, "UpDown7", "Edit7", -45, 45, 1, 0, Edit7);
    auto *g4 = new QGridLayout(GroupBox4);
    compact(g4);
    place(g4, {{CB2, 0, 0, 2},
               {Btnewgab, 1, 0},
               {BtSupprgab, 1, 1},
               {label(GroupBox4, "Label7", tr("CORDE")), 0, 2},
               {Panel5, 0, 3},
               {label(GroupBox4, "Label8", QStringLiteral("(mm)")), 0, 4},
               {label(GroupBox4, "Label12", tr("Coffrage")), 1, 2},
               {Panel6, 1, 3},
               {label(GroupBox4, "Label13", tr("Inclinaison")), 2, 0},
               {UpDown7, 2, 1}});
    bar->addWidget(GroupBox4);

    GroupBox5 = named(new QGroupBox(tr("Figures "), Panel3), "GroupBox5");
    Label1 = label(GroupBox5, "Label1", tr("Diamètre"));
    Label2 = label(GroupBox5, "Label2", tr("Hauteur"));
    Label3 = label(GroupBox5, "Label3", tr("Angle"));
    Label4 = label(GroupBox5, "Label4", QStringLiteral("(1/10 mm)"));
    Label5 = label(GroupBox5, "Label5", QStringLiteral("cx"));
    Label6 = label(GroupBox5, "Label6", QStringLiteral("cy"));
    UpDown1 = spin(GroupBox5, "UpDown1", "Edit1", 2, 1000, 2, 60, Edit1);
    UpDown2 = spin(GroupBox5, "UpDown2", "Edit2", 2, 1000, 2, 60, Edit2);
    UpDown3 = spin(GroupBox5, "UpDown3", "Edit3", -360, 360, 1, 0, Edit3);
    UpDown5 = spin(GroupBox5, "UpDown5", "Edit5", -999, 9999, 1, 0, Edit5);
    UpDown6 = spin(GroupBox5, "UpDown6", "Edit6", -9999, 9999, 1, 0, Edit6);
    // A typed centre out of range is refused with its range, not clipped.
    UpDown5->keepTypedValues(FigureBoxes::kCentreXMin, FigureBoxes::kCentreXMax);
    UpDown6->keepTypedValues(FigureBoxes::kCentreYMin, FigureBoxes::kCentreYMax);
    auto *g5 = new QGridLayout(GroupBox5);
    compact(g5);
    place(g5, {{Label4, 0, 0, 2},
               {Label1, 1, 0},
               {UpDown1, 1, 1},
               {Label2, 2, 0},
               {UpDown2, 2, 1},
               {Label3, 3, 0},
               {UpDown3, 3, 1},
               {Label5, 1, 2},
               {UpDown5, 1, 3},
               {Label6, 2, 2},
               {UpDown6, 2, 3}});
    GroupBox5->setMinimumWidth(300);
    bar->addWidget(GroupBox5);
    bar->addStretch();

    // Tool column.
    Panel4 = named(new QWidget(this), "Panel4");
    Panel4->setFixedWidth(29);
    auto *tools = new QVBoxLayout(Panel4);
    tools->setContentsMargins(1, 1, 1, 1);
    tools->setSpacing(1);
    BtZoommoins = tool(Panel4, "BtZoommoins", 6, tr("Zoom -"));
    BtZoommoins->setEnabled(false);
    Btzoomplus = tool(Panel4, "Btzoomplus", 7, tr("Zoom +"));
    Speedrectangle = tool(Panel4, "Speedrectangle", 0, tr("Rectangle"));
    Speedligne = tool(Panel4, "Speedligne", 1, tr("Ligne"));
    Speedrond = tool(Panel4, "Speedrond", 2, tr("Cercle"));
    Speeddemirond = tool(Panel4, "Speeddemirond", 3, tr("Demi-cercle"));
    SpeedTriangle = tool(Panel4, "SpeedTriangle", 4, tr("Triangle"));
    SpeedPoubelle = tool(Panel4, "SpeedPoubelle", 5, tr("Supprimer la figure"));
    tools->addWidget(BtZoommoins);
    tools->addWidget(Btzoomplus);
    tools->addSpacing(12);
    for (QToolButton *b :
         {Speedrectangle, Speedligne, Speedrond, Speeddemirond, SpeedTriangle, SpeedPoubelle})
        tools->addWidget(b);
    tools->addStretch();

    // Drawing area with the paint box and the hint along its bottom edge.
    ScrollBox1 = named(new QScrollArea(this), "ScrollBox1");
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    PaintBox1 = named(new PaintBox(this, ScrollBox1), "PaintBox1");
    ScrollBox1->setWidget(PaintBox1);
    Panel7 = label(
        ScrollBox1, "Panel7",
        tr("Pour utiliser ce profil vous devez créer un gabarit (Bouton Nouveau)"));
    Panel7->setAutoFillBackground(true);
    QPalette yellow = Panel7->palette();
    yellow.setColor(QPalette::Window, QColor(255, 255, 0));
    Panel7->setPalette(yellow);
    Panel7->setAlignment(Qt::AlignCenter);
    Panel7->setFrameShape(QFrame::Panel);
    Panel7->hide();

    // The coordinate table panel, hidden until a profile needs correcting.
    Panel1 = named(new QWidget(this), "Panel1");
    Panel1->setAutoFillBackground(true);
    Panel1->setFixedWidth(196);
    Label9 = label(Panel1, "Label9", tr("Erreur(s) "));
    QPalette red = Label9->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label9->setPalette(red);
    // "Erreur(s) " keeps its room while hidden: shown after a failed check it
    // must not push "Valider" from under the mouse, where the next click
    // would land on the label and check nothing.
    QSizePolicy keepRoom = Label9->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    Label9->setSizePolicy(keepRoom);
    Btvalider = button(Panel1, "Btvalider", tr("Valider"));
    Tableau1 = named(new QTableWidget(1, 5, Panel1), "Tableau1");
    Tableau1->horizontalHeader()->hide();
    Tableau1->verticalHeader()->hide();
    for (int c = 0; c < 5; ++c)
        Tableau1->setColumnWidth(c, c == 0 ? 24 : 40);
    auto *table = new QVBoxLayout(Panel1);
    table->setContentsMargins(2, 2, 2, 2);
    auto *head = new QHBoxLayout;
    head->addWidget(Label9);
    head->addWidget(Btvalider);
    table->addLayout(head);
    table->addWidget(Tableau1);
    Panel1->hide();
}

void PaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_form->Paintbox1Paint(painter);
}
