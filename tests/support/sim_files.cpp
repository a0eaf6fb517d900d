// SPDX-License-Identifier: MIT
#include "support/sim_files.h"

#include <zip.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "support/temp_dir.h"

namespace tevusb::testing {

namespace {

constexpr double kG = 9.81;

struct Names {
    const char* time;
    const char* altitude;
    const char* velocity;
    const char* acceleration;
    const char* mass;
    const char* cd;
    const char* area;
    const char* lateral;
};

const Names& namesFor(const std::string& language) {
    static const Names en{"Time", "Altitude",         "Vertical velocity", "Vertical acceleration",
                          "Mass", "Drag coefficient", "Reference area",    "Lateral distance"};
    static const Names de{"Zeit",
                          "H\u00f6he",
                          "Vertikalgeschwindigkeit",
                          "Vertikalbeschleunigung",
                          "Masse",
                          "Luftwiderstandskoeffizient",
                          "Referenzfl\u00e4che",
                          "Seitliche Entfernung"};
    static const Names fr{"Temps",
                          "Altitude",
                          "Vitesse verticale",
                          "Acc\u00e9l\u00e9ration verticale",
                          "Masse",
                          "Coefficient de tra\u00een\u00e9e",
                          "Surface de r\u00e9f\u00e9rence",
                          "Distance lat\u00e9rale"};
    return language == "de" ? de : language == "fr" ? fr : en;
}

double factor(const std::string& unit) {
    if (unit == "ft" || unit == "ft/s")
        return 0.3048;
    if (unit == "km")
        return 1000.0;
    if (unit == "mm")
        return 0.001;
    if (unit == "mi")
        return 1609.344;
    if (unit == "km/h")
        return 1.0 / 3.6;
    if (unit == "mph")
        return 0.44704;
    if (unit == "g")
        return 0.001;
    if (unit == "oz")
        return 0.45359237 / 16.0;
    if (unit == "lb")
        return 0.45359237;
    if (unit == "cm\u00b2")
        return 1e-4;
    if (unit == "in\u00b2")
        return 0.00064516;
    return 1.0;
}

std::string trimZeros(std::string s) {
    if (s.find('.') == std::string::npos) {
        return s;
    }
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

}  // namespace

const ReferenceFlight& referenceFlight() {
    static const ReferenceFlight flight = [] {
        ReferenceFlight f;
        const double vb = 60.0 * f.burnoutS;
        const double hb = 30.0 * f.burnoutS * f.burnoutS;
        f.apogeeS = f.burnoutS + vb / kG;
        f.apogeeM = hb + vb * vb / (2.0 * kG);
        f.groundHitS = f.apogeeS + f.apogeeM / 10.0;
        for (int i = 0;; ++i) {
            const double t = i * 0.05;
            double h, v, a;
            if (t <= f.burnoutS) {
                h = 30.0 * t * t, v = 60.0 * t, a = 60.0;
            } else if (t <= f.apogeeS) {
                const double s = t - f.burnoutS;
                h = hb + vb * s - kG / 2.0 * s * s, v = vb - kG * s, a = -kG;
            } else {
                h = f.apogeeM - 10.0 * (t - f.apogeeS), v = -10.0, a = 0.0;
            }
            if (h < 0.0) {
                break;
            }
            f.t.push_back(t), f.h.push_back(h), f.v.push_back(v), f.a.push_back(a);
            f.massKg.push_back(t < f.burnoutS ? 1.5 - 0.2 * t : 1.2);
            f.cd.push_back(0.45 + 0.01 * std::min(t, 5.0));
        }
        return f;
    }();
    return flight;
}

std::string exportNumber(double value, int decimals) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Inf" : "-Inf";
    char buffer[64];
    const double size = std::fabs(value);
    if (value != 0.0 && (size < 0.001 || size >= 10000.0)) {
        std::snprintf(buffer, sizeof buffer, "%.*e", decimals, value);
        std::string s = buffer;
        const std::size_t e = s.find('e');
        std::string mantissa = trimZeros(s.substr(0, e));
        const int exponent = std::stoi(s.substr(e + 1));
        return mantissa + "e" + std::to_string(exponent);
    }
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return trimZeros(buffer);
}

std::string openRocketCsv(const CsvOptions& o) {
    const auto& f = referenceFlight();
    const Names& n = namesFor(o.language);
    const std::string eol = o.crlf ? "\r\n" : "\n";
    const std::string zwsp = "\u200b";
    std::string out;
    auto comment = [&](const std::string& text) { out += o.starter + " " + text + eol; };
    if (o.simulationComment) {
        comment(o.name + " (" + o.status + ")");
        comment(std::to_string(f.t.size()) + " data points written for 8 variables.");
        comment("");
    }
    if (o.fieldComment) {
        const std::string accelUnit = o.lengthUnit == "ft" ? "ft/s\u00b2" : "m/s\u00b2";
        const std::vector<std::string> fields = {
            std::string(n.time) + " (s)",
            std::string(n.altitude) + " (" + o.lengthUnit + ")",
            std::string(n.velocity) + " (" + o.velocityUnit + ")",
            std::string(n.acceleration) + " (" + accelUnit + ")",
            std::string(n.mass) + " (" + o.massUnit + ")",
            std::string(n.cd) + " (" + zwsp + ")",
            std::string(n.area) + " (" + o.areaUnit + ")",
            std::string(n.lateral) + " (" + o.lengthUnit + ")"};
        std::string header;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            header += (i ? o.separator : "") + fields[i];
        }
        comment(header);
    }
    struct Event {
        const char* name;
        double t;
    };
    const std::vector<Event> events = {{"LAUNCH", 0.0},
                                       {"LIFTOFF", 0.02},
                                       {"BURNOUT", f.burnoutS},
                                       {"APOGEE", f.apogeeS},
                                       {"RECOVERY_DEVICE_DEPLOYMENT", f.apogeeS + 0.01},
                                       {"GROUND_HIT", f.groundHitS}};
    std::size_t next = 0;
    const double accelFactor = o.lengthUnit == "ft" ? 0.3048 : 1.0;
    for (std::size_t i = 0; i < f.t.size(); ++i) {
        while (o.eventComments && next < events.size() && events[next].t <= f.t[i]) {
            comment(std::string("Event ") + events[next].name +
                    " occurred at t=" + exportNumber(events[next].t, o.decimals) + " seconds");
            ++next;
        }
        const std::vector<double> row = {f.t[i],
                                         f.h[i] / factor(o.lengthUnit),
                                         f.v[i] / factor(o.velocityUnit),
                                         f.a[i] / accelFactor,
                                         f.massKg[i] / factor(o.massUnit),
                                         f.cd[i],
                                         f.areaM2 / factor(o.areaUnit),
                                         i == 3 ? std::nan("") : 0.0};
        for (std::size_t c = 0; c < row.size(); ++c) {
            out += (c ? o.separator : "") + exportNumber(row[c], o.decimals);
        }
        out += eol;
    }
    while (o.eventComments && next < events.size()) {
        comment(std::string("Event ") + events[next].name +
                " occurred at t=" + exportNumber(events[next].t, o.decimals) + " seconds");
        ++next;
    }
    return out;
}

std::string orkXml(const std::vector<OrkSimulation>& sims, const std::string& version) {
    const auto& f = referenceFlight();
    std::string x = "<?xml version='1.0' encoding='utf-8'?>\n<openrocket version=\"" + version +
                    "\" creator=\"test\">\n<rocket><name>Rocket</name>"
                    "<subcomponents><stage><name>Sustainer</name></stage></subcomponents>"
                    "</rocket>\n<simulations>\n";
    for (const auto& s : sims) {
        x += "<simulation status=\"uptodate\">\n<name>" + s.name + "</name>\n";
        x += "<conditions><launchrodlength>1.0</launchrodlength></conditions>\n";
        x += "<flightdata maxaltitude=\"" + exportNumber(f.apogeeM * s.altitudeScale, 6) +
             "\" maxvelocity=\"90.0\" timetoapogee=\"" + exportNumber(f.apogeeS + 0.05, 6) +
             "\" flighttime=\"" + exportNumber(f.groundHitS, 6) + "\">\n";
        if (s.withData) {
            for (int stage = 0; stage < s.stages; ++stage) {
                std::string types =
                    "Time,Altitude,Vertical velocity,Mass,Drag coefficient,"
                    "Reference length,Reference area";
                const int extra = s.wideRows ? 53 : 0;
                for (int e = 0; e < extra; ++e) {
                    types += ",Extra " + std::to_string(e);
                }
                x += "<databranch name=\"Stage " + std::to_string(stage) + "\" types=\"" + types +
                     "\">\n";
                x += "<event time=\"0.0\" type=\"launch\"/>\n";
                x += "<event time=\"" + exportNumber(f.burnoutS, 6) + "\" type=\"burnout\"/>\n";
                x +=
                    "<event time=\"" + exportNumber(f.apogeeS + 0.05, 6) + "\" type=\"apogee\"/>\n";
                x += "<event time=\"" + exportNumber(f.apogeeS + 0.06, 6) +
                     "\" type=\"recoverydevicedeployment\"/>\n";
                const double scale = stage == 0 ? s.altitudeScale : 0.5;
                for (std::size_t i = 0; i < f.t.size(); ++i) {
                    x += "<datapoint>" + exportNumber(f.t[i], 6) + "," +
                         exportNumber(f.h[i] * scale, 6) + "," + exportNumber(f.v[i], 6) + "," +
                         exportNumber(f.massKg[i], 6) + "," + exportNumber(f.cd[i], 6) +
                         ",0.057,0.003";
                    for (int e = 0; e < extra; ++e) {
                        x += e % 7 == 0 ? ",NaN" : "," + exportNumber(e * 0.5, 6);
                    }
                    x += "</datapoint>\n";
                }
                x += "</databranch>\n";
            }
        }
        x += "</flightdata>\n</simulation>\n";
    }
    return x + "</simulations>\n</openrocket>\n";
}

std::string gzipped(const std::string& bytes) {
    z_stream s{};
    deflateInit2(&s, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&s, bytes.size()) + 64, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    s.avail_in = static_cast<uInt>(bytes.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

std::string zipped(const std::string& design, const std::string& name, bool designFirst) {
    TempDir dir;
    const std::string path = (dir / "design.zip").string();
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        throw std::runtime_error("cannot create a zip");
    }
    static const std::string picture = "\x89PNG\r\n\x1a\n not really a picture";
    auto addDesign = [&] {
        zip_file_add(archive, name.c_str(),
                     zip_source_buffer(archive, design.data(), design.size(), 0), 0);
    };
    if (designFirst) {
        addDesign();
    }
    zip_file_add(archive, "decals/fin.png",
                 zip_source_buffer(archive, picture.data(), picture.size(), 0), 0);
    if (!designFirst) {
        addDesign();
    }
    zip_close(archive);
    return readAll(path);
}

}  // namespace tevusb::testing
