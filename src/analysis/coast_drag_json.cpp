// SPDX-License-Identifier: MIT
#include "analysis/coast_drag_json.h"

namespace tevusb::analysis {

namespace {

using json = nlohmann::ordered_json;

json orNull(const std::optional<double>& v) {
    return v ? json(*v) : json(nullptr);
}

std::string massText(double kg, UnitSystem system) {
    constexpr double kPound = 0.45359237;
    return system == UnitSystem::Metric ? formatNumber(kg, 3) + " kg"
                                        : formatNumber(kg / kPound, 2) + " lb";
}

std::string areaText(double m2, UnitSystem system) {
    constexpr double kSquareInch = 0.00064516;
    return system == UnitSystem::Metric ? formatNumber(m2 * 1e4, 1) + " cm\u00b2"
                                        : formatNumber(m2 / kSquareInch, 2) + " in\u00b2";
}

}  // namespace

json coastDragJson(const CoastDrag& drag) {
    json j;
    j["k_per_m"] = drag.fit ? json(drag.fit->kPerM) : json(nullptr);
    j["cd"] = orNull(drag.cd);
    j["mass_kg"] = orNull(drag.massKg);
    j["reference_area_m2"] = orNull(drag.referenceAreaM2);
    j["sim_cd"] = orNull(drag.simCd);
    j["residual_m"] = drag.fit ? json(drag.fit->residualM) : json(nullptr);
    j["reason"] = drag.fit ? json(nullptr) : json(drag.reason);
    return j;
}

StatisticsRow coastDragRow(const CoastDrag& drag, UnitSystem system) {
    if (!drag.fit) {
        return {"Coast drag", drag.reason.empty() ? kNoValue : drag.reason};
    }
    const auto& fit = *drag.fit;
    const std::string kText = "k " + formatNumber(fit.kPerM, 5) + " /m over " +
                              formatNumber(fit.fromS, 1) + "-" + formatNumber(fit.toS, 1) +
                              " s, residual " +
                              formatQuantity(Quantity::Altitude, fit.residualM, system, 1);
    std::string value;
    if (drag.cd) {
        value = "Cd " + formatNumber(*drag.cd, 2) + " (" + kText + "; " +
                massText(*drag.massKg, system) + ", " + areaText(*drag.referenceAreaM2, system) +
                ")";
    } else {
        value = kText + "; Cd needs the rocket's coast mass and reference area";
    }
    if (drag.simCd) {
        value += "; simulation Cd " + formatNumber(*drag.simCd, 2);
    }
    return {"Coast drag", value};
}

}  // namespace tevusb::analysis
