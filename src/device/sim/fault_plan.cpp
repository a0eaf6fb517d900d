// SPDX-License-Identifier: MIT
#include "device/sim/fault_plan.h"

#include "device/sim/application_firmware.h"

namespace tevusb::device::sim {

void FaultPlan::clear() {
    m_muteNext = false;
    m_silenceFrom.reset();
    m_unplugAt.reset();
    m_wrongCode.clear();
    m_earlyComplete.clear();
    m_garbageAt.clear();
    m_stray.clear();
}

bool FaultPlan::armed() const {
    return m_muteNext || m_silenceFrom || m_unplugAt || !m_wrongCode.empty() ||
           !m_earlyComplete.empty() || !m_garbageAt.empty() || !m_stray.empty();
}

std::vector<OutgoingReport> FaultPlan::apply(std::vector<SimReport> replies, std::uint64_t& next,
                                             bool bootloader) {
    std::vector<OutgoingReport> out;
    const std::uint64_t first = next;
    next += replies.size();
    if (replies.empty()) {
        return out;
    }
    if (m_muteNext) {
        m_muteNext = false;
        return out;
    }
    // Where the code sits: the third byte of a message, the status byte of a bootloader
    // answer.
    const std::size_t codeAt = bootloader ? 0 : 2;
    for (std::size_t k = 0; k < replies.size(); ++k) {
        const std::uint64_t number = first + k;
        SimReport& report = replies[k];
        if (m_silenceFrom && number >= *m_silenceFrom) {
            break;
        }
        if (m_unplugAt && number >= *m_unplugAt) {
            m_unplugAt.reset();
            out.push_back({{}, true});
            break;
        }
        if (const auto it = m_stray.find(number); it != m_stray.end()) {
            for (SimReport& stray : it->second) {
                out.push_back({std::move(stray)});
            }
            m_stray.erase(it);
        }
        if (m_earlyComplete.erase(number) != 0) {
            SimReport complete = bootloader ? SimReport{std::vector<std::uint8_t>(kBootPayload, 0)}
                                            : message(0, Reply::Complete);
            complete.holdBack = report.holdBack;
            out.push_back({std::move(complete)});
            break;
        }
        if (const auto it = m_wrongCode.find(number); it != m_wrongCode.end()) {
            report.payload[codeAt] = it->second;
            m_wrongCode.erase(it);
        }
        if (const auto it = m_garbageAt.find(number); it != m_garbageAt.end()) {
            if (it->second.empty()) {
                for (auto& byte : report.payload) {
                    byte = static_cast<std::uint8_t>(m_garbage() & 0xFF);
                }
            } else {
                report.payload = it->second;
            }
            m_garbageAt.erase(it);
        }
        out.push_back({std::move(report)});
    }
    return out;
}

}  // namespace tevusb::device::sim
