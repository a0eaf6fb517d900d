#include "ui/user_prompts.h"

#include <atomic>

#include "ui/qt_prompts.h"

namespace tevusb::ui {

namespace {

std::atomic<UserPrompts*> g_installed{nullptr};

UserPrompts& qtPrompts() {
    static QtPrompts prompts;
    return prompts;
}

}  // namespace

UserPrompts& userPrompts() {
    UserPrompts* installed = g_installed.load();
    return installed != nullptr ? *installed : qtPrompts();
}

UserPrompts* setUserPrompts(UserPrompts* prompts) {
    return g_installed.exchange(prompts);
}

}  // namespace tevusb::ui
