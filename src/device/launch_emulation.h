// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::device {

// (context, reply code, samples sent so far). Called for every reply but a sample
// request, and for a sample request once per second of flight (every 10th sample).
using EmulationCallback = void (*)(void* context, int replyCode, int samplesSent);

// The device paces the replay; between two receives the program always pauses this long.
inline constexpr int kEmulationPauseMs = 10;

}  // namespace tevusb::device
