// The ceiling-diffuser fixture of the evaluation tests and the benchmarks. Core only.
#include "tests/support/calcfixture.h"

#include <cstring>

namespace fyl::test {

void setJetForm(CalculationRecord& rec, const char* code) {
    std::memset(rec.outlet.jetFormCode, 0, sizeof rec.outlet.jetFormCode);
    std::memcpy(rec.outlet.jetFormCode, code, std::min<std::size_t>(std::strlen(code), 2));
}

std::unique_ptr<CalcState> ceilingDiffuserState(const char* jetForm) {
    auto state = std::make_unique<CalcState>(); // value-initialised: names and unused coefficients are zero
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
    return state;
}

} // namespace fyl::test
