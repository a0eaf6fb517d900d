// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "data/data_set_store.h"

namespace tevusb::report::testing {

// The store with the sample flight loaded and set 0 selected; fails the test otherwise.
void loadSample(data::DataSetStore& store);
// A full flight memory (128 packets, 3968 readings) of one synthetic flight, selected.
void loadFullMemory(data::DataSetStore& store);

// Runs a program and returns its standard output (empty when it could not run).
QString runTool(const QString& program, const QStringList& arguments);
// What pdftotext reads from a PDF (layout kept); what pdfinfo says about it.
QString pdfText(const QString& path);
QString pdfInfo(const QString& path);

}  // namespace tevusb::report::testing
