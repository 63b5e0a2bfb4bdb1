#pragma once
// The setup program's main form: one page per group of settings, the buttons
// that save, cancel and start the emulator, and the hidden Secret page.

#include <QDialog>
#include <array>
#include <functional>
#include <map>

#include "Mainform/settings_store.h"
#include "Mainform/settings_values.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace varnoksetup {

class PictureLabel;

constexpr const char* formCaption = "Varnok V" VARNOK_VERSION " Setup";
constexpr const char* writeFailedMessage = "Cannot write into registry.";
constexpr const char* rewriteQuestion =
    "\n\nSaving writes it anew as a REGEDIT4 file that holds the settings shown here. Write it?";
constexpr const char* secretFoundMessage =
    "You have found a secret!\n\nCheck the secret page for more information!";

class TVarnokForm : public QDialog {
public:
    explicit TVarnokForm(SettingsStore& store = registryStore(), QWidget* parent = nullptr);

    void fillJoystickLists();
    void readSettings();
    // False when the store could not be written; the user has been told why.
    bool writeSettings();
    const SetupSettings& settings() const { return settings_; }

    // Handlers, named after their control and event; one shared by a family of
    // controls takes the control's index (machine value, joystick key, ROM slot).
    void Res320x200RadioButtonClick() { selectScreenMode(0); }
    void Res400x300RadioButtonClick() { selectScreenMode(1); }
    void Res512x384RadioButtonClick() { selectScreenMode(2); }
    void Res320x240RadioButtonClick() { selectScreenMode(3); }
    void Res640x480RadioButtonClick() { selectScreenMode(4); }
    void Res640x400RadioButtonClick() { selectScreenMode(5); }
    void Res800x600RadioButtonClick() { selectScreenMode(6); }
    void MachineRadioButtonClick(uint32_t machine);
    void JoyComboBoxChange(int joystickKey, int index);
    void RestoreDefaultsButtonClick(int joystick);
    void RomEditChange(int slot, const QString& text);
    void RomBrowseButtonClick(int slot);
    void RomRemoveButtonClick(int slot);
    void Drive8PCDirButtonClick();
    void Drive8D64ButtonClick();
    void DosRomButtonClick(int drive);
    void Button1Click();  // "&OK"
    void Button2Click();  // "&Cancel"
    void Button3Click();  // "&Run"
    void AboutButtonClick();
    void VarnokImageDblClick();
    void SecretImageClick();

    // The controls, open to the program's tests as a form designer would leave them.
    QTabWidget* PageControl;
    QWidget *ScreenPage, *OptionsPage, *MachinePage, *DrivePage, *JoystickPage, *WebPage, *SecretPage;
    QTabWidget* MachinePageControl;
    QWidget* HardwarePage;
    QButtonGroup* ResolutionGroup;
    QCheckBox* ModeXCheckBox;
    QButtonGroup* DisplayGroup;  // "Full screen", "Window"
    QComboBox* WindowScaleComboBox;
    QButtonGroup *ClockGroup, *PaletteGroup;
    QCheckBox *SoundCheckBox, *DebuggerCheckBox, *LogCheckBox;
    QButtonGroup *PriorityGroup, *SyncGroup, *HardSIDGroup;
    QGroupBox* HardSIDGroupBox;
    QButtonGroup* MachineGroup;
    QComboBox* RamComboBox;
    QCheckBox* PalRomCheckBox;
    std::array<QWidget*, 4> RomPages;
    std::array<QLineEdit*, romSlotCount> RomEdits;
    std::array<QAction*, romSlotCount> RomWarnings;  // shown in a field whose file cannot be read
    std::array<QLabel*, romSlotCount> RomReasons;    // and why, under the field
    QButtonGroup* Drive8Group;
    QLineEdit *Drive8PCDirEdit, *Drive8D64Edit;
    QButtonGroup* TrueDriveGroup;           // "Port level", "True 1551", "True 1541"
    std::array<QLineEdit*, 2> DosRomEdits;  // the 1551's and the 1541's DOS ROM
    std::array<QLabel*, 2> DosRomReasons;   // why the chosen drive's ROM cannot be read
    QWidget* Drive9Page;
    QButtonGroup* JoystickGroup;
    std::array<QComboBox*, joystickKeyCount> JoyComboBoxes;  // Joy1Up .. Joy2Fire
    QPushButton *Button1, *Button2, *Button3, *AboutButton;
    PictureLabel *VarnokImage, *SecretImage;
    QPlainTextEdit* InfoMemo;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildForm();
    QWidget* buildScreenPage();
    QWidget* buildOptionsPage();
    QWidget* buildMachinePage();
    QWidget* buildDrivePage();
    QWidget* buildJoystickPage();
    QWidget* buildWebPage();
    QWidget* buildSecretPage();
    QWidget* buildInfoPanel();
    QWidget* buildButtonRow();
    struct DriveControls {
        QLineEdit *pcDirEdit, *d64Edit;
        QPushButton *pcDirButton, *d64Button;
    };
    DriveControls buildDriveControls(QWidget* page, QButtonGroup* group);

    // A group of radio buttons storing its button's id into a number setting,
    // with an extra click action where choosing a button does more.
    QButtonGroup* radioGroup(const QStringList& captions, NumberSetting setting,
                             const std::function<void(int)>& clickAction = {});
    QCheckBox* flagCheckBox(const QString& caption, NumberSetting setting);
    // Selects the button of a stored value and runs its click action, as a click
    // would; a value no button stands for leaves the group without a selection.
    void selectRadio(QButtonGroup* group, uint32_t value);
    // Shows a stored index without storing it again; an index the box does not
    // hold leaves it without a selection.
    static void showComboIndex(QComboBox* box, uint32_t index);

    void selectScreenMode(int mode);
    // Marks the field (and its bank's tab) when its file cannot be read, saying why.
    void markRom(int slot);
    // Marks the DOS ROM field of the true drive chosen when its file cannot be read.
    void markDosRoms();
    // "ROM 1 - Low: <why>" for every marked field.
    QStringList romProblems() const;
    QString romFolderToStart(int slot) const;
    void enableCustomMachine(bool enabled);
    void choosePresetRomNames(const SetupSettings& stored);

    SettingsStore& store_;
    SetupSettings settings_;
    // The BASIC and KERNAL names the presets put into Rom0L and Rom0H.
    std::array<std::string, 2> presetRomNames_;
    std::map<QButtonGroup*, std::function<void(int)>> radioActions_;
    QString lastRomFolder_;  // where the ROM file dialog opens next
};

}  // namespace varnoksetup
