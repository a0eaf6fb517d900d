// SPDX-License-Identifier: MIT
#include "ui/dialog_templates.h"

namespace tevusb::ui {

namespace {

using K = ControlKind;

ControlTemplate radio(int id, const char* text, QRect rect, bool first = false) {
    ControlTemplate c{id, K::RadioButton, QString::fromLatin1(text), rect};
    c.groupStart = first;
    return c;
}

ControlTemplate digits(int id, QRect rect, bool disabled) {
    ControlTemplate c{id, K::Edit, {}, rect};
    c.digitsOnly = true;
    c.disabled = disabled;
    return c;
}

DialogTemplate programChipTemplate() {
    DialogTemplate t;
    t.id = kDialogProgramChip;
    t.title = QStringLiteral("Program Chip");
    t.clientWidth = 317;
    t.clientHeight = 243;
    t.resizable = true;
    ControlTemplate writeButton{1005, K::PushButton, QStringLiteral("Write Settings"),
                                QRect(184, 218, 60, 18)};
    writeButton.disabled = true;
    t.controls = {
        {1008, K::GroupBox, QStringLiteral("Settings"), QRect(6, 6, 304, 105)},
        {1025, K::GroupBox, QStringLiteral("Line A"), QRect(12, 18, 90, 85)},
        radio(1013, "Disabed", QRect(18, 36, 36, 10), true),
        radio(1014, "Time", QRect(60, 36, 32, 10)),
        radio(1015, "Altitude", QRect(18, 48, 36, 10)),
        radio(1016, "Apogee", QRect(60, 48, 36, 10)),
        {0, K::Label, QStringLiteral("Time [s]"), QRect(18, 66, 30, 12)},
        digits(1009, QRect(60, 66, 36, 12), true),
        {0, K::Label, QStringLiteral("Alt. [m AGL]"), QRect(18, 84, 36, 12)},
        digits(1011, QRect(60, 84, 36, 12), true),
        {1026, K::GroupBox, QStringLiteral("Line B"), QRect(108, 18, 90, 85)},
        radio(1017, "Disabed", QRect(114, 36, 36, 10), true),
        radio(1018, "Time", QRect(156, 36, 30, 10)),
        radio(1019, "Altitude", QRect(114, 48, 38, 10)),
        radio(1020, "Apogee", QRect(156, 48, 36, 10)),
        {0, K::Label, QStringLiteral("Time [s]"), QRect(114, 66, 30, 12)},
        digits(1010, QRect(156, 66, 36, 12), true),
        {0, K::Label, QStringLiteral("Alt [m AGL]"), QRect(114, 84, 36, 12)},
        digits(1012, QRect(156, 84, 36, 12), true),
        {1024, K::GroupBox, QStringLiteral("General Settings"), QRect(204, 18, 99, 85)},
        {1029, K::Label, QStringLiteral("Inhibit [s]"), QRect(208, 36, 30, 12)},
        digits(1023, QRect(242, 36, 56, 12), false),
        {1036, K::EtchedLine, {}, QRect(208, 54, 90, 1)},
        {1040, K::Label, QStringLiteral("Apox. ground alt [m]"), QRect(208, 62, 62, 12)},
        digits(1039, QRect(273, 61, 25, 12), false),
        {1035, K::PushButton, QStringLiteral("Calibrate Device"), QRect(208, 79, 90, 18)},
        {1007, K::GroupBox, QStringLiteral("Status"), QRect(7, 117, 303, 92)},
        {1041, K::Icon, {}, QRect(14, 130, 16, 16), 109},
        {1003, K::StatusBox, {}, QRect(48, 130, 255, 71)},
        {1006, K::PushButton, QStringLiteral("Read Settings"), QRect(118, 218, 60, 18)},
        writeButton,
        {1004, K::PushButton, QStringLiteral("Close"), QRect(250, 218, 60, 18)},
    };
    return t;
}

DialogTemplate downloadDataTemplate() {
    DialogTemplate t;
    t.id = kDialogDownloadData;
    t.title = QStringLiteral("Download Data");
    t.clientWidth = 311;
    t.clientHeight = 244;
    t.resizable = true;
    t.controls = {
        {1009, K::GroupBox, QStringLiteral("Device Data"), QRect(7, 7, 297, 101)},
        {1031, K::Custom, {}, QRect(14, 25, 283, 24)},
        {0, K::Label, QStringLiteral("Flight comments"), QRect(15, 62, 50, 8)},
        {1046, K::MultiLineEdit, {}, QRect(78, 60, 150, 42)},
        {1008, K::PushButton, QStringLiteral("Save Comment"), QRect(12, 84, 60, 18)},
        {1002, K::PushButton, QStringLiteral("Save Selected"), QRect(234, 60, 60, 18)},
        {1011, K::PushButton, QStringLiteral("Clear Device"), QRect(234, 84, 60, 18)},
        {1005, K::GroupBox, QStringLiteral("Status"), QRect(7, 114, 297, 96)},
        {1033, K::Icon, {}, QRect(12, 132, 16, 16), 109},
        {1003, K::StatusBox, {}, QRect(48, 132, 246, 67)},
        {1032, K::CheckBox, QStringLiteral("Live Update"), QRect(6, 216, 47, 10)},
        {1030, K::CheckBox, QStringLiteral("Generate Excel CSV"), QRect(6, 227, 77, 10)},
        {1006, K::PushButton, QStringLiteral("Read Data"), QRect(111, 219, 60, 18)},
        {1007, K::PushButton, QStringLiteral("Save All"), QRect(177, 219, 60, 18)},
        // "&&" shows one ampersand, as it does on every platform's buttons.
        {1004, K::PushButton, QStringLiteral("Select && Close"), QRect(243, 219, 60, 18)},
    };
    return t;
}

DialogTemplate updateFirmwareTemplate() {
    DialogTemplate t;
    t.id = kDialogUpdateFirmware;
    t.title = QStringLiteral("Update Firmware");
    t.clientWidth = 311;
    t.clientHeight = 125;
    t.resizable = true;
    t.controls = {
        {1007, K::GroupBox, QStringLiteral("Status"), QRect(7, 7, 297, 88)},
        {1033, K::Icon, {}, QRect(14, 20, 16, 16), 109},
        {1003, K::StatusBox, {}, QRect(50, 20, 247, 67)},
        {1005, K::PushButton, QStringLiteral("Update..."), QRect(177, 100, 60, 18)},
        {1004, K::PushButton, QStringLiteral("Close"), QRect(244, 100, 60, 18)},
    };
    return t;
}

DialogTemplate aboutTemplate() {
    DialogTemplate t;
    t.id = kDialogAbout;
    t.title = QStringLiteral("About");
    t.clientWidth = 237;
    t.clientHeight = 193;
    t.resizable = false;
    t.controls = {
        {1007, K::GroupBox, QStringLiteral("About"), QRect(7, 74, 223, 88)},
        {1004, K::PushButton, QStringLiteral("Close"), QRect(170, 169, 60, 18)},
        {1003, K::StatusBox, {}, QRect(15, 87, 208, 67)},
        {1038, K::Picture, {}, QRect(7, 7, 223, 63), 111},
    };
    return t;
}

DialogTemplate controlOptionsTemplate() {
    DialogTemplate t;
    t.id = kDialogControlOptions;
    t.title = QStringLiteral("Control Options");
    t.clientWidth = 261;
    t.clientHeight = 195;
    t.resizable = true;
    t.controls = {
        {1008, K::GroupBox, QStringLiteral("Options"), QRect(7, 7, 247, 61)},
        {1039, K::PushButton, QStringLiteral("Emulate Launch..."), QRect(14, 21, 78, 18)},
        {1040, K::PushButton, QStringLiteral("Read Pressure"), QRect(14, 44, 78, 18)},
        {1041, K::PushButton, QStringLiteral("Read Battery Voltage"), QRect(101, 21, 78, 18)},
        {1042, K::PushButton, QStringLiteral("Fire lines for 2 seconds"), QRect(101, 44, 78, 18)},
        {1007, K::GroupBox, QStringLiteral("Status"), QRect(7, 75, 247, 88)},
        {1033, K::Icon, {}, QRect(14, 88, 16, 16), 109},
        {1003, K::StatusBox, {}, QRect(50, 88, 197, 67)},
        {1004, K::PushButton, QStringLiteral("Close"), QRect(194, 170, 60, 18)},
    };
    return t;
}

}  // namespace

const DialogTemplate* findDialogTemplate(int id) {
    static const DialogTemplate programChip = programChipTemplate();
    static const DialogTemplate downloadData = downloadDataTemplate();
    static const DialogTemplate updateFirmware = updateFirmwareTemplate();
    static const DialogTemplate about = aboutTemplate();
    static const DialogTemplate controlOptions = controlOptionsTemplate();
    switch (id) {
        case kDialogProgramChip:
            return &programChip;
        case kDialogDownloadData:
            return &downloadData;
        case kDialogUpdateFirmware:
            return &updateFirmware;
        case kDialogAbout:
            return &about;
        case kDialogControlOptions:
            return &controlOptions;
        default:
            return nullptr;
    }
}

}  // namespace tevusb::ui
