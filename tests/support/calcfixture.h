#pragma once

#include "frame/appstate.h"

#include <cstring>
#include <memory>

namespace fyl::test {

inline void setJetForm(CalculationRecord& rec, const char* code) {
    std::memset(rec.outlet.jetFormCode, 0, sizeof rec.outlet.jetFormCode);
    std::memcpy(rec.outlet.jetFormCode, code, 2);
}

// A ceiling diffuser and a room chosen so that every value has a short hand computation:
// Vsound = 10^((35 + 5) / 20) = 100, count 750 / 100 = 7.5, N = 8, V = 93.75; g = 0.032 * 93.75 = 3,
// so the run to 0.2 m/s is 3 / 0.2 = 15 m (decay exponent 1); b dT / G = 274.658203125 * 8 / 93.75² = 0.25.
inline std::unique_ptr<AppState> ceilingDiffuserState(const char* jetForm = "01") {
    auto state = std::make_unique<AppState>(); // value-initialised: names and unused coefficients are zero
    CalculationRecord& rec = state->record;
    ResetRecord(rec);
    OutletRecord& o = rec.outlet;
    std::memcpy(o.typeName, "DLQ", 3);
    std::memcpy(o.sizeName, "625", 3);
    std::memcpy(o.thirdName, "A", 1);
    setJetForm(rec, jetForm);
    o.vMin = 50.0;
    o.vMax = 150.0;
    o.pressureK = 0.01;
    o.pressureM = 2.0;
    o.soundB = -5.0;
    o.soundA = 20.0;
    o.decayK = 0.032;
    o.decayB = 2.0;
    o.decayA = 1.0;
    o.freeJetF = 0.5;
    o.detachC = 0.64;
    o.detachTempExp = 1.0;
    o.detachFlowExp = 1.0;
    o.headCoef = 0.003;
    o.headExp = 1.0;
    o.penCoef = 0.001;
    o.penTempExp = 1.0;
    o.penFlowExp = 1.0;
    o.buoyancy = 274.658203125;
    o.trajExp = 1.0;
    o.zoneCoef = -1.0;
    o.spread = 90.0;
    o.widthTerm = 10.0;
    rec.designCode.assign(QStringLiteral("0"));
    rec.totalFlow = 750.0;
    rec.roomTemp = 26.0;
    rec.supplyTemp = 18.0;
    return state; // room height and mounting height 3 m, head height 1.8 m, limit 0.2 m/s, 35 dB, 100 m²
}

} // namespace fyl::test
