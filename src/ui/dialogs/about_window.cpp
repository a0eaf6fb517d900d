// SPDX-License-Identifier: MIT
#include "ui/dialogs/about_window.h"

#include "device/altimeter_device.h"
#include "log/diagnostic_log.h"
#include "ui/dialog_templates.h"
#include "ui/user_guide_location.h"

namespace tevusb::ui {

namespace {

constexpr int kIdPicture = 1038;
constexpr int kIdGroup = 1007;
constexpr int kIdStatus = 1003;
constexpr int kIdClose = 1004;

constexpr std::uint16_t kSoftwareVersion = 0x0150;
constexpr std::uint16_t kFirmwareVersion = 0x0150;
constexpr std::uint16_t kBootloaderVersion = 0x0110;
constexpr std::uint16_t kHardwareVersion = 0x0120;

QString fromWide(const std::wstring& text) {
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CAboutWindow::CAboutWindow() : CBaseWindow(kDialogAbout) {}

CAboutWindow::~CAboutWindow() {
    log::logLine("DESTRUCT");
}

std::vector<QString> CAboutWindow::aboutTexts() {
    return {
        QStringLiteral("Visit %1 for updates and further info.\r\n\r\n").arg(userGuideAddress()),
        QStringLiteral("Software is version %1 and is designed for:\r\n\r\n")
            .arg(fromWide(device::versionText(kSoftwareVersion))),
        QStringLiteral("Firmware version %1\r\n")
            .arg(fromWide(device::versionPatternText(kFirmwareVersion))),
        QStringLiteral("Bootloader version %1\r\n")
            .arg(fromWide(device::versionPatternText(kBootloaderVersion))),
        QStringLiteral("Hardware version %1\r\n")
            .arg(fromWide(device::versionPatternText(kHardwareVersion))),
    };
}

bool CAboutWindow::handleMessage(const DialogMessage& message) {
    switch (message.message) {
        case Message::InitDialog:
            createLayout();
            anchor(kIdPicture, true, true, true, true);
            anchor(kIdStatus, true, true, true, true);
            anchor(kIdClose, false, false, true, true);
            anchorGroupBox(kIdGroup, true, true, true, true);
            for (const QString& text : aboutTexts()) {
                appendStatus(text);
            }
            return true;
        case Message::Close:
            endDialog(0);
            return true;
        case Message::KeyDown:
            if (message.wParam == kKeyEscape) {
                sendMessage({Message::Close, 0, 0, {}});
                return true;
            }
            break;
        case Message::Command:
            if (message.wParam == static_cast<std::uintptr_t>(kIdClose)) {
                sendMessage({Message::Close, 0, 0, {}});
            }
            // Any other command, Enter's and Escape's included, does nothing here.
            return true;
        case Message::StatusRefresh:
            refreshStatus();
            return true;
        default:
            break;
    }
    return defaultHandler(message);
}

}  // namespace tevusb::ui
