#pragma once

#include <QCoreApplication>
#include <QString>

#include <array>
#include <vector>

// The state of the drawing window's controls that the selection and the view
// read or write, held without widgets. The window owns a TemplateDrawing,
// mirrors these fields into its widgets after each call, and writes the
// user's changes back through TemplateDrawing's event functions (or, for the
// new-template dialog, directly into the form2* fields).
//
// Each field is named after the control it mirrors.
struct ViewState {
    // The hint shown in Panel7 while the profile has no template.
    static inline const QString kPanel7Hint =
        QStringLiteral("Pour utiliser ce profil vous devez créer un gabarit (Bouton Nouveau)");
    // Items of the new-template dialog's skin choice RadioGroup1.
    static inline const std::array<QString, 5> kSkinItems{
        QStringLiteral(" 5 / 10"), QStringLiteral(" 8 / 10"), QStringLiteral("10 / 10"),
        QStringLiteral("15 / 10"), QStringLiteral("Autre")};
    static constexpr int kSkinOther = 4; // "Autre"

    // --- New-template dialog (TForm2); they hold the current template's
    // values between openings. A value read from the database passes into
    // these fields unchanged, even outside the spinners' ranges.
    int form2UpDown1Chord = 100;  // UpDown1: chord in mm (10..560, step 2)
    int form2RadioGroup1Skin = 2; // RadioGroup1: selected item, see kSkinItems
    int form2UpDown2Skin = 10;    // UpDown2: skin in tenths of mm (1..40)

    // --- Drawing window (TForm1).
    QString panel5Text = QStringLiteral("100");   // Panel5: chord in mm
    QString panel6Text = QStringLiteral("10/10"); // Panel6: skin, e.g. "15/10"
    bool panel7Visible = false;                   // Panel7: the yellow hint panel
    // Speedrectangle, Speedligne, Speedrond, Speeddemirond, SpeedTriangle and
    // SpeedPoubelle: shown only while a template is selected.
    bool figureButtonsVisible = false;

    int cb1ItemIndex = -1; // Cb1: selected profile item
    int cb2ItemIndex = -1; // CB2: selected template item

    // Tableau1: 5 columns; row 0 is the header row, row i + 1 the point line
    // i. The row count is tableau1Cells.size(). Cells keep their text when a
    // rejected value is met, as a grid would.
    std::vector<std::array<QString, 5>> tableau1Cells{
        {QString(), QCoreApplication::translate("CoordinateTable", "x ext"),
         QCoreApplication::translate("CoordinateTable", "y ext"),
         QCoreApplication::translate("CoordinateTable", "x int"),
         QCoreApplication::translate("CoordinateTable", "y int")}};
    int tableau1RowCount() const { return int(tableau1Cells.size()); }
    // Panel1: the coordinate table panel, shown by a selection that meets a
    // rejected or out-of-order value (the table's validation hides it).
    bool panel1Visible = false;

    int upDown7Incidence = 0; // UpDown7: incidence, -45..45 degrees

    int zoomLevel = 0;               // 0..4, index into the zoom factors
    bool btZoommoinsEnabled = false; // BtZoommoins: zoom out
    bool btzoomplusEnabled = true;   // Btzoomplus: zoom in

    // Group "Affichage".
    bool checkBox2Axes = true;           // CheckBox2 "Axes"
    bool checkBox4Cambrure = true;       // CheckBox4 "Cambrure"
    bool checkBox1ProfilPoints = false;  // CheckBox1 "Profil" (points)
    bool checkBox3GabaritPoints = false; // CheckBox3 "Gabarit" (points)
    bool checkBox3Visible = true;        // "Gabarit" is hidden without a skin

    int upDown4Smoothing = 50; // UpDown4: smoothing coefficient 0..100, step 2
};
