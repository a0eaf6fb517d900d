// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace tevusb::library {

// The points archiving passes, in order. Tests stop the process at each of them to show
// that a crash anywhere leaves every flight either fully there or absent.
enum class ArchiveStage {
    TempWritten,   // the bytes are in a synced temporary file
    FilePlaced,    // the archive file has its final name
    FolderSynced,  // the folder entry is on disk
    RowInserted,   // the row is written, the transaction not yet committed
    Committed,     // the row is committed
};

// Installed by tests before any archiving starts; called at each stage.
void setArchiveStageHook(std::function<void(ArchiveStage)> hook);
void reachArchiveStage(ArchiveStage stage);

}  // namespace tevusb::library
