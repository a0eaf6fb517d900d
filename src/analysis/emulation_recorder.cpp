// SPDX-License-Identifier: MIT
#include "analysis/emulation_recorder.h"

namespace tevusb::analysis {

void EmulationRecorder::record(void* context, int replyCode, int samplesSent) {
    static_cast<EmulationRecorder*>(context)->add(replyCode, samplesSent);
}

void EmulationRecorder::add(int replyCode, int samplesSent) {
    if (replyCode != kSampleRequestCode) {
        m_run.replies.push_back({replyCode, samplesSent});
    }
}

EmulationRun EmulationRecorder::finish(bool succeeded, bool cancelled) const {
    EmulationRun run = m_run;
    run.succeeded = succeeded;
    run.cancelled = cancelled;
    return run;
}

}  // namespace tevusb::analysis
