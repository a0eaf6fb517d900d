// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QMimeData;
class QWidget;

namespace tevusb::app {

class FileCommands;

// Lets a data-set file be dropped onto `window`: the drop opens it as File > Open does.
// Only a single local file ending in .tev is taken; anything else is refused at the drag.
class DataSetDrop : public QObject {
  public:
    DataSetDrop(QWidget& window, FileCommands& files);

    // The local .tev file a drag carries, or empty when it is not exactly one such file.
    static std::optional<QString> droppedFile(const QMimeData* data);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FileCommands& m_files;
};

}  // namespace tevusb::app
