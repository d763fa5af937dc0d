#pragma once

#include "cutting/VectorExport.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QListWidget;
class QRadioButton;
class QSpinBox;

// The drawing window's export dialog: the file format, which ribs, the
// sheet and the gap, and the layers to include. Keeps its values between
// openings, like every dialog of the program.
class ExportDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Which { Current, AllOfProfile, ChosenProfiles };

    explicit ExportDialog(QWidget *parent = nullptr);

    // The profile names for the chosen-profiles list, the current one
    // selected when nothing is chosen yet.
    void setProfiles(const QStringList &names, int current);

    Which which() const;
    std::vector<int> chosenProfiles() const;
    VectorExport::Options options() const;

    QComboBox *CbFormat;
    QRadioButton *RbCurrent, *RbProfile, *RbChosen;
    QListWidget *ListProfiles;
    QDoubleSpinBox *EditSheetWidth, *EditSheetHeight, *EditGap;
    std::array<QCheckBox *, RibVectors::LayerCount> CheckLayers{};
    // Laser cutting: kerf, nesting by shape or in rows, grain, copies.
    QDoubleSpinBox *EditKerf;
    QComboBox *CbNesting;
    QCheckBox *CheckFreeGrain;
    QSpinBox *EditCopies;
    QDialogButtonBox *Buttons;

private:
    QWidget *buildCuttingGroup();
};
