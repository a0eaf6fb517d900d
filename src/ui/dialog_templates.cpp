#include "ui/dialog_templates.h"

namespace tevusb::ui {

namespace {

using K = ControlKind;

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

}  // namespace

const DialogTemplate* findDialogTemplate(int id) {
    static const DialogTemplate about = aboutTemplate();
    switch (id) {
        case kDialogAbout:
            return &about;
        default:
            return nullptr;
    }
}

}  // namespace tevusb::ui
