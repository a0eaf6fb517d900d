// SPDX-License-Identifier: MIT
#include "ui/dialogs/profile_apply_flow.h"

#include <QPointer>
#include <QWidget>

#include "device/altimeter_device.h"
#include "ui/dialogs/erase_guard.h"
#include "ui/library_service.h"
#include "ui/message_box.h"
#include "ui/worker_thread.h"

namespace tevusb::ui {

bool startProfileApply(QWidget* owner, WorkerThread& worker, const std::atomic<bool>& cancel,
                       const settings::RocketProfile& profile, analysis::UnitSystem units,
                       ApplyView view) {
    QPointer<QWidget> guard(owner);
    return worker.run([guard, &worker, &cancel, profile, units, view]() -> WorkerThread::JobEnd {
        const auto out = [&worker, view](const std::string& entry) {
            worker.post([view, entry] { view.status(entry); });
        };
        device::ApplyHooks hooks;
        hooks.units = units;
        hooks.confirm = [&](const std::vector<analysis::SettingDifference>& differences) {
            worker.post([view, differences] { view.differences(differences); });
            QString text = QStringLiteral("Write the rocket profile \"%1\" to the altimeter?\n\n")
                               .arg(QString::fromStdString(profile.name));
            // The question names what will change; the window lists every line.
            for (const auto& d : differences) {
                if (d.changed) {
                    text += QString::fromStdString(analysis::differenceText(d)) + QLatin1Char('\n');
                }
            }
            text += QStringLiteral("\nWriting the settings clears the altimeter's flight memory.");
            return messageBox(guard, text, kMbYesNo | kMbIconQuestion) == MessageResult::Yes;
        };
        hooks.eraseAllowed = [&] {
            return passEraseGuard(guard, device::theDevice(), libraryService(),
                                  "Applying the profile", out);
        };
        device::Operation<device::ProfileApplied> result =
            device::applyProfile(device::theDevice(), profile, hooks, {}, &cancel);
        return [view, result] { view.done(result); };
    });
}

}  // namespace tevusb::ui
