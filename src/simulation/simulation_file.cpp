// SPDX-License-Identifier: MIT
#include "simulation/simulation_file.h"

#include <array>
#include <fstream>
#include <system_error>

#include "simulation/design_container.h"
#include "simulation/import_limits.h"
#include "simulation/openrocket_csv.h"
#include "simulation/ork_xml_reader.h"
#include "simulation/rasaero_csv.h"

namespace tevusb::simulation {

namespace {

bool looksLikeXml(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '<';
}

// Text files never hold a NUL or most other control bytes.
bool looksBinary(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, 4096);
    for (unsigned char c : head) {
        if (c == 0 || (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f')) {
            return true;
        }
    }
    return false;
}

ImportResult<std::vector<Simulation>> readDesign(std::string_view bytes,
                                                 const std::string& fileName) {
    OrkXmlReader reader(fileName);
    auto unpacked = unpackDesign(bytes, fileName + ": ", [&](const char* data, std::size_t size) {
        return reader.feed(data, size);
    });
    if (auto* error = std::get_if<ImportError>(&unpacked)) {
        return *error;
    }
    if (std::get<std::size_t>(unpacked) == 0) {
        return ImportError{fileName + ": the design inside the container is empty"};
    }
    return reader.finish();
}

template <class T>
ImportResult<std::vector<Simulation>> one(ImportResult<T> result) {
    if (auto* error = std::get_if<ImportError>(&result)) {
        return *error;
    }
    std::vector<Simulation> list;
    list.push_back(std::move(std::get<T>(result)));
    return list;
}

}  // namespace

ImportResult<std::vector<Simulation>> readSimulations(std::string_view bytes,
                                                      const std::string& fileName,
                                                      const std::string& stem) {
    if (bytes.empty()) {
        return ImportError{fileName + ": the file is empty"};
    }
    if (designContainerOf(bytes) != DesignContainer::Plain || looksLikeXml(bytes)) {
        return readDesign(bytes, fileName);
    }
    if (looksBinary(bytes)) {
        return ImportError{fileName + ": not a simulation file (it holds binary data)"};
    }
    if (looksLikeRasAeroCsv(bytes)) {
        return one(readRasAeroCsv(bytes, fileName, stem));
    }
    return one(readOpenRocketCsv(bytes, fileName, stem));
}

ImportResult<std::vector<Simulation>> loadSimulationFile(const std::filesystem::path& path) {
    const std::string fileName = path.filename().string();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return ImportError{path.string() + ": is a folder, not a simulation file"};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ImportError{path.string() + ": cannot be opened"};
    }
    std::string bytes;
    std::array<char, 1u << 16> buffer;
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        bytes.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > ImportLimits::kMaxFileBytes) {
            return ImportError{fileName + ": larger than " +
                               std::to_string(ImportLimits::kMaxFileBytes >> 20) +
                               " MB, more than any simulation export"};
        }
    }
    if (in.bad()) {
        return ImportError{path.string() + ": cannot be read"};
    }
    return readSimulations(bytes, fileName, path.stem().string());
}

}  // namespace tevusb::simulation
