// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli_args.h"

namespace tevusb::cli {

// The picture size when --size is not given.
inline constexpr int kDefaultImageWidth = 1200;
inline constexpr int kDefaultImageHeight = 800;

// "1920x1080" (or "1920X1080"); none for anything else, including sides of 0.
std::optional<QSize> parseImageSize(const std::string& text);

// report FILE.tev [--set K] (--pdf OUT | --png OUT | --svg OUT)... [--units metric|imperial]
// [--size WxH] [--view set|analysis] [--rocket T] [--motor T] [--site T] [--date T]
// [--comment T]: 0 when every file was written, 1 when one could not be, 2 for a wrong
// command line. One line on `err` for each problem.
int runReportCommand(CliArgs& args, std::ostream& out, std::ostream& err);

}  // namespace tevusb::cli
