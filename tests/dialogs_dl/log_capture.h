#pragma once

// The dialog tests capture the diagnostic log with the framework tests' helper.
#include "../ui/log_capture.h"

namespace tevusb::ui::dltest {
using testing::LogCapture;
}  // namespace tevusb::ui::dltest
