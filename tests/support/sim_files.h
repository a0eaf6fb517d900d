// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace tevusb::testing {

// A simulated flight with known values, in SI: 60 m/s² for 1.5 s, a coast without drag
// to apogee (480.4 m at 10.67 s), then 10 m/s down to the ground; a row every 0.05 s.
struct ReferenceFlight {
    std::vector<double> t, h, v, a, massKg, cd;
    double areaM2 = 0.00255;
    double burnoutS = 1.5;
    double apogeeS = 0.0;
    double apogeeM = 0.0;
    double groundHitS = 0.0;
};
const ReferenceFlight& referenceFlight();

// How the simulator's CSV export dialog was set.
struct CsvOptions {
    std::string starter = "#";
    std::string separator = ",";
    int decimals = 3;
    std::string language = "en";  // en, de, fr
    std::string lengthUnit = "m";
    std::string velocityUnit = "m/s";
    std::string massUnit = "g";
    std::string areaUnit = "cm\u00b2";
    bool simulationComment = true;
    bool fieldComment = true;
    bool eventComments = true;
    bool crlf = false;
    std::string name = "Club flight H128";
    std::string status = "Up to date";
};

// The reference flight as that export writes it.
std::string openRocketCsv(const CsvOptions& options);
// A number as the export writes it: `decimals` significant, trailing zeros trimmed,
// exponent form below 0.001 and from 10000 up.
std::string exportNumber(double value, int decimals);

// One <simulation> of a design file.
struct OrkSimulation {
    std::string name;
    bool withData = true;
    int stages = 1;
    bool wideRows = false;  // the simulator's 60 columns, several NaN
    double altitudeScale = 1.0;
};
std::string orkXml(const std::vector<OrkSimulation>& sims, const std::string& version = "1.10");

std::string gzipped(const std::string& bytes);
// A zip with the design named `name`, and an image beside it (after it, or before it when
// `designFirst` is false).
std::string zipped(const std::string& design, const std::string& name = "rocket.ork",
                   bool designFirst = true);

}  // namespace tevusb::testing
