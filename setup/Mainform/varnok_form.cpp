#include "Mainform/varnok_form.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
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
#include "fileio/files.h"

namespace varnoksetup {

namespace {

constexpr const char* aboutText = "Varnok V" VARNOK_VERSION
                                  "\n"
                                  "\n"
                                  "An emulator of the Commodore 16 and Plus/4 home computers.\n"
                                  "\n"
                                  "The Web page links to the read-me file and the manual pages\n"
                                  "varnok(6) and VarnokSetup(6).";

constexpr const char* romFilter = "ROM files (*.rom *.bin *.crt *.img);;All files (*)";
constexpr size_t largestRomFile = 1 << 20;  // what the emulator reads of a ROM file
constexpr const char* runAnywayText =
    "These ROM files cannot be read:\n\n%1\n\n"
    "The emulator starts without the images of banks 1 to 3 (the Plus4's 3-PLUS-1 is one), "
    "and does not start without both images of ROM 0.\n\nRun anyway?";
constexpr const char* d64Filter = "Disk images (*.d64 *.g64);;All files (*)";

QString toQString(const std::string& text) { return QString::fromStdString(text); }

// Why the emulator would not load the image a ROM field names, or nothing when it would
// (or none is named). A name without a folder is looked up in the current directory,
// which Run hands to the emulator.
QString romProblem(const QString& name) {
    if (name.isEmpty()) return {};
    const QString path = QDir::current().absoluteFilePath(name);
    const files::ReadResult read = files::readFile(QFile::encodeName(path).toStdString(), largestRomFile);
    if (!read) return QString::fromLocal8Bit(read.error.c_str());
    if (read.bytes.empty()) return QStringLiteral("%1: empty file").arg(QDir::toNativeSeparators(path));
    return {};
}

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
    DosRomEdits[0]->setText(toQString(stored.text[Drive1551Rom]));
    DosRomEdits[1]->setText(toQString(stored.text[Drive1541Rom]));
    selectRadio(TrueDriveGroup, stored.number[TrueDrive8]);

    for (int joystickKey = 0; joystickKey < joystickKeyCount; ++joystickKey)
        showComboIndex(JoyComboBoxes[joystickKey], stored.number[Joy1Up + joystickKey]);

    selectRadio(PaletteGroup, stored.number[Palette]);
    selectRadio(ClockGroup, stored.number[Clock]);
    selectRadio(HardSIDGroup, stored.number[HardSID]);
    // A preset chosen above has already turned the check on; only Custom shows what was read.
    PalRomCheckBox->setChecked(settings_.number[PALROM] != 0);
    selectRadio(DisplayGroup, stored.number[Windowed]);
    showComboIndex(WindowScaleComboBox, stored.number[WindowScale]);
    // A field showing the name it had already reported no change.
    for (int slot = 0; slot < romSlotCount; ++slot) markRom(slot);
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
        !found.empty() &&
        !showMessage(this, MessageKind::Question, toQString(found) + QString::fromUtf8(rewriteQuestion)))
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
    // Only the two 320-pixel-wide modes had ModeX variants; the stored flag follows that
    // rule, though the box itself is never offered.
    if (mode != 0 && mode != 3) {
        ModeXCheckBox->setChecked(false);
        settings_.number[ModeX] = 0;
    }
}

void TVarnokForm::markRom(int slot) {
    const QString problem = romProblem(RomEdits[slot]->text());
    RomWarnings[slot]->setVisible(!problem.isEmpty());
    RomWarnings[slot]->setToolTip(problem);
    RomEdits[slot]->setToolTip(problem);
    RomReasons[slot]->setText(problem);
    RomReasons[slot]->setVisible(!problem.isEmpty());
    // A preset's names sit on pages the user may never open: the tabs say it too.
    const int bank = slot / 2;
    const QIcon warning = RomWarnings[slot]->icon();
    const bool bankMarked = RomWarnings[bank * 2]->isVisible() || RomWarnings[bank * 2 + 1]->isVisible();
    MachinePageControl->setTabIcon(MachinePageControl->indexOf(RomPages[bank]),
                                   bankMarked ? warning : QIcon());
    PageControl->setTabIcon(PageControl->indexOf(MachinePage), romProblems().isEmpty() ? QIcon() : warning);
}

void TVarnokForm::markDosRoms() {
    const int chosen = TrueDriveGroup->checkedId();
    for (int drive = 0; drive < 2; ++drive) {
        const QString name = DosRomEdits[drive]->text();
        QString problem = romProblem(name);
        if (chosen == drive + 1 && name.isEmpty())
            problem = QStringLiteral("no ROM named: drive 8 stays at the port level");
        if (chosen != drive + 1) problem.clear();  // only the chosen drive's ROM matters
        DosRomEdits[drive]->setToolTip(problem);
        DosRomReasons[drive]->setText(problem);
        DosRomReasons[drive]->setVisible(!problem.isEmpty());
    }
}

QStringList TVarnokForm::romProblems() const {
    QStringList problems;
    for (int slot = 0; slot < romSlotCount; ++slot)
        if (RomWarnings[slot]->isVisible())
            problems << QStringLiteral("ROM %1 - %2: %3")
                            .arg(slot / 2)
                            .arg(slot % 2 ? "High" : "Low", RomWarnings[slot]->toolTip());
    for (int drive = 0; drive < 2; ++drive)
        if (!DosRomReasons[drive]->text().isEmpty())
            problems << QStringLiteral("%1 DOS ROM: %2")
                            .arg(drive ? "1541" : "1551", DosRomReasons[drive]->text());
    return problems;
}

// The folder of the ROM chosen last; before any, the folder of a file the fields name
// (this field's first), else the current directory.
QString TVarnokForm::romFolderToStart(int slot) const {
    if (!lastRomFolder_.isEmpty()) return lastRomFolder_;
    for (int i = 0; i < romSlotCount; ++i) {
        const QString name = RomEdits[(slot + i) % romSlotCount]->text();
        const QFileInfo named(QDir::current(), name);
        if (!name.isEmpty() && named.absoluteDir().exists()) return named.absolutePath();
    }
    return QDir::currentPath();
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
    markRom(slot);
}

void TVarnokForm::RomBrowseButtonClick(int slot) {
    // The dialog leaves the current directory as it was.
    const QString file = chooseFile(this, romFolderToStart(slot), QString::fromUtf8(romFilter));
    if (file.isEmpty()) return;
    lastRomFolder_ = QFileInfo(file).absolutePath();
    RomEdits[slot]->setText(QDir::toNativeSeparators(file));
}

void TVarnokForm::RomRemoveButtonClick(int slot) { RomEdits[slot]->clear(); }

void TVarnokForm::Drive8PCDirButtonClick() {
    const QString dir = QFileDialog::getExistingDirectory(this, QString(), Drive8PCDirEdit->text());
    if (!dir.isEmpty()) Drive8PCDirEdit->setText(QDir::toNativeSeparators(dir));
}

void TVarnokForm::DosRomButtonClick(int drive) {
    const QString file = chooseFile(this, romFolderToStart(0), QString::fromUtf8(romFilter));
    if (file.isEmpty()) return;
    lastRomFolder_ = QFileInfo(file).absolutePath();
    DosRomEdits[drive]->setText(QDir::toNativeSeparators(file));
}

void TVarnokForm::Drive8D64ButtonClick() {
    const QString file = chooseFile(this, Drive8D64Edit->text(), QString::fromUtf8(d64Filter));
    if (!file.isEmpty()) Drive8D64Edit->setText(QDir::toNativeSeparators(file));
}

void TVarnokForm::Button1Click() {
    // The form stays open on a failed write, so the user's changes are not lost.
    if (writeSettings()) accept();
}

void TVarnokForm::Button2Click() { reject(); }

void TVarnokForm::Button3Click() {
    writeSettings();
    const QStringList problems = romProblems();
    if (!problems.isEmpty() &&
        !showMessage(this, MessageKind::Question, QString::fromUtf8(runAnywayText).arg(problems.join('\n'))))
        return;
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
