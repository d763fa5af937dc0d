#pragma once

#include "ui/ActivatingDialog.h"
#include "ui/Controls.h"

#include <QCheckBox>
#include <QPushButton>

#include <optional>

// The new-template dialog. Its chord field, skin choice and skin field also
// hold the current template's values between uses: the selection sets them
// and storing a template reads them back.
class TForm2 : public ActivatingDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    // The skins a template can keep, in tenths of a millimetre: 1 to 3
    // would be written as the short forms of 8, 10 and 15 and read back so.
    static constexpr int kMinSkin = 4;
    static constexpr int kMaxSkin = 40;

    SpinField *UpDown1; // chord in mm, 10..560
    QLineEdit *Edit1;
    RadioGroup *RadioGroup1; // " 5 / 10" .. "15 / 10", "Autre"
    SpinField *UpDown2;      // skin thickness in tenths of a mm, kMinSkin..kMaxSkin
    QLineEdit *Edit2;
    QCheckBox *CheckBox1; // copy the current template's figures
    QPushButton *BitBtn2; // OK
    QPushButton *BitBtn1; // Cancel

    // The skin thickness of each preset item.
    static int presetSkin(int item);
    // The item that shows a thickness: a preset, or "Autre".
    static int itemForSkin(int skin);

    void RadioGroup1Click();
    void UpDown2Click();

    // What OK hands back.
    struct NewTemplate {
        int chord = 100; // mm
        int skin = 10;   // tenths of a mm
        bool copyFigures = false;
    };
    // Shows the dialog modally; the new template when closed with OK.
    // Cancel gives the fields back the values they had when it opened.
    std::optional<NewTemplate> run();

    // Remembers the fields as they open, for Cancel.
    void FormActivate() override;
    void accept() override;
    void reject() override;

private:
    bool refuseOutOfRange(SpinField *field, const QString &french, const QString &english);

    int m_openChord = 100;
    int m_openChoice = 2;
    int m_openSkin = 10;
    std::optional<NewTemplate> m_result;
};
