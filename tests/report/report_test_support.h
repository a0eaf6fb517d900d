// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "data/data_set_store.h"
#include "support/pdf_tools.h"

namespace tevusb::report::testing {

// The store with the sample flight loaded and set 0 selected; fails the test otherwise.
void loadSample(data::DataSetStore& store);
// A full flight memory (128 packets, 3968 readings) of one synthetic flight, selected.
void loadFullMemory(data::DataSetStore& store);

using tevusb::testing::pdfInfo;
using tevusb::testing::pdfText;
using tevusb::testing::runTool;

}  // namespace tevusb::report::testing
