// The room acoustics of the sound tool: the sound pressure level that a number of equal air
// outlets produce in a room of given size and reverberation time, and its comparison with the
// guide value of the room's use. Plain data. Core layer of the sound tool (fylsound, QtCore only).
#pragma once

#include <QString>

#include <array>
#include <optional>

namespace fyl::sound {

enum class RoomUse { Office, Meeting, Classroom, OpenPlan };

struct RoomUseInfo {
    RoomUse use;
    const char* key;  // the command line's name
    const char* name; // German, as the planner reads it
    double limit;     // guide value of the A-weighted sound pressure level [dB(A)]
};

// The uses in the order the window offers them.
const std::array<RoomUseInfo, 4>& roomUses();
const RoomUseInfo& roomUseInfo(RoomUse use);
std::optional<RoomUse> roomUseFromKey(const QString& key);

// Ceiling and wall outlets radiate into a half space.
inline constexpr double kDirectivity = 2.0;
// What the planner starts with: a usual office reverberation time and a listener one metre from
// the nearest outlet.
inline constexpr double kDefaultReverberationTime = 0.8;
inline constexpr double kDefaultListenerDistance = 1.0;
inline constexpr double kMinReverberationTime = 0.1;
inline constexpr double kMaxReverberationTime = 10.0;
inline constexpr double kMinListenerDistance = 0.1;

struct SoundInputs {
    int outletCount = 1;
    double lwa = 0.0;                                     // sound power level of one outlet [dB(A)]
    double width = 0.0, length = 0.0, height = 0.0;       // [m]
    double reverberationTime = kDefaultReverberationTime; // [s]
    double listenerDistance = kDefaultListenerDistance;   // to the nearest outlet [m]
    RoomUse use = RoomUse::Office;
};

struct SoundFigures {
    double totalPowerLevel = 0;  // LW,ges of all outlets [dB(A)]
    double volume = 0;           // [m³]
    double surface = 0;          // [m²]
    double absorptionArea = 0;   // Sabine's equivalent absorption area [m²]
    double meanAbsorption = 0;   // A / S
    double diffuseLevel = 0;     // reverberant field of all outlets [dB(A)]
    double directLevel = 0;      // direct field of the nearest outlet at the listener [dB(A)]
    double listenerLevel = 0;    // both together at the listener [dB(A)]
    double criticalDistance = 0; // Hallradius: where one outlet's direct field equals its diffuse field [m]
    double limit = 0;            // guide value of the use [dB(A)]
    double excess = 0;           // listener level minus guide value, to 0,1 dB; not above 0 means met
    bool met() const { return excess <= 0.0; }
};

// Checks the values the exchange file gives (the count, the outlets' level, the room's size);
// raises fyl::Error naming the first one out of range.
void requireComputableRoom(const SoundInputs& in);

// Checks every input and computes the figures. An input out of its range raises fyl::Error with
// a German message naming it; nothing that is not finite is returned.
SoundFigures computeSound(const SoundInputs& in);

// "eingehalten (2,4 dB darunter)" or "überschritten um 1,3 dB".
QString verdictText(const SoundFigures& figures);

} // namespace fyl::sound
