// SPDX-License-Identifier: MIT
#include "ui/dialog_template.h"

#include <algorithm>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "ui/resource_images.h"
#include "ui/status_box.h"

namespace tevusb::ui {

namespace {

// Rounds like the platform's MulDiv(value, numerator, denominator) for the positive and
// negative values a template holds.
int mulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

QWidget* createControl(QWidget* dialog, const ControlTemplate& c, const DialogUnits& units) {
    QWidget* w = nullptr;
    QRect geometry = units.rect(c.rect);
    switch (c.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(c.text, dialog);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            w = label;
            break;
        }
        case ControlKind::GroupBox:
            w = new QGroupBox(c.text, dialog);
            break;
        case ControlKind::PushButton: {
            auto* button = new QPushButton(c.text, dialog);
            // Enter must reach the dialog's handler, never click a button by itself.
            button->setAutoDefault(false);
            button->setDefault(false);
            w = button;
            break;
        }
        case ControlKind::CheckBox:
            w = new QCheckBox(c.text, dialog);
            break;
        case ControlKind::RadioButton:
            w = new QRadioButton(c.text, dialog);
            break;
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(c.text, dialog);
            if (c.digitsOnly) {
                edit->setValidator(
                    new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
            }
            w = edit;
            break;
        }
        case ControlKind::MultiLineEdit: {
            auto* edit = new QPlainTextEdit(c.text, dialog);
            edit->setTabChangesFocus(true);
            w = edit;
            break;
        }
        case ControlKind::StatusBox:
            w = new StatusBox(dialog);
            break;
        case ControlKind::Icon: {
            auto* label = new QLabel(dialog);
            label->setPixmap(iconPixmap(c.resource));
            geometry.setSize(QSize(kIconSize, kIconSize));
            w = label;
            break;
        }
        case ControlKind::Picture: {
            auto* label = new QLabel(dialog);
            const QPixmap picture = bitmapPixmap(c.resource);
            label->setPixmap(picture);
            // A bitmap static takes the size of its bitmap, not of its template box.
            geometry.setSize(picture.size());
            w = label;
            break;
        }
        case ControlKind::EtchedLine: {
            auto* line = new QFrame(dialog);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            geometry.setHeight(std::max(geometry.height(), 2));
            w = line;
            break;
        }
        case ControlKind::Custom:
            w = new QWidget(dialog);
            break;
    }
    if (c.id != 0) {
        w->setObjectName(QString::number(c.id));
    }
    w->setGeometry(geometry);
    w->setEnabled(!c.disabled);
    return w;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The platform's own rule: the width of the 52 letters, halved twice with rounding.
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = std::max(1, (letters / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());
}

int DialogUnits::x(int du) const {
    return mulDiv(du, m_baseX, 4);
}
int DialogUnits::y(int du) const {
    return mulDiv(du, m_baseY, 8);
}

QRect DialogUnits::rect(const QRect& du) const {
    return QRect(x(du.x()), y(du.y()), x(du.width()), y(du.height()));
}

QFont dialogFont() {
    QFont font;
    // Where the template's font is missing, the fonts of Arial's metrics come closest to
    // it, so texts fit the boxes the templates give them.
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica")});
    font.setPointSize(10);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void buildDialog(QWidget* dialog, const DialogTemplate& tmpl) {
    dialog->setFont(dialogFont());
    dialog->setWindowTitle(tmpl.title);
    const DialogUnits units(dialog->font());
    // Radio buttons are exclusive within their group only (a group runs from a button
    // marked as its start up to the next control that is no radio button), not across
    // the whole dialog as Qt would make them.
    QButtonGroup* radios = nullptr;
    for (const ControlTemplate& c : tmpl.controls) {
        QWidget* w = createControl(dialog, c, units);
        if (c.kind != ControlKind::RadioButton) {
            radios = nullptr;
            continue;
        }
        if (radios == nullptr || c.groupStart) {
            radios = new QButtonGroup(dialog);
        }
        radios->addButton(static_cast<QRadioButton*>(w));
    }
    const QSize client(units.x(tmpl.clientWidth), units.y(tmpl.clientHeight));
    if (tmpl.resizable) {
        dialog->resize(client);
    } else {
        dialog->setFixedSize(client);
    }
}

}  // namespace tevusb::ui
