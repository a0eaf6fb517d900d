// SPDX-License-Identifier: MIT
#include "simulation/ork_xml_reader.h"

#include <expat.h>

#include <cmath>
#include <cstring>
#include <string_view>

#include "simulation/column_kind.h"
#include "simulation/csv_layout.h"
#include "simulation/import_limits.h"
#include "simulation/number_text.h"
#include "simulation/text_lines.h"

namespace tevusb::simulation {

namespace {

XML_Parser parserOf(void* p) {
    return static_cast<XML_Parser>(p);
}

const char* attribute(const char** attributes, const char* name) {
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        if (std::strcmp(attributes[i], name) == 0) {
            return attributes[i + 1];
        }
    }
    return nullptr;
}

std::optional<double> numberAttribute(const char** attributes, const char* name) {
    const char* value = attribute(attributes, name);
    if (value == nullptr) {
        return std::nullopt;
    }
    const auto number = parseNumber(value);
    return number && std::isfinite(*number) ? number : std::nullopt;
}

constexpr const char* kDoctypeRefused =
    "the file declares a document type (<!DOCTYPE>); a design file never does, and its "
    "entities are not expanded";

}  // namespace

// Expat calls plain functions; these hand each call to the reader.
struct OrkXmlReader::Handlers {
    static void start(void* self, const XML_Char* name, const XML_Char** attributes) {
        static_cast<OrkXmlReader*>(self)->start(name, attributes);
    }
    static void end(void* self, const XML_Char* name) {
        static_cast<OrkXmlReader*>(self)->end(name);
    }
    static void text(void* self, const XML_Char* data, int length) {
        static_cast<OrkXmlReader*>(self)->text(data, length);
    }
    static void doctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        static_cast<OrkXmlReader*>(self)->fail(kDoctypeRefused);
    }
    static void entity(void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                       const XML_Char*, const XML_Char*, const XML_Char*) {
        static_cast<OrkXmlReader*>(self)->fail(kDoctypeRefused);
    }
};

OrkXmlReader::OrkXmlReader(std::string fileName) : m_fileName(std::move(fileName)) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    m_parser = parser;
    if (parser == nullptr) {
        m_error = m_fileName + ": out of memory for the XML reader";
        return;
    }
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &Handlers::start, &Handlers::end);
    XML_SetCharacterDataHandler(parser, &Handlers::text);
    XML_SetStartDoctypeDeclHandler(parser, &Handlers::doctype);
    XML_SetEntityDeclHandler(parser, &Handlers::entity);
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    // A second guard should a declaration ever get past the refusal above.
    XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser, 20.0f);
    XML_SetBillionLaughsAttackProtectionActivationThreshold(parser, 1u << 20);
}

OrkXmlReader::~OrkXmlReader() {
    if (m_parser != nullptr) {
        XML_ParserFree(parserOf(m_parser));
    }
}

std::string OrkXmlReader::here() const {
    XML_Parser parser = parserOf(m_parser);
    return m_fileName + ", line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
           std::to_string(XML_GetCurrentColumnNumber(parser) + 1);
}

void OrkXmlReader::fail(const std::string& message) {
    if (!m_error) {
        m_error = here() + ": " + message;
    }
    XML_StopParser(parserOf(m_parser), XML_FALSE);
}

bool OrkXmlReader::feed(const char* data, std::size_t size) {
    if (m_error) {
        return false;
    }
    constexpr std::size_t kPiece = 1u << 20;  // expat takes an int length
    while (size > 0 && !m_error) {
        const std::size_t piece = std::min(size, kPiece);
        if (XML_Parse(parserOf(m_parser), data, static_cast<int>(piece), XML_FALSE) ==
                XML_STATUS_ERROR &&
            !m_error) {
            m_error = here() + ": not well-formed XML (" +
                      XML_ErrorString(XML_GetErrorCode(parserOf(m_parser))) + ")";
        }
        data += piece;
        size -= piece;
    }
    return !m_error;
}

void OrkXmlReader::start(const char* name, const char** attributes) {
    if (m_error) {
        return;
    }
    if (m_path.size() >= ImportLimits::kMaxXmlDepth) {
        fail("elements nested too deeply");
        return;
    }
    if (m_path.empty() && std::strcmp(name, "openrocket") != 0) {
        fail(std::string("not a rocket design: the document is <") + name + ">, not <openrocket>");
        return;
    }
    if (m_collecting) {
        // <name> and <datapoint> hold text only; an element inside would be read as
        // part of a value.
        fail(std::string("unexpected element <") + name + "> inside <" + m_path.back() + ">");
        return;
    }
    m_path.emplace_back(name);
    // Taken after the push: a view taken before it could be moved away under us.
    const std::string_view parent =
        m_path.size() >= 2 ? std::string_view(m_path[m_path.size() - 2]) : std::string_view();
    if (!m_current && parent == "simulations" && std::strcmp(name, "simulation") == 0) {
        if (m_simulations.size() >= ImportLimits::kMaxSimulations) {
            fail("more than " + std::to_string(ImportLimits::kMaxSimulations) + " simulations");
            return;
        }
        m_current.emplace();
        m_simulationDepth = m_path.size();
        return;
    }
    if (!m_current) {
        return;
    }
    if (parent == "simulation" && std::strcmp(name, "name") == 0) {
        m_collecting = true;
        m_text.clear();
    } else if (parent == "simulation" && std::strcmp(name, "flightdata") == 0) {
        m_current->summary.maxAltitudeM = numberAttribute(attributes, "maxaltitude");
        m_current->summary.maxVelocityMs = numberAttribute(attributes, "maxvelocity");
        m_current->summary.timeToApogeeS = numberAttribute(attributes, "timetoapogee");
        m_current->summary.flightTimeS = numberAttribute(attributes, "flighttime");
    } else if (parent == "flightdata" && std::strcmp(name, "databranch") == 0) {
        if (++m_current->branches == 1) {
            const char* types = attribute(attributes, "types");
            startBranch(types == nullptr ? "" : types);
        }
    } else if (parent == "databranch" && m_current->branches == 1 && m_current->builder) {
        if (std::strcmp(name, "event") == 0) {
            const auto t = numberAttribute(attributes, "time");
            const char* type = attribute(attributes, "type");
            if (t && type != nullptr && !m_current->builder->addEvent(type, *t)) {
                fail("too many events");
            }
        } else if (std::strcmp(name, "datapoint") == 0) {
            m_collecting = true;
            m_text.clear();
        }
    }
}

void OrkXmlReader::text(const char* data, int length) {
    if (!m_collecting || m_error) {
        return;
    }
    if (m_text.size() + static_cast<std::size_t>(length) > ImportLimits::kMaxLineBytes) {
        fail("an element's text is longer than " + std::to_string(ImportLimits::kMaxLineBytes) +
             " bytes");
        return;
    }
    m_text.append(data, static_cast<std::size_t>(length));
}

void OrkXmlReader::startBranch(const char* types) {
    std::vector<std::string_view> names;
    splitFields(types, ",", names);
    if (names.size() > ImportLimits::kMaxColumns) {
        fail("more than " + std::to_string(ImportLimits::kMaxColumns) + " data types");
        return;
    }
    std::vector<SimulationBuilder::Column> columns;
    for (std::string_view type : names) {
        columns.push_back({recogniseColumn(type), 1.0});  // the design file keeps SI units
    }
    m_values.assign(columns.size(), 0.0);
    m_current->builder.emplace(std::move(columns));
}

void OrkXmlReader::addDatapoint() {
    if (!m_current || !m_current->builder) {
        return;
    }
    auto& builder = *m_current->builder;
    ++m_current->datapoints;
    const std::size_t count = splitFieldsUpTo(m_text, ",", builder.usedEnd(), m_fields);
    if (count != builder.columnCount()) {
        fail(std::to_string(count) + " values in a datapoint where its branch names " +
             std::to_string(builder.columnCount()) + " types");
        return;
    }
    for (std::size_t c = 0; c < m_fields.size(); ++c) {
        if (!builder.uses(c)) {
            continue;
        }
        const auto value = parseNumber(m_fields[c]);
        if (!value) {
            fail("value " + std::to_string(c + 1) + " of a datapoint, " + quoted(m_fields[c]) +
                 ", is not a number");
            return;
        }
        m_values[c] = *value;
    }
    if (!builder.addRow(m_values)) {
        fail("more than " + std::to_string(ImportLimits::kMaxRows) + " datapoints");
    }
}

void OrkXmlReader::endSimulation() {
    Current current = std::move(*m_current);
    m_current.reset();
    const std::string name = current.name.empty()
                                 ? "Simulation " + std::to_string(m_simulations.size() + 1)
                                 : current.name;
    if (current.builder) {
        auto built = current.builder->finish(name, "simulation \"" + name + "\": ");
        if (auto* sim = std::get_if<Simulation>(&built)) {
            sim->summary = current.summary;
            m_simulations.push_back(std::move(*sim));
            return;
        }
        if (m_firstDataProblem.empty()) {
            m_firstDataProblem = std::get<ImportError>(built).message;
        }
    }
    // Without usable data the summary still says how high it went.
    if (current.summary.maxAltitudeM) {
        Simulation sim;
        sim.name = name;
        sim.summary = current.summary;
        m_simulations.push_back(std::move(sim));
    }
}

void OrkXmlReader::end(const char* name) {
    if (m_error || m_path.empty()) {
        return;
    }
    m_path.pop_back();
    if (m_current && m_collecting) {
        m_collecting = false;
        if (std::strcmp(name, "datapoint") == 0) {
            addDatapoint();
        } else {
            m_current->name = std::string(trimBlanks(m_text));
        }
        return;
    }
    // Only the end of the simulation being read ends it, not one nested inside it.
    if (m_current && m_path.size() + 1 == m_simulationDepth) {
        endSimulation();
    }
}

ImportResult<std::vector<Simulation>> OrkXmlReader::finish() {
    if (!m_error && XML_Parse(parserOf(m_parser), "", 0, XML_TRUE) == XML_STATUS_ERROR &&
        !m_error) {
        m_error = here() + ": not well-formed XML (" +
                  XML_ErrorString(XML_GetErrorCode(parserOf(m_parser))) + ")";
    }
    if (m_error) {
        return ImportError{*m_error};
    }
    if (m_simulations.empty()) {
        return ImportError{m_fileName + ": " +
                           (m_firstDataProblem.empty() ? "the design holds no simulation results"
                                                       : m_firstDataProblem)};
    }
    return std::move(m_simulations);
}

}  // namespace tevusb::simulation
