// SPDX-License-Identifier: MIT
#include "app/data_set_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "app/file_commands.h"
#include "ui/native_path.h"

namespace tevusb::app {

DataSetDrop::DataSetDrop(QWidget& window, FileCommands& files) : QObject(&window), m_files(files) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

std::optional<QString> DataSetDrop::droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return std::nullopt;
    }
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) {
        return std::nullopt;
    }
    const QString path = url.toLocalFile();
    const QFileInfo info(path);
    if (info.suffix().compare(QStringLiteral("tev"), Qt::CaseInsensitive) != 0 || info.isDir()) {
        return std::nullopt;
    }
    return path;
}

bool DataSetDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (droppedFile(drag->mimeData())) {
                drag->acceptProposedAction();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::optional<QString> path = droppedFile(drop->mimeData());
            if (!path) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // The drag source waits until the drop returns; a failure message must not
            // hold it, so the file is opened once the drop is over.
            QTimer::singleShot(0, this,
                               [this, file = *path] { m_files.openFile(ui::toPath(file)); });
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace tevusb::app
