// Building the main form's pages and connecting every control to its handler.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <variant>

#include "Mainform/artwork.h"
#include "Mainform/places.h"
#include "Mainform/shell.h"
#include "Mainform/varnok_form.h"

namespace varnoksetup {

namespace {

// The folder of the open ROM takes the place of the empty entry.
const char* const infoLines[] = {
    "Varnok info:",
    "",
    "This program requires:",
    "- SDL 2 for the emulator,",
    "- Qt 6 for this setup.",
    "",
    "If you have problems with ",
    "Varnok, send me the ",
    "startup log file.",
    "",
    "Keyboard layout:",
    "F6 - Screen capture",
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
    "Alt Enter - Full screen/window",
    "",
    "Plus4 ROMs",
    "The open ROM (BASIC and",
    "KERNAL images) is in:",
    nullptr,
    "The Plus4 presets also name",
    "3plus1lo.rom and 3plus1hi.rom;",
    "they are optional.",
    "",
    "KEEP EMULATORS FREE!",
};

QString openRomFolderLine() {
    if (auto rom = findOpenRom()) return QDir::toNativeSeparators(rom->folder());
    return QStringLiteral("(not found beside VarnokSetup)");
}

struct WebLink {
    const char* caption;
    std::variant<Document, const char*> address;
    const char* shown;  // the label's text; the address when there is none
};

// clang-format off
const WebLink webLinks[] = {
    {"Read me:",               Document::readme,                                    "README.md"},
    {"Emulator manual:",       Document::emulatorManual,                            "varnok(6)"},
    {"Setup manual:",          Document::setupManual,                               "VarnokSetup(6)"},
    {"The Commodore 16:",      "https://en.wikipedia.org/wiki/Commodore_16",        nullptr},
    {"The Commodore Plus/4:",  "https://en.wikipedia.org/wiki/Commodore_Plus/4",    nullptr},
    {"The TED video chip:",    "https://en.wikipedia.org/wiki/MOS_Technology_TED",  nullptr},
};
// clang-format on

QUrl addressOf(const WebLink& link) {
    if (const Document* document = std::get_if<Document>(&link.address)) return documentUrl(*document);
    return QUrl(QString::fromUtf8(std::get<const char*>(link.address)));
}

constexpr const char* secretAddress = "https://en.wikipedia.org/wiki/MOS_Technology_TED";

constexpr const char* modeXHint =
    "ModeX was a way of a PC's VGA card to show low resolutions full screen. Varnok draws every "
    "resolution scaled into its window or onto the whole screen, so there is no ModeX to choose.";
constexpr const char* windowScaleHint =
    "The window's size as a multiple of the screen resolution; a window never grows past the screen. "
    "The emulator keeps the size you give its window. Alt+Enter switches between window and full screen.";

struct Resolution {
    const char* caption;
    void (TVarnokForm::*click)();
};

// In ScreenMode order.
// clang-format off
const Resolution resolutions[] = {
    {"320x200",      &TVarnokForm::Res320x200RadioButtonClick},
    {"400x300",      &TVarnokForm::Res400x300RadioButtonClick},
    {"512x384",      &TVarnokForm::Res512x384RadioButtonClick},
    {"320x240",      &TVarnokForm::Res320x240RadioButtonClick},
    {"640x480",      &TVarnokForm::Res640x480RadioButtonClick},
    {"640x400 Full", &TVarnokForm::Res640x400RadioButtonClick},
    {"800x600 SL",   &TVarnokForm::Res800x600RadioButtonClick},
};
// clang-format on

QStringList captionList(std::initializer_list<const char*> captions) {
    QStringList list;
    for (const char* caption : captions) list << QString::fromUtf8(caption);
    return list;
}

QGroupBox* boxOf(const QString& title, QButtonGroup* group) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    for (QAbstractButton* button : group->buttons()) layout->addWidget(button);
    return box;
}

QGroupBox* boxOf(const QString& title, std::initializer_list<QWidget*> widgets) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    for (QWidget* widget : widgets) layout->addWidget(widget);
    return box;
}

QPushButton* smallButton(const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setAutoDefault(false);
    if (caption == QStringLiteral("...")) button->setFixedWidth(32);
    return button;
}

QWidget* column(std::initializer_list<QWidget*> widgets) {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* child : widgets) layout->addWidget(child);
    layout->addStretch();
    return widget;
}

QWidget* pageOf(std::initializer_list<QWidget*> columns) {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    for (QWidget* child : columns) layout->addWidget(child, 0, Qt::AlignTop);
    return page;
}

}  // namespace

QButtonGroup* TVarnokForm::radioGroup(const QStringList& captions, NumberSetting setting,
                                      const std::function<void(int)>& clickAction) {
    auto* group = new QButtonGroup(this);
    for (int id = 0; id < captions.size(); ++id) group->addButton(new QRadioButton(captions[id]), id);
    auto action = [this, setting, clickAction](int id) {
        settings_.number[setting] = uint32_t(id);
        if (clickAction) clickAction(id);
    };
    radioActions_[group] = action;
    connect(group, &QButtonGroup::idClicked, this, action);
    return group;
}

QCheckBox* TVarnokForm::flagCheckBox(const QString& caption, NumberSetting setting) {
    auto* box = new QCheckBox(caption);
    connect(box, &QCheckBox::toggled, this,
            [this, setting](bool on) { settings_.number[setting] = on ? 1 : 0; });
    return box;
}

void TVarnokForm::buildForm() {
    PageControl = new QTabWidget;
    PageControl->addTab(ScreenPage = buildScreenPage(), QStringLiteral("Screen"));
    PageControl->addTab(OptionsPage = buildOptionsPage(), QStringLiteral("Options"));
    PageControl->addTab(MachinePage = buildMachinePage(), QStringLiteral("Machine"));
    PageControl->addTab(DrivePage = buildDrivePage(), QStringLiteral("Drive"));
    PageControl->addTab(JoystickPage = buildJoystickPage(), QStringLiteral("Joystick"));
    PageControl->addTab(WebPage = buildWebPage(), QStringLiteral("Web"));
    PageControl->addTab(SecretPage = buildSecretPage(), QStringLiteral("Secret"));

    auto* top = new QHBoxLayout;
    top->addWidget(buildInfoPanel());
    top->addWidget(PageControl, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildButtonRow());
}

QWidget* TVarnokForm::buildInfoPanel() {
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    VarnokImage = new PictureLabel(paintComputerPicture(), panel);
    VarnokImage->setObjectName(QStringLiteral("VarnokImage"));
    connect(VarnokImage, &PictureLabel::doubleClicked, this, &TVarnokForm::VarnokImageDblClick);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(VarnokImage);

    InfoMemo = new QPlainTextEdit;
    InfoMemo->setReadOnly(true);
    InfoMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    InfoMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    for (const char* line : infoLines) lines << (line ? QString::fromUtf8(line) : openRomFolderLine());
    InfoMemo->setPlainText(lines.join(QLatin1Char('\n')));

    QWidget* left = column({panel, InfoMemo});
    left->setFixedWidth(panel->sizeHint().width() + 8);
    return left;
}

QWidget* TVarnokForm::buildButtonRow() {
    Button1 = new QPushButton(QStringLiteral("&OK"));
    Button2 = new QPushButton(QStringLiteral("&Cancel"));
    AboutButton = new QPushButton(QStringLiteral("&About"));
    Button3 = new QPushButton(QStringLiteral("&Run"));
    Button1->setDefault(true);
    for (QPushButton* button : {Button2, AboutButton, Button3}) button->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TVarnokForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TVarnokForm::Button2Click);
    connect(AboutButton, &QPushButton::clicked, this, &TVarnokForm::AboutButtonClick);
    connect(Button3, &QPushButton::clicked, this, &TVarnokForm::Button3Click);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(AboutButton);
    layout->addStretch();
    for (QPushButton* button : {Button1, Button2, Button3}) layout->addWidget(button);
    return row;
}

QWidget* TVarnokForm::buildScreenPage() {
    QStringList captions;
    for (const Resolution& resolution : resolutions) captions << QString::fromUtf8(resolution.caption);
    ResolutionGroup = radioGroup(captions, ScreenMode, [this](int id) {
        const Resolution& chosen = resolutions[id];
        (this->*chosen.click)();
    });
    ModeXCheckBox = flagCheckBox(QStringLiteral("Enable ModeX"), ModeX);
    ModeXCheckBox->setEnabled(false);
    ModeXCheckBox->setToolTip(QString::fromUtf8(modeXHint));
    QGroupBox* resolution = boxOf(QStringLiteral("Screen resolution"), ResolutionGroup);
    resolution->layout()->addWidget(ModeXCheckBox);

    DisplayGroup = radioGroup(captionList({"Full screen", "Window"}), Windowed);
    WindowScaleComboBox = new QComboBox;
    WindowScaleComboBox->addItem(QStringLiteral("Largest that fits"));
    for (int scale = 1; scale < windowScaleCount; ++scale)
        WindowScaleComboBox->addItem(QStringLiteral("%1x").arg(scale));
    WindowScaleComboBox->setToolTip(QString::fromUtf8(windowScaleHint));
    connect(WindowScaleComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) settings_.number[WindowScale] = uint32_t(index);
    });
    QGroupBox* display = boxOf(QStringLiteral("Display"), DisplayGroup);
    auto* scaleRow = new QFormLayout;
    scaleRow->addRow(QStringLiteral("Window scale:"), WindowScaleComboBox);
    static_cast<QVBoxLayout*>(display->layout())->addLayout(scaleRow);

    ClockGroup = radioGroup(captionList({"No clock", "Top right clock", "Top left clock"}), Clock);
    PaletteGroup = radioGroup(captionList({"Calculated palette", "Digitized palette"}), Palette);
    return pageOf({column({resolution, display}), column({boxOf(QStringLiteral("Clock"), ClockGroup),
                                                          boxOf(QStringLiteral("Palette"), PaletteGroup)})});
}

QWidget* TVarnokForm::buildOptionsPage() {
    SoundCheckBox = flagCheckBox(QStringLiteral("Enable sound"), SoundEmulation);
    DebuggerCheckBox = flagCheckBox(QStringLiteral("Start in debugger"), Debugger);
    LogCheckBox = flagCheckBox(QStringLiteral("Create startup log"), Log);
    PriorityGroup = radioGroup(captionList({"Normal", "High", "Highest"}), Priority);
    SyncGroup = radioGroup(captionList({"Sync off", "Vertical blank", "50Hz timer"}), Sync);
    HardSIDGroup = radioGroup(captionList({"Disabled", "Enabled $FD40", "Enabled $FE80"}), HardSID);
    HardSIDGroupBox = boxOf(QStringLiteral("HardSID"), HardSIDGroup);
    // The setting is kept for the emulator, but there is nothing to choose yet.
    HardSIDGroupBox->setVisible(false);
    HardSIDGroupBox->setParent(this);

    return pageOf({column({boxOf(QStringLiteral("Options"), {SoundCheckBox, DebuggerCheckBox, LogCheckBox}),
                           boxOf(QStringLiteral("Process priority"), PriorityGroup)}),
                   boxOf(QStringLiteral("Default sync"), SyncGroup)});
}

QWidget* TVarnokForm::buildMachinePage() {
    QStringList captions;
    for (const auto& row : machinePresets) captions << QString::fromUtf8(row.caption);
    // Buttons are listed in display order; their ids are the stored Machine values.
    MachineGroup = new QButtonGroup(this);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i]);
        button->setToolTip(QString::fromUtf8(machinePresets[i].hint));
        MachineGroup->addButton(button, int(machinePresets[i].machine));
    }
    auto action = [this](int id) { MachineRadioButtonClick(uint32_t(id)); };
    radioActions_[MachineGroup] = action;
    connect(MachineGroup, &QButtonGroup::idClicked, this, action);

    HardwarePage = new QWidget;
    RamComboBox = new QComboBox;
    RamComboBox->addItems(captionList({"16K", "32K", "64k"}));
    connect(RamComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) settings_.number[Ram] = uint32_t(index);
    });
    PalRomCheckBox = flagCheckBox(QStringLiteral("PAL ROM Check"), PALROM);
    auto* hardware = new QFormLayout(HardwarePage);
    hardware->addRow(QStringLiteral("RAM Size:"), RamComboBox);
    hardware->addRow(PalRomCheckBox);

    MachinePageControl = new QTabWidget;
    MachinePageControl->setUsesScrollButtons(false);
    MachinePageControl->addTab(HardwarePage, QStringLiteral("Hardware"));
    for (int bank = 0; bank < 4; ++bank) {
        RomPages[bank] = new QWidget;
        auto* grid = new QGridLayout(RomPages[bank]);
        for (int half = 0; half < 2; ++half) {
            const int slot = bank * 2 + half;
            RomEdits[slot] = new QLineEdit;
            RomWarnings[slot] = RomEdits[slot]->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                                          QLineEdit::TrailingPosition);
            RomWarnings[slot]->setVisible(false);
            RomReasons[slot] = new QLabel;
            RomReasons[slot]->setWordWrap(true);
            // Said in red even on a preset's greyed page, where the names still matter.
            RomReasons[slot]->setStyleSheet(QStringLiteral("color: #b00000"));
            RomReasons[slot]->setVisible(false);
            QPushButton* browse = smallButton(QStringLiteral("..."));
            QPushButton* remove = smallButton(QStringLiteral("Remove"));
            connect(RomEdits[slot], &QLineEdit::textChanged, this,
                    [this, slot](const QString& text) { RomEditChange(slot, text); });
            connect(browse, &QPushButton::clicked, this, [this, slot] { RomBrowseButtonClick(slot); });
            connect(remove, &QPushButton::clicked, this, [this, slot] { RomRemoveButtonClick(slot); });
            grid->addWidget(new QLabel(QStringLiteral("ROM %1 - %2").arg(bank).arg(half ? "High" : "Low")),
                            half * 3, 0, 1, 3);
            grid->addWidget(RomEdits[slot], half * 3 + 1, 0);
            grid->addWidget(browse, half * 3 + 1, 1);
            grid->addWidget(remove, half * 3 + 1, 2);
            grid->addWidget(RomReasons[slot], half * 3 + 2, 0, 1, 3);
        }
        grid->setRowStretch(6, 1);
        MachinePageControl->addTab(RomPages[bank], QStringLiteral("ROM %1").arg(bank));
    }

    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(boxOf(QStringLiteral("Machine type"), MachineGroup), 0, Qt::AlignTop);
    layout->addWidget(MachinePageControl, 1);
    return page;
}

TVarnokForm::DriveControls TVarnokForm::buildDriveControls(QWidget* page, QButtonGroup* group) {
    DriveControls drive{new QLineEdit, new QLineEdit, smallButton(QStringLiteral("...")),
                        smallButton(QStringLiteral("..."))};
    const QStringList captions = captionList({"None", "PC directory", "D64 file"});
    auto* grid = new QGridLayout(page);
    for (int id = 0; id < captions.size(); ++id) {
        auto* button = new QRadioButton(captions[id]);
        group->addButton(button, id);
        grid->addWidget(button, id, 0);
    }
    grid->addWidget(drive.pcDirEdit, 1, 1);
    grid->addWidget(drive.pcDirButton, 1, 2);
    grid->addWidget(drive.d64Edit, 2, 1);
    grid->addWidget(drive.d64Button, 2, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    return drive;
}

QWidget* TVarnokForm::buildDrivePage() {
    auto* drive8Page = new QWidget;
    Drive8Group = radioGroup({}, DriveType8);
    DriveControls drive8 = buildDriveControls(drive8Page, Drive8Group);
    Drive8PCDirEdit = drive8.pcDirEdit;
    Drive8D64Edit = drive8.d64Edit;
    connect(Drive8PCDirEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_.text[Drive8PCDir] = text.toStdString(); });
    connect(Drive8D64Edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_.text[Drive8D64] = text.toStdString(); });
    connect(drive8.pcDirButton, &QPushButton::clicked, this, &TVarnokForm::Drive8PCDirButtonClick);
    connect(drive8.d64Button, &QPushButton::clicked, this, &TVarnokForm::Drive8D64ButtonClick);

    // What answers as drive 8: the port level, or a drive running its own DOS ROM (on a
    // D64 image only; the emulator falls back to the port level otherwise).
    auto* trueDriveBox = new QGroupBox(QStringLiteral("Drive emulation"));
    auto* trueGrid = new QGridLayout(trueDriveBox);
    TrueDriveGroup = radioGroup({}, TrueDrive8, [this](int) { markDosRoms(); });
    const QStringList modes = captionList({"Port level (fast; LOAD, SAVE and the disk commands)",
                                           "True 1551 (runs its DOS: fast loaders and drive code)",
                                           "True 1541 on the serial bus (runs its DOS)"});
    for (int id = 0; id < modes.size(); ++id) {
        auto* button = new QRadioButton(modes[id]);
        TrueDriveGroup->addButton(button, id);
        trueGrid->addWidget(button, id, 0, 1, 3);
    }
    const char* const romCaptions[2] = {"1551 DOS ROM:", "1541 DOS ROM:"};
    for (int drive = 0; drive < 2; ++drive) {
        DosRomEdits[drive] = new QLineEdit;
        DosRomReasons[drive] = new QLabel;
        DosRomReasons[drive]->setStyleSheet(QStringLiteral("color: #b00000"));
        DosRomReasons[drive]->setVisible(false);
        auto* browse = smallButton(QStringLiteral("..."));
        const int row = 3 + 2 * drive;
        trueGrid->addWidget(new QLabel(QString::fromUtf8(romCaptions[drive])), row, 0);
        trueGrid->addWidget(DosRomEdits[drive], row, 1);
        trueGrid->addWidget(browse, row, 2);
        trueGrid->addWidget(DosRomReasons[drive], row + 1, 1, 1, 2);
        const TextSetting setting = drive == 0 ? Drive1551Rom : Drive1541Rom;
        connect(DosRomEdits[drive], &QLineEdit::textChanged, this, [this, setting](const QString& text) {
            settings_.text[setting] = text.toStdString();
            markDosRoms();
        });
        connect(browse, &QPushButton::clicked, this, [this, drive] { DosRomButtonClick(drive); });
    }
    trueGrid->setColumnStretch(1, 1);
    static_cast<QGridLayout*>(drive8Page->layout())->addWidget(trueDriveBox, 3, 0, 1, 3);

    // Drive 9 is shown for what may come; nothing on it can be chosen.
    Drive9Page = new QWidget;
    buildDriveControls(Drive9Page, new QButtonGroup(Drive9Page));
    Drive9Page->setEnabled(false);

    auto* drives = new QTabWidget;
    drives->addTab(drive8Page, QStringLiteral("Drive 8 (1551)"));
    drives->addTab(Drive9Page, QStringLiteral("Drive 9 (1551)"));
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(drives);
    return page;
}

QWidget* TVarnokForm::buildJoystickPage() {
    JoystickGroup = radioGroup(captionList({"None", "Joystick 1", "Joystick 2"}), Joystick);
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->addWidget(boxOf(QStringLiteral("Default joystick"), JoystickGroup), 0, 0, 2, 1, Qt::AlignTop);

    const char* const keyCaptions[keysPerJoystick] = {"Up:", "Down:", "Left:", "Right:", "Fire:"};
    for (int joystick = 0; joystick < 2; ++joystick) {
        auto* box = new QGroupBox(QStringLiteral("Joystick %1").arg(joystick + 1));
        auto* form = new QFormLayout(box);
        for (int k = 0; k < keysPerJoystick; ++k) {
            const int joystickKey = joystick * keysPerJoystick + k;
            auto* combo = new QComboBox;
            // The lists are filled on show; make room for the longest name now.
            combo->setMinimumContentsLength(10);
            combo->setObjectName(QStringLiteral("Joy%1%2ComboBox")
                                     .arg(joystick + 1)
                                     .arg(QString::fromUtf8(keyCaptions[k]).chopped(1)));
            connect(combo, &QComboBox::currentIndexChanged, this,
                    [this, joystickKey](int index) { JoyComboBoxChange(joystickKey, index); });
            JoyComboBoxes[joystickKey] = combo;
            form->addRow(QString::fromUtf8(keyCaptions[k]), combo);
        }
        QPushButton* restore = smallButton(QStringLiteral("Restore defaults (%1)").arg(joystick + 1));
        connect(restore, &QPushButton::clicked, this,
                [this, joystick] { RestoreDefaultsButtonClick(joystick); });
        form->addRow(restore);
        layout->addWidget(box, 0, joystick + 1, Qt::AlignTop);
    }
    layout->setRowStretch(1, 1);
    return page;
}

QWidget* TVarnokForm::buildWebPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (const WebLink& link : webLinks) {
        const QUrl address = addressOf(link);
        const QString shown = link.shown ? QString::fromUtf8(link.shown) : address.toString();
        auto* label =
            new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                           .arg(address.toString(QUrl::FullyEncoded).toHtmlEscaped(), shown.toHtmlEscaped()));
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        label->setToolTip(address.isLocalFile() ? address.toLocalFile() : address.toString());
        connect(label, &QLabel::linkActivated, this, [](const QString& url) { openUrl(QUrl(url)); });
        form->addRow(QString::fromUtf8(link.caption), label);
    }
    return page;
}

QWidget* TVarnokForm::buildSecretPage() {
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    SecretImage = new PictureLabel(paintSecretPicture(), panel);
    SecretImage->setCursor(Qt::PointingHandCursor);
    connect(SecretImage, &PictureLabel::clicked, this, &TVarnokForm::SecretImageClick);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(SecretImage);
    return pageOf({panel});
}

void TVarnokForm::SecretImageClick() { openUrl(QUrl(QString::fromUtf8(secretAddress))); }

}  // namespace varnoksetup
