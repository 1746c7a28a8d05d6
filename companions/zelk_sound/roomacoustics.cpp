// The room acoustics of the sound tool: Sabine's absorption area, the diffuse and the direct
// field, their energetic sum and the comparison with the guide value. Core layer (fylsound).
#include "companions/zelk_sound/roomacoustics.h"

#include "frame/errors.h"
#include "frame/numbers.h"

#include <cmath>
#include <numbers>

namespace fyl::sound {

namespace {

// Sabine's constant 24·ln 10 / c for air at about 20 °C [s/m].
constexpr long double kSabine = 0.163L;

QString shown(long double value) {
    return numbers::formatGeneral(value, 6);
}

void require(bool ok, const QString& message) {
    if (!ok)
        throw Error(message);
}

// Checked before a range check, whose message shows the value.
void requireFiniteInput(double value, const char* name) {
    require(std::isfinite(value),
            QStringLiteral("%1: der Wert ist keine endliche Zahl.").arg(QString::fromUtf8(name)));
}

void requireLength(double value, const char* name) {
    requireFiniteInput(value, name);
    require(value > 0.0, QStringLiteral("Die %1 muss größer als 0 m sein (gelesen: %2 m).")
                             .arg(QString::fromUtf8(name), shown(value)));
}

long double level(long double energy) {
    return 10.0L * std::log10(energy);
}

long double energy(long double level) {
    return std::pow(10.0L, level / 10.0L);
}

double stored(long double value, const char* what) {
    return static_cast<double>(requireFinite(value, what));
}

} // namespace

const std::array<RoomUseInfo, 4>& roomUses() {
    static const std::array<RoomUseInfo, 4> uses{{
        {RoomUse::Office, "office", "Büro", 35.0},
        {RoomUse::Meeting, "meeting", "Besprechungsraum", 35.0},
        {RoomUse::Classroom, "classroom", "Klassenraum", 35.0},
        {RoomUse::OpenPlan, "openplan", "Großraumbüro", 40.0},
    }};
    return uses;
}

const RoomUseInfo& roomUseInfo(RoomUse use) {
    for (const RoomUseInfo& info : roomUses())
        if (info.use == use)
            return info;
    return roomUses().front();
}

std::optional<RoomUse> roomUseFromKey(const QString& key) {
    for (const RoomUseInfo& info : roomUses())
        if (key == QLatin1String(info.key))
            return info.use;
    return std::nullopt;
}

void requireComputableRoom(const SoundInputs& in) {
    require(in.outletCount >= 1,
            QStringLiteral("Die Anzahl der Durchlässe muss mindestens 1 sein (gelesen: %1).")
                .arg(in.outletCount));
    requireFiniteInput(in.lwa, "Schallleistungspegel");
    requireLength(in.width, "Raumbreite");
    requireLength(in.length, "Raumlänge");
    requireLength(in.height, "Raumhöhe");
}

SoundFigures computeSound(const SoundInputs& in) {
    requireComputableRoom(in);
    requireFiniteInput(in.reverberationTime, "Nachhallzeit");
    require(
        in.reverberationTime >= kMinReverberationTime && in.reverberationTime <= kMaxReverberationTime,
        QStringLiteral("Die Nachhallzeit muss zwischen %1 s und %2 s liegen (eingegeben: %3 s).")
            .arg(shown(kMinReverberationTime), shown(kMaxReverberationTime), shown(in.reverberationTime)));
    const long double W = in.width, L = in.length, H = in.height;
    // No listener in the room is farther from an outlet than the room's diagonal.
    const long double diagonal = std::sqrt(W * W + L * L + H * H);
    requireFiniteInput(in.listenerDistance, "Abstand zum nächsten Durchlass");
    require(
        in.listenerDistance >= kMinListenerDistance && in.listenerDistance <= diagonal,
        QStringLiteral("Der Abstand zum nächsten Durchlass muss zwischen %1 m und der Raumdiagonale von %2 m "
                       "liegen (eingegeben: %3 m).")
            .arg(shown(kMinListenerDistance), numbers::formatFixed(diagonal, 6, 2),
                 shown(in.listenerDistance)));

    SoundFigures f;
    const long double volume = W * L * H;
    const long double surface = 2.0L * (W * L + W * H + L * H);
    const long double absorption = kSabine * volume / in.reverberationTime;
    // More absorption than surface cannot be: the reverberation time is shorter than the room allows.
    require(absorption <= surface,
            QStringLiteral(
                "Die Nachhallzeit von %1 s ist für diesen Raum zu kurz: die Absorptionsfläche von %2 m² "
                "wäre größer als die Raumoberfläche von %3 m². Die kürzeste mögliche Nachhallzeit ist hier "
                "%4 s.")
                .arg(shown(in.reverberationTime), numbers::formatFixed(absorption, 8, 2),
                     numbers::formatFixed(surface, 8, 2),
                     numbers::formatFixed(std::ceil(kSabine * volume / surface * 100.0L) / 100.0L, 6, 2)));

    const long double r = in.listenerDistance;
    const long double total = in.lwa + level(in.outletCount);
    const long double diffuse = total + level(4.0L / absorption);
    const long double direct =
        in.lwa + level(kDirectivity / (4.0L * std::numbers::pi_v<long double> * r * r));
    const long double listener = level(energy(direct) + energy(diffuse));
    const RoomUseInfo& use = roomUseInfo(in.use);
    // Compared to a tenth of a decibel, as shown: 35,04 dB against 35 dB is met.
    long double excess = std::round((listener - use.limit) * 10.0L) / 10.0L;
    if (excess == 0.0L)
        excess = 0.0L; // no "-0,0"

    f.totalPowerLevel = stored(total, "LW,ges");
    f.volume = stored(volume, "Raumvolumen");
    f.surface = stored(surface, "Raumoberfläche");
    f.absorptionArea = stored(absorption, "Absorptionsfläche");
    f.meanAbsorption = stored(absorption / surface, "Absorptionsgrad");
    f.diffuseLevel = stored(diffuse, "Diffusfeldpegel");
    f.directLevel = stored(direct, "Direktfeldpegel");
    f.listenerLevel = stored(listener, "Pegel am Hörerplatz");
    f.criticalDistance = stored(
        std::sqrt(kDirectivity * absorption / (16.0L * std::numbers::pi_v<long double>)), "Hallradius");
    f.limit = use.limit;
    f.excess = stored(excess, "Überschreitung");
    return f;
}

QString verdictText(const SoundFigures& figures) {
    if (figures.met())
        return QStringLiteral("eingehalten (%1 dB darunter)")
            .arg(numbers::formatFixed(0.0 - figures.excess, 6, 1));
    return QStringLiteral("überschritten um %1 dB").arg(numbers::formatFixed(figures.excess, 6, 1));
}

} // namespace fyl::sound
