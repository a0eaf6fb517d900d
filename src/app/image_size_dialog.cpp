// SPDX-License-Identifier: MIT
#include "app/image_size_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

#include "report/image_export.h"

namespace tevusb::app {

namespace {

QSpinBox* sideBox(QWidget* parent, const char* name) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(report::kMinImageSide, report::kMaxImageSide);
    box->setSuffix(QStringLiteral(" px"));
    return box;
}

}  // namespace

ImageSizeDialog::ImageSizeDialog(QWidget* parent, const QSize& windowSize)
    : QDialog(parent),
      m_width(sideBox(this, "imageWidth")),
      m_height(sideBox(this, "imageHeight")) {
    setObjectName(QStringLiteral("ImageSizeDialog"));
    setWindowTitle(QStringLiteral("Image Size"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Width:"), m_width);
    form->addRow(QStringLiteral("Height:"), m_height);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* windowButton =
        buttons->addButton(QStringLiteral("Window Size"), QDialogButtonBox::ResetRole);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(windowButton, &QPushButton::clicked, this,
            [this, windowSize] { setChosenSize(windowSize); });
    setChosenSize(windowSize);
}

QSize ImageSizeDialog::chosenSize() const {
    return QSize(m_width->value(), m_height->value());
}

void ImageSizeDialog::setChosenSize(const QSize& size) {
    m_width->setValue(size.width());
    m_height->setValue(size.height());
}

std::optional<QSize> ImageSizeDialog::ask(QWidget* parent, const QSize& windowSize) {
    ImageSizeDialog dialog(parent, windowSize);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosenSize();
}

}  // namespace tevusb::app
