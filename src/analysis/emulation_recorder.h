// SPDX-License-Identifier: MIT
#pragma once

#include "analysis/emulation_report.h"

namespace tevusb::analysis {

// Collects an emulation's replies from the device's event callback. It is filled by the
// one thread that runs the emulation and read once that thread has finished.
class EmulationRecorder {
  public:
    // The reply that asks for the next sample: not an event of the flight logic.
    static constexpr int kSampleRequestCode = 13;

    // Matches the device's emulation callback: (context = the recorder, code, samples).
    static void record(void* context, int replyCode, int samplesSent);
    void add(int replyCode, int samplesSent);

    void clear() { m_run = {}; }
    // The run so far; the caller fills in how the emulation returned.
    EmulationRun finish(bool succeeded, bool cancelled) const;

  private:
    EmulationRun m_run;
};

}  // namespace tevusb::analysis
