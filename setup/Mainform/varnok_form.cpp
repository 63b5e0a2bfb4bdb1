#include "Mainform/varnok_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>

#include "Mainform/artwork.h"
#include "Mainform/places.h"
#include "Mainform/shell.h"

namespace varnoksetup {

namespace {

constexpr const char* aboutText =
    "Varnok V0.48R3\n"
    "\n"
    "An emulator of the Commodore 16 and Plus/4 home computers.\n"
    "\n"
    "The Web page links to the read-me file and the manual pages\n"
    "varnok(6) and VarnokSetup(6).";

constexpr const char* romFilter = "ROM files (*.rom *.bin *.crt *.img);;All files (*)";
constexpr const char* d64Filter = "D64 files (*.d64);;All files (*)";

QString toQString(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TVarnokForm::TVarnokForm(SettingsStore& store, QWidget* parent)
    : QDialog(parent), store_(store), presetRomNames_{machinePresets[0].roms[0], machinePresets[0].roms[1]} {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildForm();
    // A single border: the form keeps the size its pages need.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TVarnokForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Restoring from the task bar is not a new show.
    if (event->spontaneous()) return;
    setWindowTitle(QString::fromUtf8(formCaption));
    // The program's own title, which the desktop shows for it, is the form's caption.
    QGuiApplication::setApplicationDisplayName(QString::fromUtf8(formCaption));
    if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    PageControl->setTabVisible(PageControl->indexOf(SecretPage), false);
    PageControl->setCurrentWidget(ScreenPage);
    MachinePageControl->setCurrentWidget(HardwarePage);
    fillJoystickLists();
    readSettings();
}

void TVarnokForm::fillJoystickLists() {
    for (int joystickKey = 0; joystickKey < joystickKeyCount; ++joystickKey) {
        QComboBox* box = JoyComboBoxes[joystickKey];
        QSignalBlocker quiet(box);
        box->clear();
        if (isFireKeySetting(joystickKey))
            for (const HostKey& key : fireKeys) box->addItem(QString::fromUtf8(key.name));
        else
            for (const HostKey& key : directionKeys) box->addItem(QString::fromUtf8(key.name));
        box->setCurrentIndex(-1);
    }
}

void TVarnokForm::selectRadio(QButtonGroup* group, uint32_t value) {
    QAbstractButton* button = value <= uint32_t(INT32_MAX) ? group->button(int(value)) : nullptr;
    if (!button) {
        group->setExclusive(false);
        for (QAbstractButton* other : group->buttons()) other->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button->setChecked(true);
    radioActions_.at(group)(int(value));
}

void TVarnokForm::showComboIndex(QComboBox* box, uint32_t index) {
    QSignalBlocker quiet(box);
    box->setCurrentIndex(index < uint32_t(box->count()) ? int(index) : -1);
}

void TVarnokForm::readSettings() {
    // Controls store what they show, so keep what was read and apply it in order.
    const SetupSettings stored = readStoredSettings(store_);
    settings_ = stored;
    for (int slot = 0; slot < romSlotCount; ++slot)
        RomEdits[slot]->setText(toQString(stored.text[Rom0L + slot]));

    selectRadio(ResolutionGroup, stored.number[ScreenMode]);
    ModeXCheckBox->setChecked(settings_.number[ModeX] != 0);

    selectRadio(PriorityGroup, stored.number[Priority]);
    SoundCheckBox->setChecked(stored.number[SoundEmulation] != 0);
    DebuggerCheckBox->setChecked(stored.number[Debugger] != 0);
    selectRadio(SyncGroup, stored.number[Sync]);

    choosePresetRomNames(stored);
    selectRadio(MachineGroup, stored.number[Machine]);
    const MachinePresetRow* preset = presetFor(stored.number[Machine]);
    // An unknown machine leaves the ROM names as read, so show the RAM size read too.
    if (!preset || preset->custom) showComboIndex(RamComboBox, stored.number[Ram]);

    selectRadio(JoystickGroup, stored.number[Joystick]);
    LogCheckBox->setChecked(stored.number[Log] != 0);
    selectRadio(Drive8Group, stored.number[DriveType8]);
    Drive8PCDirEdit->setText(toQString(stored.text[Drive8PCDir]));
    Drive8D64Edit->setText(toQString(stored.text[Drive8D64]));

    for (int joystickKey = 0; joystickKey < joystickKeyCount; ++joystickKey)
        showComboIndex(JoyComboBoxes[joystickKey], stored.number[Joy1Up + joystickKey]);

    selectRadio(PaletteGroup, stored.number[Palette]);
    selectRadio(ClockGroup, stored.number[Clock]);
    selectRadio(HardSIDGroup, stored.number[HardSID]);
    // A preset chosen above has already turned the check on; only Custom shows what was read.
    PalRomCheckBox->setChecked(settings_.number[PALROM] != 0);
}

void TVarnokForm::choosePresetRomNames(const SetupSettings& stored) {
    const std::string& basic = stored.text[Rom0L];
    const std::string& kernal = stored.text[Rom0H];
    bool storeNamesRoms = false;
    for (int slot = 0; slot < romSlotCount; ++slot) storeNamesRoms |= !stored.text[Rom0L + slot].empty();
    presetRomNames_ = {machinePresets[0].roms[0], machinePresets[0].roms[1]};
    // A fresh account gets the project's own ROM, so OK then Run boots; names
    // already stored stay, and the open ROM chosen once stays chosen.
    if (!storeNamesRoms) {
        if (auto rom = findOpenRom()) presetRomNames_ = {rom->basic.toStdString(), rom->kernal.toStdString()};
    } else if (namesOpenRom(toQString(basic), toQString(kernal))) {
        presetRomNames_ = {basic, kernal};
    }
}

bool TVarnokForm::writeSettings() {
    // A store in another form is replaced whole, never mixed: only when the user agrees.
    if (const std::string found = store_.rewriteNotice();
        !found.empty() && !askQuestion(this, toQString(found) + QString::fromUtf8(rewriteQuestion)))
        return false;
    std::string problem;
    if (writeStoredSettings(store_, settings_, problem)) return true;
    QString text = QString::fromUtf8(writeFailedMessage);
    if (!problem.empty()) text += QStringLiteral("\n\n") + toQString(problem);
    showMessage(this, MessageKind::Error, text);
    return false;
}

void TVarnokForm::selectScreenMode(int mode) {
    settings_.number[ScreenMode] = uint32_t(mode);
    // Only the two 320-pixel-wide modes have ModeX variants.
    const bool modeXPossible = mode == 0 || mode == 3;
    if (!modeXPossible) {
        ModeXCheckBox->setChecked(false);
        settings_.number[ModeX] = 0;
    }
    ModeXCheckBox->setEnabled(modeXPossible);
}

void TVarnokForm::enableCustomMachine(bool enabled) {
    HardwarePage->setEnabled(enabled);
    for (QWidget* page : RomPages) page->setEnabled(enabled);
}

void TVarnokForm::MachineRadioButtonClick(uint32_t machine) {
    settings_.number[Machine] = machine;
    const MachinePresetRow* preset = presetFor(machine);
    if (!preset) return;
    enableCustomMachine(preset->custom);
    if (preset->custom) return;
    // Set the variables too: a control already showing the value reports no change.
    for (int slot = 0; slot < romSlotCount; ++slot) {
        const std::string name = slot < 2 ? presetRomNames_[slot] : preset->roms[slot];
        RomEdits[slot]->setText(toQString(name));
        settings_.text[Rom0L + slot] = name;
    }
    PalRomCheckBox->setChecked(true);
    settings_.number[PALROM] = 1;
    RamComboBox->setCurrentIndex(int(preset->ram));
    settings_.number[Ram] = preset->ram;
}

void TVarnokForm::JoyComboBoxChange(int joystickKey, int index) {
    // Emptying the lists passes no item; that is not a choice.
    if (index >= 0) settings_.number[Joy1Up + joystickKey] = uint32_t(index);
}

void TVarnokForm::RestoreDefaultsButtonClick(int joystick) {
    for (int k = 0; k < keysPerJoystick; ++k) {
        const int joystickKey = joystick * keysPerJoystick + k;
        JoyComboBoxes[joystickKey]->setCurrentIndex(int(defaultJoystickKeys[k]));
        JoyComboBoxChange(joystickKey, int(defaultJoystickKeys[k]));
    }
}

void TVarnokForm::RomEditChange(int slot, const QString& text) {
    settings_.text[Rom0L + slot] = text.toStdString();
}

void TVarnokForm::RomBrowseButtonClick(int slot) {
    // The dialog starts in the current directory and leaves it as it was.
    const QString file =
        QFileDialog::getOpenFileName(this, QString(), QDir::currentPath(), QString::fromUtf8(romFilter));
    if (!file.isEmpty()) RomEdits[slot]->setText(QDir::toNativeSeparators(file));
}

void TVarnokForm::RomRemoveButtonClick(int slot) { RomEdits[slot]->clear(); }

void TVarnokForm::Drive8PCDirButtonClick() {
    const QString dir = QFileDialog::getExistingDirectory(this, QString(), Drive8PCDirEdit->text());
    if (!dir.isEmpty()) Drive8PCDirEdit->setText(QDir::toNativeSeparators(dir));
}

void TVarnokForm::Drive8D64ButtonClick() {
    const QString file =
        QFileDialog::getOpenFileName(this, QString(), Drive8D64Edit->text(), QString::fromUtf8(d64Filter));
    if (!file.isEmpty()) Drive8D64Edit->setText(QDir::toNativeSeparators(file));
}

void TVarnokForm::Button1Click() {
    // The form stays open on a failed write, so the user's changes are not lost.
    if (writeSettings()) accept();
}

void TVarnokForm::Button2Click() { reject(); }

void TVarnokForm::Button3Click() {
    writeSettings();
    launch(emulatorProgramName());
}

void TVarnokForm::AboutButtonClick() {
    showMessage(this, MessageKind::Information, QString::fromUtf8(aboutText));
}

void TVarnokForm::VarnokImageDblClick() {
    showMessage(this, MessageKind::Information, QString::fromUtf8(secretFoundMessage));
    PageControl->setTabVisible(PageControl->indexOf(SecretPage), true);
}

}  // namespace varnoksetup
