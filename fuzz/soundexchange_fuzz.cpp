// Fuzz target of the sound exchange file (Sounddaten.tmp) and of the room acoustics the sound tool
// computes from an accepted file. Fuzzing harness over the core (fylcore, fylsound).
//
// The reader raises FileError for anything it cannot take; what it accepts holds finite values
// within their ranges. The acoustics then either refuses an input with fyl::Error or gives only
// finite figures and a verdict without a non-finite number.
#include "fuzz/fuzzsupport.h"

#include "companions/zelk_sound/roomacoustics.h"
#include "companions/zelk_sound/soundsheet.h"
#include "exchange/exchangefiles.h"
#include "frame/errors.h"

#include <cmath>

using namespace fyl;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SoundExchange x;
    try {
        x = readSoundExchange(fuzz::inputBytes(data, size));
    } catch (const FileError& e) {
        require(e.message().startsWith(QLatin1String(kSoundExchangeName)), "a refusal does not name the file",
                e.message());
        return 0;
    }
    require(x.outletCount >= 0 && x.outletCount <= 1000000, "an accepted count lies outside its range");
    require(std::isfinite(x.lwa) && x.lwa >= -100 && x.lwa <= 200,
            "an accepted sound level lies outside its range");
    for (const double length : {x.roomWidth, x.roomLength, x.roomHeight})
        require(std::isfinite(length) && length >= 0 && length <= 1000,
                "an accepted room size lies outside its range");

    sound::SoundFigures figures;
    try {
        figures = sound::computeSound(sound::inputsFrom(x));
    } catch (const Error&) {
        return 0;
    }
    for (const double v : {figures.totalPowerLevel, figures.volume, figures.surface, figures.absorptionArea,
                           figures.meanAbsorption, figures.diffuseLevel, figures.directLevel,
                           figures.listenerLevel, figures.criticalDistance, figures.limit, figures.excess})
        require(std::isfinite(v), "the acoustics gave a non-finite figure");
    require(!fuzz::showsNonFinite(sound::verdictText(figures)), "the verdict shows a non-finite number");
    return 0;
}
