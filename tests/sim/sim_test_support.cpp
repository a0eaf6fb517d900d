// SPDX-License-Identifier: MIT
#include "sim_test_support.h"

#include <array>
#include <stdexcept>

namespace tevusb::device::sim::test {

bool RawLink::send(std::uint16_t value, std::uint8_t code) {
    const std::array<std::uint8_t, 4> report{0, static_cast<std::uint8_t>(value & 0xFF),
                                             static_cast<std::uint8_t>(value >> 8), code};
    return m_handle->write(report.data(), report.size(), 1000) == 4;
}

std::optional<Msg> RawLink::receive(int timeoutMs) {
    std::array<std::uint8_t, 8> buffer{};
    const int n = m_handle->read(buffer.data(), buffer.size(), timeoutMs);
    if (n != 3) {
        return std::nullopt;
    }
    return Msg{static_cast<std::uint16_t>(buffer[0] | (buffer[1] << 8)), buffer[2]};
}

std::vector<Msg> RawLink::drain() {
    std::vector<Msg> all;
    while (const auto m = receive(0)) {
        all.push_back(*m);
    }
    return all;
}

bool RawLink::sendBoot(const std::vector<std::uint8_t>& payload) {
    std::array<std::uint8_t, 65> report{};
    for (std::size_t i = 0; i < payload.size() && i < 64; ++i) {
        report[i + 1] = payload[i];
    }
    return m_handle->write(report.data(), report.size(), 1000) == 65;
}

std::optional<std::vector<std::uint8_t>> RawLink::receiveBoot(int timeoutMs) {
    std::vector<std::uint8_t> buffer(80, 0xEE);
    const int n = m_handle->read(buffer.data(), buffer.size(), timeoutMs);
    if (n <= 0) {
        return std::nullopt;
    }
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

SimConfig instantConfig(int flights) {
    SimConfig config;
    config.flights = flights;
    config.timing = SimTiming::instant();
    return config;
}

std::unique_ptr<HidHandle> openFirst(SimBackend& backend) {
    auto handle = backend.open(backend.altimeter().path());
    if (!handle) {
        throw std::runtime_error("simulated altimeter did not open");
    }
    return handle;
}

Bench::Bench(int flights, SimConfig config)
    : backend([&] {
          config.flights = flights;
          config.timing = SimTiming::instant();
          return std::make_shared<SimBackend>(config);
      }()),
      device(backend->altimeter()),
      link(openFirst(*backend)) {}

}  // namespace tevusb::device::sim::test
