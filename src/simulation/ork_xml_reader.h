// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simulation/import_error.h"
#include "simulation/simulation.h"
#include "simulation/simulation_builder.h"

namespace tevusb::simulation {

// Reads the simulations stored in the simulator's design XML, fed in pieces as they are
// decompressed. A document type declaration is refused at once: its entities are never
// expanded. Each simulation gives its first data branch (the sustainer's), its events
// and its summary; one saved without data gives its summary alone.
class OrkXmlReader {
  public:
    explicit OrkXmlReader(std::string fileName);
    ~OrkXmlReader();
    OrkXmlReader(const OrkXmlReader&) = delete;
    OrkXmlReader& operator=(const OrkXmlReader&) = delete;

    // False once the document is refused (finish() then says why).
    bool feed(const char* data, std::size_t size);
    // Ends the document: the simulations in file order, or why there are none.
    ImportResult<std::vector<Simulation>> finish();

  private:
    struct Handlers;
    // The simulation being read. Its constructor is spelled out: clang will not
    // default-construct a nested class with member initialisers inside its outer class.
    struct Current {
        Current() : branches(0), datapoints(0) {}
        std::string name;
        SimSummary summary;
        std::optional<SimulationBuilder> builder;
        int branches;
        std::size_t datapoints;
    };

    void fail(const std::string& message);
    std::string here() const;
    void start(const char* name, const char** attributes);
    void end(const char* name);
    void text(const char* data, int length);
    void startBranch(const char* types);
    void addDatapoint();
    void endSimulation();

    std::string m_fileName;
    void* m_parser = nullptr;  // XML_Parser, kept out of this header
    std::vector<std::string> m_path;
    std::optional<Current> m_current;
    std::vector<Simulation> m_simulations;
    std::string m_text;
    bool m_collecting = false;
    std::size_t m_simulationDepth = 0;  // path length inside the simulation being read
    std::optional<std::string> m_error;
    std::string m_firstDataProblem;
    std::vector<double> m_values;
    std::vector<std::string_view> m_fields;
};

}  // namespace tevusb::simulation
