// The setup form as a user drives it, checked against what lands in the store.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "Mainform/artwork.h"
#include "Mainform/places.h"
#include "Mainform/shell.h"
#include "Mainform/varnok_form.h"
#include "setup_test_support.h"

using namespace varnoksetup;
using namespace setuptest;

namespace {

struct Message {
    MessageKind kind;
    QString text;
};

QString romText(TVarnokForm& form, int slot) { return form.RomEdits[slot]->text(); }

int ramIndex(const QString& size) { return QStringList{"16K", "32K", "64k"}.indexOf(size); }

QStringList comboItems(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

void clickRadio(QButtonGroup* group, const QString& caption) {
    for (QAbstractButton* button : group->buttons())
        if (button->text() == caption) return button->click();
    QFAIL(qPrintable(QStringLiteral("no button %1").arg(caption)));
}

void choose(QComboBox* box, const QString& item) {
    const int index = box->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    box->setCurrentIndex(index);
}

// A file with its folders; an executable one when `script` is a shell script.
bool makeFile(const QString& path, const QByteArray& content = "x", bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return false;
    file.close();
    return !executable || file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

}  // namespace

class SetupFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString oldCurrentDir_;
    std::vector<Message> messages_;
    bool answer_ = true;  // to a question
    QStringList launches_;

    void showForm(TVarnokForm& form) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    // The first preset's BASIC and KERNAL where its names point: the current directory.
    void makePresetRoms() const {
        QVERIFY(makeFile(dir_->filePath(QStringLiteral("basic.bin"))));
        QVERIFY(makeFile(dir_->filePath(QStringLiteral("kernal.bin"))));
    }

private slots:
    // Nothing installed and nothing built around the program unless a test puts it there.
    Places placesIn(const QString& programFolder) const {
        const QString prefix = dir_->filePath(QStringLiteral("configured-prefix"));
        return Places{dir_->filePath(programFolder), prefix + "/bin",
                      prefix + "/share/varnok",      prefix + "/share/doc/varnok",
                      prefix + "/share/man",         dir_->filePath(QStringLiteral("source"))};
    }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        setPlaces(placesIn(QStringLiteral("tree/bin")));
        qputenv("VARNOK_REGISTRY", dir_->filePath(QStringLiteral("registry.reg")).toLocal8Bit());
        oldCurrentDir_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        messages_.clear();
        launches_.clear();
        answer_ = true;
        setMessageBoxFunction([this](QWidget*, MessageKind kind, const QString& text) {
            messages_.push_back({kind, text});
            return answer_;
        });
        setLaunchFunction([this](const QString& program) { launches_ << program; });
    }

    void cleanup() {
        setPlaces(std::nullopt);
        setMessageBoxFunction({});
        setLaunchFunction({});
        QDir::setCurrent(oldCurrentDir_);
        dir_.reset();
    }

    void firstStartShowsEveryDefault() {
        TVarnokForm form;
        showForm(form);
        QCOMPARE(form.windowTitle(), QStringLiteral("Varnok V0.48R3 Setup"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Varnok V0.48R3 Setup"));
        QCOMPARE(form.PageControl->currentWidget(), form.ScreenPage);
        QVERIFY(!form.PageControl->isTabVisible(form.PageControl->indexOf(form.SecretPage)));
        QCOMPARE(form.ResolutionGroup->checkedButton()->text(), QStringLiteral("320x200"));
        QVERIFY(form.SoundCheckBox->isChecked());
        QCOMPARE(form.PriorityGroup->checkedButton()->text(), QStringLiteral("Normal"));
        QCOMPARE(form.SyncGroup->checkedButton()->text(), QStringLiteral("50Hz timer"));
        QCOMPARE(form.MachineGroup->checkedButton()->text(), QStringLiteral("C 16"));
        QCOMPARE(form.RamComboBox->currentText(), QStringLiteral("16K"));
        QCOMPARE(romText(form, 0), QStringLiteral("basic.bin"));
        QCOMPARE(romText(form, 1), QStringLiteral("kernal.bin"));
        QVERIFY(form.PalRomCheckBox->isChecked());
        QVERIFY(!form.HardwarePage->isEnabled());
        QCOMPARE(form.JoystickGroup->checkedButton()->text(), QStringLiteral("None"));
        const QStringList keys = {"Cur Up", "Cur Down", "Cur Left", "Cur Right", "Right Ctrl"};
        for (int k = 0; k < joystickKeyCount; ++k)
            QCOMPARE(form.JoyComboBoxes[k]->currentText(), keys[k % keysPerJoystick]);
        QVERIFY(storedValues().empty());

        form.Button1->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(storedNumber("Ram"), 0u);
        QCOMPARE(storedNumber("SoundEmulation"), 1u);
        QCOMPARE(storedNumber("PALROM"), 1u);
        QCOMPARE(storedNumber("Joy2UpCode"), 200u);
        QCOMPARE(storedNumber("Joy2FireCode"), 157u);
        QCOMPARE(storedText("Rom1L"), std::string());
        QVERIFY(!storedNumber("DriveNumber"));
    }

    void resolutionDecidesModeX_data() {
        QTest::addColumn<QString>("resolution");
        QTest::addColumn<bool>("modeXAllowed");
        QTest::newRow("320x200") << "320x200" << true;
        QTest::newRow("400x300") << "400x300" << false;
        QTest::newRow("512x384") << "512x384" << false;
        QTest::newRow("320x240") << "320x240" << true;
        QTest::newRow("640x480") << "640x480" << false;
        QTest::newRow("640x400 Full") << "640x400 Full" << false;
        QTest::newRow("800x600 SL") << "800x600 SL" << false;
    }
    void resolutionDecidesModeX() {
        QFETCH(QString, resolution);
        QFETCH(bool, modeXAllowed);
        storeNumber("ModeX", 1);
        TVarnokForm form;
        showForm(form);
        QVERIFY(form.ModeXCheckBox->isChecked());
        clickRadio(form.ResolutionGroup, resolution);
        // The stored flag follows the resolution, but there is no ModeX to choose here.
        QVERIFY(!form.ModeXCheckBox->isEnabled());
        QVERIFY(form.ModeXCheckBox->toolTip().contains(QStringLiteral("no ModeX to choose")));
        QCOMPARE(form.ModeXCheckBox->isChecked(), modeXAllowed);
        form.Button1->click();
        QCOMPARE(storedNumber("ModeX"), modeXAllowed ? 1u : 0u);
        QCOMPARE(storedNumber("ScreenMode"), uint32_t(form.ResolutionGroup->checkedId()));
    }

    void storedWideResolutionClearsModeXOnShow() {
        storeNumber("ScreenMode", 6);
        storeNumber("ModeX", 1);
        TVarnokForm form;
        showForm(form);
        QVERIFY(!form.ModeXCheckBox->isChecked());
        QVERIFY(!form.ModeXCheckBox->isEnabled());
        QCOMPARE(form.settings().number[ModeX], 0u);
    }

    void presetButtonsSetMachineRamPalCheckAndRoms_data() {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<uint32_t>("machine");
        QTest::addColumn<uint32_t>("ram");
        QTest::addColumn<uint32_t>("palRom");
        QTest::addColumn<QStringList>("roms");
        QTest::addColumn<bool>("customControls");
        const QStringList own = {"my0l", "my0h", "my1l", "my1h", "my2l", "my2h", "my3l", "my3h"};
        const QStringList c16 = {"basic.bin", "kernal.bin", "", "", "", "", "", ""};
        const QStringList plus4 = {"basic.bin", "kernal.bin", "3plus1lo.rom", "3plus1hi.rom", "", "", "", ""};
        // clang-format off
        //                             preset          Machine Ram PALROM ROM names  custom controls
        QTest::newRow("C 16")       << "C 16"       << 0u << 0u << 1u << c16   << false;
        QTest::newRow("C 16 + 64K") << "C 16 + 64K" << 1u << 2u << 1u << c16   << false;
        QTest::newRow("C 232")      << "C 232"      << 2u << 1u << 1u << plus4 << false;
        QTest::newRow("C Plus4")    << "C Plus4"    << 3u << 2u << 1u << plus4 << false;
        QTest::newRow("Custom")     << "Custom"     << 4u << 1u << 0u << own   << true;
        // clang-format on
    }
    void presetButtonsSetMachineRamPalCheckAndRoms() {
        QFETCH(QString, preset);
        QFETCH(uint32_t, machine);
        QFETCH(uint32_t, ram);
        QFETCH(uint32_t, palRom);
        QFETCH(QStringList, roms);
        QFETCH(bool, customControls);
        // Start from a custom machine with values of its own, none of them a preset's.
        storeNumber("Machine", 4);
        storeNumber("Ram", 1);
        storeNumber("PALROM", 0);
        const char* names[] = {"Rom0L", "Rom0H", "Rom1L", "Rom1H", "Rom2L", "Rom2H", "Rom3L", "Rom3H"};
        for (int slot = 0; slot < romSlotCount; ++slot)
            storeText(names[slot],
                      QStringLiteral("my%1%2").arg(slot / 2).arg(slot % 2 ? "h" : "l").toStdString());
        TVarnokForm form;
        showForm(form);
        QVERIFY(form.HardwarePage->isEnabled());

        clickRadio(form.MachineGroup, preset);
        QCOMPARE(form.HardwarePage->isEnabled(), customControls);
        QCOMPARE(form.RomPages[3]->isEnabled(), customControls);
        QCOMPARE(form.RamComboBox->currentIndex(), int(ram));
        form.Button1->click();
        QCOMPARE(storedNumber("Machine"), machine);
        QCOMPARE(storedNumber("Ram"), ram);
        QCOMPARE(storedNumber("PALROM"), palRom);
        for (int slot = 0; slot < romSlotCount; ++slot)
            QCOMPARE(storedText(names[slot]), roms[slot].toStdString());
    }

    void storedPresetReplacesCustomRomNamesOnShow() {
        storeNumber("Machine", 3);
        storeText("Rom2L", "cartridge.rom");
        TVarnokForm form;
        showForm(form);
        QCOMPARE(form.MachineGroup->checkedButton()->text(), QStringLiteral("C Plus4"));
        QCOMPARE(romText(form, 2), QStringLiteral("3plus1lo.rom"));
        QCOMPARE(romText(form, 4), QString());
        form.Button1->click();
        QCOMPARE(storedText("Rom2L"), std::string());
    }

    void storedPresetTurnsThePalCheckBackOnOnShow() {
        storeNumber("Machine", 0);
        storeNumber("Ram", 2);
        storeNumber("PALROM", 0);
        TVarnokForm form;
        showForm(form);
        QVERIFY(form.PalRomCheckBox->isChecked());
        QCOMPARE(form.RamComboBox->currentText(), QStringLiteral("16K"));
        form.Button1->click();
        QCOMPARE(storedNumber("PALROM"), 1u);
        QCOMPARE(storedNumber("Ram"), 0u);
    }

    void customMachineShowsThePalCheckAsStored() {
        storeNumber("Machine", 4);
        storeNumber("PALROM", 0);
        TVarnokForm form;
        showForm(form);
        QVERIFY(!form.PalRomCheckBox->isChecked());
        form.Button1->click();
        QCOMPARE(storedNumber("PALROM"), 0u);
    }

    void joystickKeySavesIndexAndScanCode_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("indexName");
        QTest::addColumn<uint32_t>("index");
        QTest::addColumn<uint32_t>("scanCode");
        // clang-format off
        QTest::newRow("Joy1Up Enter")      << 0 << "Enter"     << "Joy1Up"    << 48u << 28u;
        QTest::newRow("Joy1Left A")        << 2 << "A"         << "Joy1Left"  << 0u  << 30u;
        QTest::newRow("Joy1Right Space")   << 3 << "Space"     << "Joy1Right" << 47u << 57u;
        QTest::newRow("Joy2Down 0")        << 6 << "0"         << "Joy2Down"  << 35u << 11u;
        QTest::newRow("Joy2Up backslash")  << 5 << "\\"        << "Joy2Up"    << 40u << 43u;
        QTest::newRow("Joy2Left Escape")   << 7 << "Escape"    << "Joy2Left"  << 46u << 1u;
        QTest::newRow("Joy1Fire Left Alt") << 4 << "Left Alt"  << "Joy1Fire"  << 2u  << 56u;
        QTest::newRow("Joy2Fire R Alt")    << 9 << "Right Alt" << "Joy2Fire"  << 3u  << 184u;
        // clang-format on
    }
    void joystickKeySavesIndexAndScanCode() {
        QFETCH(int, box);
        QFETCH(QString, key);
        QFETCH(QString, indexName);
        QFETCH(uint32_t, index);
        QFETCH(uint32_t, scanCode);
        TVarnokForm form;
        showForm(form);
        choose(form.JoyComboBoxes[box], key);
        form.Button1->click();
        QCOMPARE(storedNumber(indexName.toStdString()), index);
        QCOMPARE(storedNumber((indexName + "Code").toStdString()), scanCode);
    }

    void fireBoxesHoldOnlyCtrlAndAltKeys() {
        TVarnokForm form;
        showForm(form);
        const QStringList fire = {"Left Ctrl", "Right Ctrl", "Left Alt", "Right Alt"};
        QCOMPARE(comboItems(form.JoyComboBoxes[4]), fire);
        QCOMPARE(comboItems(form.JoyComboBoxes[9]), fire);
        QCOMPARE(form.JoyComboBoxes[0]->count(), 57);
        QCOMPARE(form.JoyComboBoxes[0]->itemText(0), QStringLiteral("A"));
        QCOMPARE(form.JoyComboBoxes[0]->itemText(56), QStringLiteral("Right Alt"));
    }

    void restoreDefaultsResetsOnlyItsJoystick() {
        TVarnokForm form;
        showForm(form);
        for (int k = 0; k < joystickKeyCount; ++k) form.JoyComboBoxes[k]->setCurrentIndex(0);
        for (QPushButton* button : form.findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("Restore defaults (2)")) button->click();
        form.Button1->click();
        QCOMPARE(storedNumber("Joy1Up"), 0u);
        QCOMPARE(storedNumber("Joy2Up"), 49u);
        QCOMPARE(storedNumber("Joy2Right"), 52u);
        QCOMPARE(storedNumber("Joy2Fire"), 1u);
        QCOMPARE(storedNumber("Joy2FireCode"), 157u);
    }

    void cancelWritesNothing() {
        storeNumber("Sync", 2);
        TVarnokForm form;
        showForm(form);
        clickRadio(form.ResolutionGroup, QStringLiteral("640x480"));
        clickRadio(form.SyncGroup, QStringLiteral("Sync off"));
        form.RomEdits[5]->setText(QStringLiteral("changed.rom"));
        form.Button2->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(storedValues().size(), size_t(1));
        QCOMPARE(storedNumber("Sync"), 2u);
    }

    void refusedWriteShowsErrorAndWritesNothingAfterIt() {
        RecordingStore store;
        store.refuseWriteOf = "Joy1Up";
        TVarnokForm form(store);
        showForm(form);
        form.Button1->click();
        QVERIFY(form.isVisible());
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].kind, MessageKind::Error);
        QCOMPARE(messages_[0].text, QStringLiteral("Cannot write into registry."));
        QCOMPARE(store.accesses.last(), QStringLiteral("write Joy1Up"));
        QCOMPARE(storedNumber("DriveType8"), 0u);
        QVERIFY(!storedNumber("Joy1Up"));
        QVERIFY(!storedNumber("Joy1UpCode"));
        QVERIFY(!storedNumber("PALROM"));
    }

    void unwritableStoreStillRunsTheEmulator() {
        // A file where the store's directory should be: the key cannot be created.
        QFile blocker(dir_->filePath(QStringLiteral("blocked")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("VARNOK_REGISTRY", dir_->filePath(QStringLiteral("blocked/registry.reg")).toLocal8Bit());
        makePresetRoms();
        TVarnokForm form;
        showForm(form);
        form.Button3->click();
        QCOMPARE(messages_.size(), size_t(1));
        QVERIFY(messages_[0].text.startsWith(QStringLiteral("Cannot write into registry.\n\n")));
        QVERIFY(messages_[0].text.contains(QStringLiteral("blocked/registry.reg")));
        QCOMPARE(launches_, QStringList{emulatorProgramName()});
        QVERIFY(form.isVisible());
    }

    void readsAndWritesInTheEmulatorsOrder() {
        storeNumber("Machine", 4);
        RecordingStore store;
        TVarnokForm form(store);
        showForm(form);
        const QStringList reads = {
            "ScreenMode",  "Priority",   "SoundEmulation", "Debugger",    "Sync",     "ModeX",
            "Joystick",    "Log",        "DriveType8",     "Joy1Up",      "Joy1Down", "Joy1Left",
            "Joy1Right",   "Joy1Fire",   "Joy2Up",         "Joy2Down",    "Joy2Left", "Joy2Right",
            "Joy2Fire",    "Ram",        "Palette",        "Clock",       "HardSID",  "Machine",
            "Rom0L",       "Rom0H",      "Rom1L",          "Rom1H",       "Rom2L",    "Rom2H",
            "Rom3L",       "Rom3H",      "Drive8PCDir",    "Drive8D64",   "PALROM",   "Windowed",
            "WindowScale", "TrueDrive8", "Drive1551Rom",   "Drive1541Rom"};
        QCOMPARE(store.accesses, QStringList(reads).replaceInStrings(QRegularExpression("^"), "read "));

        store.accesses.clear();
        form.Button1->click();
        const QStringList writes = {
            "ScreenMode", "Priority",     "SoundEmulation", "Debugger",      "Sync",
            "ModeX",      "Ram",          "Joystick",       "Log",           "DriveType8",
            "Joy1Up",     "Joy1Down",     "Joy1Left",       "Joy1Right",     "Joy1Fire",
            "Joy2Up",     "Joy2Down",     "Joy2Left",       "Joy2Right",     "Joy2Fire",
            "Joy1UpCode", "Joy1DownCode", "Joy1LeftCode",   "Joy1RightCode", "Joy1FireCode",
            "Joy2UpCode", "Joy2DownCode", "Joy2LeftCode",   "Joy2RightCode", "Joy2FireCode",
            "Palette",    "Clock",        "HardSID",        "Machine",       "Rom0L",
            "Rom0H",      "Rom1L",        "Rom1H",          "Rom2L",         "Rom2H",
            "Rom3L",      "Rom3H",        "Drive8PCDir",    "Drive8D64",     "PALROM",
            "Windowed",   "WindowScale",  "TrueDrive8",     "Drive1551Rom",  "Drive1541Rom"};
        QCOMPARE(store.accesses, QStringList(writes).replaceInStrings(QRegularExpression("^"), "write "));
    }

    void oddStoredValuesShowNoChoiceAndSurviveASave() {
        storeNumber("ScreenMode", 9);
        storeNumber("Machine", 4);
        storeNumber("Ram", 7);
        storeNumber("Joy1Up", 99);
        storeNumber("Joy1UpCode", 17);
        storeNumber("Joy2Fire", 0xFFFFFFFF);
        storeNumber("SoundEmulation", 2);
        storeText("Rom0L", "good.rom");
        storeNumber("Rom0H", 5);        // a number where a name belongs
        storeText("Priority", "high");  // a name where a number belongs
        TVarnokForm form;
        showForm(form);
        QCOMPARE(form.ResolutionGroup->checkedButton(), nullptr);
        QCOMPARE(form.RamComboBox->currentIndex(), -1);
        QCOMPARE(form.JoyComboBoxes[0]->currentIndex(), -1);
        QCOMPARE(form.JoyComboBoxes[9]->currentIndex(), -1);
        QVERIFY(!form.SoundCheckBox->isChecked());
        QCOMPARE(romText(form, 0), QStringLiteral("good.rom"));
        QCOMPARE(romText(form, 1), QString());
        QCOMPARE(form.PriorityGroup->checkedButton()->text(), QStringLiteral("Normal"));
        form.Button1->click();
        QVERIFY(messages_.empty());
        QCOMPARE(storedNumber("ScreenMode"), 9u);
        QCOMPARE(storedNumber("Ram"), 7u);
        QCOMPARE(storedNumber("Joy1Up"), 99u);
        QCOMPARE(storedNumber("Joy1UpCode"), 17u);
        QVERIFY(!storedNumber("Joy2FireCode"));
        QCOMPARE(storedNumber("SoundEmulation"), 0u);
        QCOMPARE(storedText("Rom0L"), std::string("good.rom"));
        QCOMPARE(storedText("Rom0H"), std::string());
        QCOMPARE(storedNumber("Priority"), 0u);
    }

    void runWritesThenLaunchesOncePerPress() {
        makePresetRoms();
        TVarnokForm form;
        showForm(form);
        clickRadio(form.ClockGroup, QStringLiteral("Top left clock"));
        setLaunchFunction([this](const QString& program) {
            launches_ << program;
            QCOMPARE(storedNumber("Clock"), 2u);
        });
        form.Button3->click();
        form.Button3->click();
        QCOMPARE(launches_, QStringList({emulatorProgramName(), emulatorProgramName()}));
        QVERIFY(form.isVisible());
        QVERIFY(messages_.empty());
    }

    // A file that is missing, a folder and an empty file are marked with the reason; Run
    // lists them and asks, and starts nothing on No.
    void unreadableRomsAreMarkedAndRunAsksFirst() {
        makePresetRoms();
        QVERIFY(QDir().mkpath(dir_->filePath(QStringLiteral("a folder.rom"))));
        QVERIFY(makeFile(dir_->filePath(QStringLiteral("roms/empty.rom")), QByteArray()));
        QVERIFY(makeFile(dir_->filePath(QStringLiteral("roms/good.rom"))));
        storeNumber("Machine", 4);
        storeText("Rom0L", "basic.bin");
        storeText("Rom0H", "kernal.bin");
        storeText("Rom1L", "3plus1lo.rom");
        storeText("Rom2L", "a folder.rom");
        storeText("Rom2H", dir_->filePath(QStringLiteral("roms/empty.rom")).toStdString());
        storeText("Rom3H", dir_->filePath(QStringLiteral("roms/good.rom")).toStdString());
        TVarnokForm form;
        showForm(form);
        const QString here = QDir(dir_->path()).absolutePath();
        const QStringList reasons = {QString(),
                                     QString(),
                                     here + "/3plus1lo.rom: no such file",
                                     QString(),
                                     here + "/a folder.rom: is a folder, not a file",
                                     here + "/roms/empty.rom: empty file",
                                     QString(),
                                     QString()};
        for (int slot = 0; slot < romSlotCount; ++slot) {
            QCOMPARE(form.RomWarnings[slot]->isVisible(), !reasons[slot].isEmpty());
            QCOMPARE(form.RomEdits[slot]->toolTip(), reasons[slot]);
            QCOMPARE(form.RomReasons[slot]->text(), reasons[slot]);
        }
        QVERIFY(!form.PageControl->tabIcon(form.PageControl->indexOf(form.MachinePage)).isNull());
        QCOMPARE(
            form.MachinePageControl->tabIcon(form.MachinePageControl->indexOf(form.RomPages[0])).isNull(),
            true);
        QCOMPARE(
            form.MachinePageControl->tabIcon(form.MachinePageControl->indexOf(form.RomPages[1])).isNull(),
            false);

        answer_ = false;
        form.Button3->click();
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].kind, MessageKind::Question);
        for (const QString& listed :
             {"ROM 1 - Low: " + reasons[2], "ROM 2 - Low: " + reasons[4], "ROM 2 - High: " + reasons[5]})
            QVERIFY2(messages_[0].text.contains(listed), qPrintable(messages_[0].text));
        QVERIFY(launches_.isEmpty());
        QCOMPARE(storedText("Rom1L"), std::string("3plus1lo.rom"));  // written all the same

        // A file put in place and named again clears the mark; Yes runs.
        QVERIFY(makeFile(dir_->filePath(QStringLiteral("3plus1lo.rom"))));
        form.RomEdits[2]->setText(QStringLiteral("3plus1lo.rom "));
        form.RomEdits[2]->setText(QStringLiteral("3plus1lo.rom"));
        QVERIFY(!form.RomWarnings[2]->isVisible());
        answer_ = true;
        form.Button3->click();
        QCOMPARE(launches_, QStringList{emulatorProgramName()});
    }

    void romDialogOpensInTheFolderOfTheLastRomChosen() {
        QVERIFY(makeFile(dir_->filePath(QStringLiteral("saved/mine.bin"))));
        QVERIFY(makeFile(dir_->filePath(QStringLiteral("chosen/3plus1lo.rom"))));
        storeNumber("Machine", 4);
        storeText("Rom0L", dir_->filePath(QStringLiteral("saved/mine.bin")).toStdString());
        QStringList folders;
        QString answer = dir_->filePath(QStringLiteral("chosen/3plus1lo.rom"));
        setOpenFileFunction([&](QWidget*, const QString& folder, const QString&) {
            folders << folder;
            return answer;
        });
        TVarnokForm form;
        showForm(form);
        form.RomBrowseButtonClick(2);  // the fields' own folder before any choice
        answer.clear();                // cancelled: nothing changes
        form.RomBrowseButtonClick(5);
        form.RomBrowseButtonClick(0);
        setOpenFileFunction({});
        const QString saved = dir_->filePath(QStringLiteral("saved")),
                      chosen = dir_->filePath(QStringLiteral("chosen"));
        QCOMPARE(folders, QStringList({saved, chosen, chosen}));
        QCOMPARE(romText(form, 2), QDir::toNativeSeparators(chosen + "/3plus1lo.rom"));
        QCOMPARE(romText(form, 5), QString());
    }

    void displayChoiceAndWindowScaleAreStored() {
        storeNumber("WindowScale", 12);  // not one of the items: no choice shown, kept as it was
        TVarnokForm form;
        showForm(form);
        QCOMPARE(form.DisplayGroup->checkedButton()->text(), QStringLiteral("Full screen"));
        QCOMPARE(form.WindowScaleComboBox->currentIndex(), -1);
        form.Button1->click();
        QCOMPARE(storedNumber("Windowed"), 0u);
        QCOMPARE(storedNumber("WindowScale"), 12u);

        TVarnokForm again;
        showForm(again);
        clickRadio(again.DisplayGroup, QStringLiteral("Window"));
        choose(again.WindowScaleComboBox, QStringLiteral("3x"));
        again.Button1->click();
        QCOMPARE(storedNumber("Windowed"), 1u);
        QCOMPARE(storedNumber("WindowScale"), 3u);
        TVarnokForm shown;
        showForm(shown);
        QCOMPARE(shown.DisplayGroup->checkedButton()->text(), QStringLiteral("Window"));
        QCOMPARE(shown.WindowScaleComboBox->currentText(), QStringLiteral("3x"));
    }

    // The drive page chooses the port level or a true drive, and marks the chosen drive's
    // DOS ROM when it cannot be read (Run then says so).
    void trueDriveAndItsRomAreStoredAndAMissingRomIsMarked() {
        QVERIFY(makeFile(dir_->filePath(QStringLiteral("dos1541.bin"))));
        storeText("Drive1541Rom", dir_->filePath(QStringLiteral("dos1541.bin")).toStdString());
        TVarnokForm form;
        showForm(form);
        QCOMPARE(form.TrueDriveGroup->checkedId(), 0);
        QVERIFY(form.DosRomReasons[0]->isHidden());
        clickRadio(form.TrueDriveGroup,
                   QStringLiteral("True 1551 (runs its DOS: fast loaders and drive code)"));
        QVERIFY(!form.DosRomReasons[0]->isHidden());  // no 1551 ROM named
        form.DosRomEdits[0]->setText(dir_->filePath(QStringLiteral("missing.bin")));
        QVERIFY(form.DosRomReasons[0]->text().contains(QStringLiteral("missing.bin")));
        clickRadio(form.TrueDriveGroup, QStringLiteral("True 1541 on the serial bus (runs its DOS)"));
        QVERIFY(form.DosRomReasons[0]->isHidden());
        QVERIFY(form.DosRomReasons[1]->isHidden());  // its ROM is there
        form.Button1->click();
        QCOMPARE(storedNumber("TrueDrive8"), 2u);
        QCOMPARE(storedText("Drive1551Rom"),
                 std::optional<std::string>(dir_->filePath(QStringLiteral("missing.bin")).toStdString()));
    }

    // The build tree's layout: build/setup/VarnokSetup and build/varnok.
    void runStartsTheEmulatorFromTheBuildTreeInTheCurrentDirectory() {
#ifdef Q_OS_WIN
        QSKIP("the stand-in emulator is a shell script");
#endif
        setLaunchFunction({});
        setPlaces(placesIn(QStringLiteral("build/setup")));
        QVERIFY(makeFile(dir_->filePath("build/" + emulatorProgramName()),
                         "#!/bin/sh\necho \"$# $(pwd)\" >> started.txt\n", true));
        const QString marker = dir_->filePath(QStringLiteral("started.txt"));
        makePresetRoms();
        TVarnokForm form;
        showForm(form);
        form.Button3->click();
        form.Button3->click();
        auto started = [&marker] {
            QFile file(marker);
            return file.open(QIODevice::ReadOnly)
                       ? QString::fromLocal8Bit(file.readAll()).split('\n', Qt::SkipEmptyParts)
                       : QStringList();
        };
        QTRY_COMPARE_WITH_TIMEOUT(started().size(), 2, 5000);
        // No parameters, and our current directory as its own.
        QCOMPARE(started()[0], QStringLiteral("0 %1").arg(QDir(dir_->path()).canonicalPath()));
        QVERIFY(messages_.empty());
    }

    void runLooksHereThenBesideTheSetupThenAboveThenInThePrefixThenOnThePath() {
        setPlaces(placesIn(QStringLiteral("build/setup")));
        const QString pathFolder = dir_->filePath(QStringLiteral("on-path"));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", pathFolder.toLocal8Bit());
        const QString name = emulatorProgramName();
        const QStringList order = {dir_->filePath(name), dir_->filePath("build/setup/" + name),
                                   dir_->filePath("build/" + name), places().installBin + "/" + name,
                                   pathFolder + "/" + name};
        // Neither a folder nor a file that cannot run is taken for the program.
        QVERIFY(QDir().mkpath(dir_->filePath("build/setup/" + name + "/")));
        QVERIFY(QDir().rmdir(dir_->filePath("build/setup/" + name)));
        for (const QString& path : order) QVERIFY(makeFile(path, "#!/bin/sh\n", true));
        QVERIFY(makeFile(dir_->filePath("elsewhere/" + name), "#!/bin/sh\n", false));
        for (const QString& path : order) {
            QCOMPARE(QFileInfo(findProgram(name)).absoluteFilePath(), path);
            QVERIFY(QFile::remove(path));
            if (path == order[0]) {
                QVERIFY(QDir().mkpath(path));  // a folder of that name here is passed over
                QCOMPARE(QFileInfo(findProgram(name)).absoluteFilePath(), order[1]);
                QVERIFY(QDir().rmdir(path));
            }
        }
        QCOMPARE(findProgram(name), QString());
        qputenv("PATH", oldPath);
    }

    void freshAccountNamesTheOpenRomFoundBesideTheSetup_data() {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("romFolder");
        QTest::newRow("installed") << "prefix/bin"
                                   << "prefix/share/varnok";
        QTest::newRow("built") << "build/setup"
                               << "build/rom";
        QTest::newRow("configured prefix") << "elsewhere"
                                           << "configured-prefix/share/varnok";
        QTest::newRow("nowhere") << "prefix/bin" << QString();
    }
    void freshAccountNamesTheOpenRomFoundBesideTheSetup() {
        QFETCH(QString, programFolder);
        QFETCH(QString, romFolder);
        setPlaces(placesIn(programFolder));
        QString basic = QStringLiteral("basic.bin"), kernal = QStringLiteral("kernal.bin");
        if (!romFolder.isEmpty()) {
            basic = dir_->filePath(romFolder + "/open-basic.bin");
            kernal = dir_->filePath(romFolder + "/open-kernal.bin");
            QVERIFY(makeFile(basic) && makeFile(kernal));
        }
        for (int start = 0; start < 2; ++start) {  // the choice stays on the next start
            TVarnokForm form;
            showForm(form);
            QCOMPARE(form.MachineGroup->checkedButton()->text(), QStringLiteral("C 16"));
            QCOMPARE(romText(form, 0), basic);
            QCOMPARE(romText(form, 1), kernal);
            form.Button1->click();
            QCOMPARE(storedText("Rom0L"), basic.toStdString());
            QCOMPARE(storedText("Rom0H"), kernal.toStdString());
        }
        // Another preset keeps the pair.
        TVarnokForm form;
        showForm(form);
        clickRadio(form.MachineGroup, QStringLiteral("C Plus4"));
        QCOMPARE(romText(form, 0), basic);
        QCOMPARE(romText(form, 2), QStringLiteral("3plus1lo.rom"));
    }

    void storedRomNamesAndRamAreNeverReplaced_data() {
        QTest::addColumn<bool>("machineStored");
        QTest::addColumn<QString>("basic");
        QTest::addColumn<QString>("ram");
        QTest::newRow("a preset's names") << true << "basic.bin"
                                          << "16K";
        QTest::newRow("no Machine value: custom") << false << "/roms/mine.bin"
                                                  << "32K";
    }
    void storedRomNamesAndRamAreNeverReplaced() {
        QFETCH(bool, machineStored);
        QFETCH(QString, basic);
        QFETCH(QString, ram);
        QVERIFY(makeFile(dir_->filePath("tree/share/varnok/open-basic.bin")));
        QVERIFY(makeFile(dir_->filePath("tree/share/varnok/open-kernal.bin")));
        if (machineStored) storeNumber("Machine", 0);
        storeNumber("Ram", uint32_t(ramIndex(ram)));
        storeText("Rom0L", basic.toStdString());
        storeText("Rom0H", "kernal.bin");
        TVarnokForm form;
        showForm(form);
        QCOMPARE(form.MachineGroup->checkedButton()->text(),
                 machineStored ? QStringLiteral("C 16") : QStringLiteral("Custom"));
        QCOMPARE(form.RamComboBox->currentText(), ram);
        form.Button1->click();
        QCOMPARE(storedText("Rom0L"), basic.toStdString());
        QCOMPARE(storedText("Rom0H"), std::string("kernal.bin"));
        QCOMPARE(storedNumber("Ram"), uint32_t(ramIndex(ram)));
        QCOMPARE(storedNumber("Machine"), machineStored ? 0u : 4u);
    }

    void readOnlyStoreIsKeptAndTheFormStaysOpenSaying() {
        storeNumber("Sync", 2);
        const QString store = dir_->filePath(QStringLiteral("registry.reg"));
        QVERIFY(QFile::setPermissions(store, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QFile before(store);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray text = before.readAll();
        TVarnokForm form;
        showForm(form);
        clickRadio(form.SyncGroup, QStringLiteral("Vertical blank"));
        form.Button1->click();
        QVERIFY(form.isVisible());
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].text,
                 QStringLiteral("Cannot write into registry.\n\n%1: is read-only").arg(store));
        QCOMPARE(form.SyncGroup->checkedButton()->text(), QStringLiteral("Vertical blank"));
        QFile after(store);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), text);
    }

    // A store the registry editor exported (UTF-16), or one that is no store at all, is
    // never written in part: the user is told what it holds and it is replaced by a REGEDIT4
    // file only when they agree.
    void storeInAnotherFormIsReplacedOnlyWhenTheUserAgrees_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("found");
        QTest::addColumn<int>("ramShown");
        QByteArray exported("\xFF\xFE");
        for (char c : QByteArray("Windows Registry Editor Version 5.00\r\n\r\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnok]\r\n\"Ram\"=dword:00000001\r\n"))
            exported.append(c).append('\0');
        QTest::newRow("registry editor export")
            << exported << QStringLiteral("is a registry export in UTF-16") << ramIndex("32K");
        QTest::newRow("no store") << QByteArray(
                                         "\x7F"
                                         "ELF\x02\x01\x01\0\0",
                                         9)
                                  << QStringLiteral("is not a settings store") << ramIndex("16K");
    }

    void storeInAnotherFormIsReplacedOnlyWhenTheUserAgrees() {
        QFETCH(QByteArray, content);
        QFETCH(QString, found);
        QFETCH(int, ramShown);
        const QString store = dir_->filePath(QStringLiteral("registry.reg"));
        QVERIFY(makeFile(store, content));
        TVarnokForm form;
        showForm(form);
        QCOMPARE(form.RamComboBox->currentIndex(), ramShown);
        answer_ = false;
        form.Button1->click();
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].kind, MessageKind::Question);
        QVERIFY2(messages_[0].text.startsWith(store + " " + found), qPrintable(messages_[0].text));
        QVERIFY(form.isVisible());
        QFile kept(store);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), content);

        answer_ = true;
        form.Button1->click();
        QCOMPARE(messages_.size(), size_t(2));
        QVERIFY(!form.isVisible());
        QFile written(store);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("REGEDIT4\n"));
        QCOMPARE(storedNumber("Ram"), uint32_t(ramShown));
    }

    void infoTextTellsWhatThisBuildNeedsAndWhereTheOpenRomIs() {
        QVERIFY(makeFile(dir_->filePath("tree/share/varnok/open-basic.bin")));
        QVERIFY(makeFile(dir_->filePath("tree/share/varnok/open-kernal.bin")));
        TVarnokForm form;
        const QStringList lines = form.InfoMemo->toPlainText().split('\n');
        for (const char* gone : {"DirectX", "Windows"})
            QVERIFY2(!form.InfoMemo->toPlainText().contains(gone), gone);
        const QStringList keys = {"F6 - Screen capture",
                                  "F7 - Emulator options",
                                  "F8 - Loader menu",
                                  "F9 - Debugger",
                                  "F10 - Warp on/off",
                                  "F11 - Soft reset",
                                  "F12 - Exit application",
                                  "Shift F6 - Screen capture",
                                  "Shift F7 - Game database",
                                  "Shift F8 - Saver menu",
                                  "Shift F9 - Quick registers",
                                  "Shift F11 - Hard reset",
                                  "Ctrl F11 - Special reset",
                                  "Pause - Pause on/off",
                                  "Alt Enter - Full screen/window"};
        const qsizetype first = lines.indexOf(QStringLiteral("Keyboard layout:")) + 1;
        QCOMPARE(lines.mid(first, keys.size()), keys);
        QVERIFY(
            lines.contains(QDir::toNativeSeparators(dir_->filePath(QStringLiteral("tree/share/varnok")))));
        QCOMPARE(lines.first(), QStringLiteral("Varnok info:"));
        QVERIFY(lines.contains(QStringLiteral("startup log file.")));
        QCOMPARE(lines.last(), QStringLiteral("KEEP EMULATORS FREE!"));
    }

    void webLinksOpenTheInstalledReadMeAndManualPages() {
        const QStringList documents = {"tree/share/doc/varnok/README.md", "tree/share/man/man6/varnok.6",
                                       "tree/share/man/man6/VarnokSetup.6"};
        for (const QString& document : documents) QVERIFY(makeFile(dir_->filePath(document)));
        QList<QUrl> opened;
        setOpenUrlFunction([&opened](const QUrl& url) { opened << url; });
        TVarnokForm form;
        for (QLabel* label : form.WebPage->findChildren<QLabel*>()) {
            const QRegularExpressionMatch link = QRegularExpression("href=\"([^\"]+)\"").match(label->text());
            if (link.hasMatch()) emit label->linkActivated(link.captured(1));
        }
        setOpenUrlFunction({});
        QVERIFY(opened.size() >= documents.size());
        for (int i = 0; i < documents.size(); ++i)
            QCOMPARE(opened[i], QUrl::fromLocalFile(dir_->filePath(documents[i])));
        for (const QUrl& url : opened) QVERIFY2(!url.host().contains("example"), qPrintable(url.toString()));
    }

    void doubleClickRevealsTheSecretPageForGood() {
        TVarnokForm form;
        showForm(form);
        const int secret = form.PageControl->indexOf(form.SecretPage);
        QTest::mouseDClick(form.VarnokImage, Qt::LeftButton);
        QVERIFY(form.PageControl->isTabVisible(secret));
        QTest::mouseDClick(form.VarnokImage, Qt::LeftButton);
        QVERIFY(form.PageControl->isTabVisible(secret));
        QCOMPARE(messages_.size(), size_t(2));
        for (const Message& message : messages_) {
            QCOMPARE(message.kind, MessageKind::Information);
            QCOMPARE(
                message.text,
                QStringLiteral("You have found a secret!\n\nCheck the secret page for more information!"));
        }
        QList<QUrl> opened;
        setOpenUrlFunction([&opened](const QUrl& url) { opened << url; });
        form.PageControl->setCurrentWidget(form.SecretPage);
        QTest::mouseClick(form.SecretImage, Qt::LeftButton);
        setOpenUrlFunction({});
        QCOMPARE(opened.size(), 1);
    }
};

QTEST_MAIN(SetupFormTest)
#include "test_setup_form.moc"
