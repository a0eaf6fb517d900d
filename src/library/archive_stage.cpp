// SPDX-License-Identifier: MIT
#include "library/archive_stage.h"

namespace tevusb::library {

namespace {
std::function<void(ArchiveStage)>& hook() {
    static std::function<void(ArchiveStage)> h;
    return h;
}
}  // namespace

void setArchiveStageHook(std::function<void(ArchiveStage)> h) {
    hook() = std::move(h);
}

void reachArchiveStage(ArchiveStage stage) {
    if (hook()) {
        hook()(stage);
    }
}

}  // namespace tevusb::library
