#pragma once

#include "cutting/VectorExport.h"
#include "ui/ActivatingDialog.h"

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QListWidget;
class QRadioButton;
class ProfileStore;
class QSpinBox;

// The drawing window's export dialog: the file format, which ribs, the
// sheet and the gap, and the layers to include. Keeps its values between
// openings, like every dialog of the program; each opening lists the
// store's profiles again.
class ExportDialog : public ActivatingDialog
{
    Q_OBJECT
public:
    enum class Which { Current, AllOfProfile, ChosenProfiles };
    // What OK hands back.
    struct Choice {
        Which which = Which::Current;
        std::vector<int> chosen; // the chosen profiles, for ChosenProfiles
        VectorExport::Options options;
    };

    // The store must outlive the dialog.
    explicit ExportDialog(const ProfileStore *store, QWidget *parent = nullptr);

    // Shows the dialog modally; the choice when closed with OK.
    std::optional<Choice> run();

    // The store's profile names for the chosen-profiles list, the current
    // one selected when nothing is chosen yet.
    void FormActivate() override;
    void accept() override;

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
    const ProfileStore *m_store;
    std::optional<Choice> m_choice;
    QWidget *buildCuttingGroup();
};
