// The packed calculation and outlet records shared by every window and stored in project and
// catalogue files. Core layer (fylcore).
#pragma once

#include "frame/ansi.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

// The byte images shared by every window and stored in project files and the catalogue's detail
// file. Both structs are packed: each field lies at the offset that the files fix, checked at
// compile time below. Take a field's value by copy (`double v = rec.roomHeight;`): a reference
// to a packed member would be misaligned.

static_assert(sizeof(double) == 8 && sizeof(std::int32_t) == 4);

namespace fyl {

// Lengths of a room and its outlets stay within what a building has: beyond it a figure is a
// typing error (or a date's day number), which the room schedule refuses and no exchange file holds.
inline constexpr double kMaxBuildingLength = 1000.0;
// Below a millimetre a figure is no length of a room: the flow picture could not scale it.
inline constexpr double kMinBuildingLength = 0.001;

namespace detail {
constexpr bool littleEndian() {
    return static_cast<std::uint8_t>(std::uint16_t{1}) == 1;
}
} // namespace detail

#pragma pack(push, 1)

// A short string: a length byte and N character bytes in the Windows ANSI code page. Assigning
// a longer text cuts it without notice. Assigning or clearing zero-fills the bytes after the
// length, so a shortened text leaves no tail of the old one in a saved file; reading ignores them.
template <std::size_t N> struct text {
    std::uint8_t length;
    char chars[N];

    std::size_t size() const { return length < N ? length : N; }
    QByteArray bytes() const { return QByteArray(chars, static_cast<qsizetype>(size())); }
    QString str() const { return fromAnsi(bytes()); }
    void assign(const QString& value) { assignBytes(toAnsi(value)); }
    void assignBytes(const QByteArray& value) {
        const std::size_t n =
            static_cast<std::size_t>(value.size()) < N ? static_cast<std::size_t>(value.size()) : N;
        std::memcpy(chars, value.constData(), n);
        std::memset(chars + n, 0, N - n);
        length = static_cast<std::uint8_t>(n);
    }
    void clear() { assignBytes(QByteArray()); }
    text& operator=(const QString& value) {
        assign(value);
        return *this;
    }
};

// One entry of an outlet's size table: the tube sizes of slot tube outlets.
struct SizeTableEntry {
    text<116> content;
    std::uint8_t byte117;
    std::int16_t int118;
    std::uint8_t byte120;
};
static_assert(sizeof(SizeTableEntry) == 121);

// One record of the catalogue's detail file: names, flow range and every coefficient of the
// jet, sound and pressure formulas of one outlet size. The "other" byte ranges belong to the
// record and are carried unchanged.
struct OutletRecord {
    std::uint8_t other0[2];
    char typeName[11]; // fixed-width texts end at the first NUL or the field's end
    char sizeName[11];
    char thirdName[11];
    char articleNumber[16];
    char jetFormCode[11]; // "01" .. "06"
    std::uint8_t other62[3];
    double vMin; // least flow of one outlet [m³/h]
    double vMax; // greatest flow of one outlet [m³/h]
    std::uint8_t other81[16];
    char tenderText[16]; // file name of the tender text document
    std::uint8_t other113[99];
    double pressureK; // dp = k * V^m
    double pressureM;
    std::uint8_t other228[16];
    double soundB; // LWA = A lg V + B
    double soundA;
    std::uint8_t other260[16];
    double decayK; // centre-line velocity decay: coefficient, vertical weight, exponent
    double decayB;
    double decayA;
    double freeJetF; // applied to K when the outlet is not ceiling-mounted
    double detachC;  // detachment distance: coefficient, temperature exponent, flow exponent
    double detachTempExp;
    double detachFlowExp;
    std::uint8_t other332[72];
    double headCoef; // velocity at head height of vertical jets
    double headExp;
    std::uint8_t other420[16];
    double penCoef; // penetration of vertical jets
    double penTempExp;
    double penFlowExp;
    std::uint8_t other460[8];
    double angle; // trajectory: discharge angle [deg], buoyancy coefficient, exponent
    double buoyancy;
    double trajExp;
    std::uint8_t other492[8];
    double zoneCoef; // zone of excessive velocity: profile coefficient, spread angle, width
    double spread;
    double widthTerm;
    double value524;
    text<100> lengthsList; // 5-character items: offered slot lengths [mm]
    text<100> countsList;  // 3-character items: offered slot counts
    SizeTableEntry sizeTable[25];

    static QString fixedText(const char* field, std::size_t size);
    QString typeNameText() const { return fixedText(typeName, sizeof typeName); }
    QString sizeNameText() const { return fixedText(sizeName, sizeof sizeName); }
    QString thirdNameText() const { return fixedText(thirdName, sizeof thirdName); }
    QString articleNumberText() const { return fixedText(articleNumber, sizeof articleNumber); }
    QString jetFormCodeText() const { return fixedText(jetFormCode, sizeof jetFormCode); }
    QString tenderTextName() const { return fixedText(tenderText, sizeof tenderText); }
};

// The one global record of a planning: the chosen outlet, the room data, the results, the
// selection state, the project texts and the attachments. A project file is its byte image.
struct CalculationRecord {
    OutletRecord outlet;
    std::uint8_t unused3759;
    double roomWidth;
    double roomLength;
    double floorArea;
    double roomHeight;
    double roomVolume;
    double airChangeRate;
    double totalFlow;
    double outletCount; // a whole number
    std::uint8_t unused3824[8];
    double flowPerOutlet; // per metre for line outlets
    double velocityLimit;
    double headHeight;
    double roomTemp;
    double supplyTemp;
    double coolingLoad;      // dry cooling load [kW]
    double maxSoundLevel;    // largest admissible sound power level [dB]
    double selectionFlow;    // flow by which the selection narrows the sizes
    double unread3896;       // set at reset, read by nothing
    double xKrit;            // detachment distance
    double criticalDistance; // result of the critical-distance search
    double yMax;             // penetration of a vertical jet
    double aMin;
    double aMin13; // a min at a head height of 1.3 m
    double wMin;
    double wMin13;
    double dp;
    double lwa;
    text<26> unread3976; // set at reset, read by nothing
    text<10> unread4003;
    text<45> unread4014;
    text<3> designCode; // "0" .. "3"
    double vMinOutlet;
    double vMaxOutlet;
    std::int32_t countBound1;
    std::int32_t countBound2;
    double spacing; // outlet spacing of the flow picture
    double vMid;    // velocity at head height midway between outlets (vertical: vk)
    double vLeft;   // velocity at head height at the left wall distance
    double vRight;
    double sectionWidth;
    std::uint8_t unused4128[8];
    double pictureOutletCount; // 1.0 or 2.0
    double mountingHeight;
    double wallLeft;
    double wallRight;
    std::uint8_t unusedFlag4168;
    std::uint8_t unreadFlag4169;  // written by the selection and calculation windows only
    std::uint8_t calculationMode; // "weiter" leads to the calculation window
    std::uint8_t filterUsed;      // selection flags of the narrowing by volume flow
    std::uint8_t typeListFlag;
    std::uint8_t unused4173;
    std::uint8_t horizontalJet;
    std::uint8_t verticalJet;
    std::uint8_t unusedFlags4176[5];
    std::uint8_t dimensionsEntered; // room size last given as width x length
    std::uint8_t unusedFlag4182;
    std::uint8_t unused4183;
    std::uint8_t resultsWindowFlag; // next horizontal evaluation sets spacing and wall distances
    std::uint8_t singleOutlet;      // flow picture and report show one outlet whatever the count
    std::uint8_t flowPictureShown;
    std::uint8_t unused4187;
    std::uint8_t continueUsed; // "weiter" was pressed at least once
    text<16> projectNumber;
    text<10> projectDate;
    text<50> projectName;
    text<72> remarks[26];
    text<40> contactAddress[5];
    text<40> editor[2];
    std::uint8_t unused6453[243];
    std::int32_t slotCount;
    std::uint8_t unused6700[4];
    double effectiveLength; // active length of all slots of one outlet [mm]
    double nominalLength;   // [mm]
    text<6> sizeText;       // size or tube diameter chosen in the selection
    std::uint8_t unused6727[33];
    text<255> attachments[20];
};

#pragma pack(pop)

static_assert(detail::littleEndian(), "the record images are little-endian");
static_assert(sizeof(OutletRecord) == 3759);
static_assert(sizeof(CalculationRecord) == 11880);

#define FYL_AT(type, field, offset) static_assert(offsetof(type, field) == (offset), #field)
FYL_AT(OutletRecord, typeName, 2);
FYL_AT(OutletRecord, sizeName, 13);
FYL_AT(OutletRecord, thirdName, 24);
FYL_AT(OutletRecord, articleNumber, 35);
FYL_AT(OutletRecord, jetFormCode, 51);
FYL_AT(OutletRecord, other62, 62);
FYL_AT(OutletRecord, vMin, 65);
FYL_AT(OutletRecord, vMax, 73);
FYL_AT(OutletRecord, other81, 81);
FYL_AT(OutletRecord, tenderText, 97);
FYL_AT(OutletRecord, other113, 113);
FYL_AT(OutletRecord, pressureK, 212);
FYL_AT(OutletRecord, pressureM, 220);
FYL_AT(OutletRecord, other228, 228);
FYL_AT(OutletRecord, soundB, 244);
FYL_AT(OutletRecord, soundA, 252);
FYL_AT(OutletRecord, other260, 260);
FYL_AT(OutletRecord, decayK, 276);
FYL_AT(OutletRecord, decayB, 284);
FYL_AT(OutletRecord, decayA, 292);
FYL_AT(OutletRecord, freeJetF, 300);
FYL_AT(OutletRecord, detachC, 308);
FYL_AT(OutletRecord, detachTempExp, 316);
FYL_AT(OutletRecord, detachFlowExp, 324);
FYL_AT(OutletRecord, other332, 332);
FYL_AT(OutletRecord, headCoef, 404);
FYL_AT(OutletRecord, headExp, 412);
FYL_AT(OutletRecord, other420, 420);
FYL_AT(OutletRecord, penCoef, 436);
FYL_AT(OutletRecord, penTempExp, 444);
FYL_AT(OutletRecord, penFlowExp, 452);
FYL_AT(OutletRecord, other460, 460);
FYL_AT(OutletRecord, angle, 468);
FYL_AT(OutletRecord, buoyancy, 476);
FYL_AT(OutletRecord, trajExp, 484);
FYL_AT(OutletRecord, other492, 492);
FYL_AT(OutletRecord, zoneCoef, 500);
FYL_AT(OutletRecord, spread, 508);
FYL_AT(OutletRecord, widthTerm, 516);
FYL_AT(OutletRecord, value524, 524);
FYL_AT(OutletRecord, lengthsList, 532);
FYL_AT(OutletRecord, countsList, 633);
FYL_AT(OutletRecord, sizeTable, 734);
FYL_AT(SizeTableEntry, byte117, 117);
FYL_AT(SizeTableEntry, int118, 118);
FYL_AT(SizeTableEntry, byte120, 120);

FYL_AT(CalculationRecord, outlet, 0);
FYL_AT(CalculationRecord, unused3759, 3759);
FYL_AT(CalculationRecord, roomWidth, 3760);
FYL_AT(CalculationRecord, roomLength, 3768);
FYL_AT(CalculationRecord, floorArea, 3776);
FYL_AT(CalculationRecord, roomHeight, 3784);
FYL_AT(CalculationRecord, roomVolume, 3792);
FYL_AT(CalculationRecord, airChangeRate, 3800);
FYL_AT(CalculationRecord, totalFlow, 3808);
FYL_AT(CalculationRecord, outletCount, 3816);
FYL_AT(CalculationRecord, unused3824, 3824);
FYL_AT(CalculationRecord, flowPerOutlet, 3832);
FYL_AT(CalculationRecord, velocityLimit, 3840);
FYL_AT(CalculationRecord, headHeight, 3848);
FYL_AT(CalculationRecord, roomTemp, 3856);
FYL_AT(CalculationRecord, supplyTemp, 3864);
FYL_AT(CalculationRecord, coolingLoad, 3872);
FYL_AT(CalculationRecord, maxSoundLevel, 3880);
FYL_AT(CalculationRecord, selectionFlow, 3888);
FYL_AT(CalculationRecord, unread3896, 3896);
FYL_AT(CalculationRecord, xKrit, 3904);
FYL_AT(CalculationRecord, criticalDistance, 3912);
FYL_AT(CalculationRecord, yMax, 3920);
FYL_AT(CalculationRecord, aMin, 3928);
FYL_AT(CalculationRecord, aMin13, 3936);
FYL_AT(CalculationRecord, wMin, 3944);
FYL_AT(CalculationRecord, wMin13, 3952);
FYL_AT(CalculationRecord, dp, 3960);
FYL_AT(CalculationRecord, lwa, 3968);
FYL_AT(CalculationRecord, unread3976, 3976);
FYL_AT(CalculationRecord, unread4003, 4003);
FYL_AT(CalculationRecord, unread4014, 4014);
FYL_AT(CalculationRecord, designCode, 4060);
FYL_AT(CalculationRecord, vMinOutlet, 4064);
FYL_AT(CalculationRecord, vMaxOutlet, 4072);
FYL_AT(CalculationRecord, countBound1, 4080);
FYL_AT(CalculationRecord, countBound2, 4084);
FYL_AT(CalculationRecord, spacing, 4088);
FYL_AT(CalculationRecord, vMid, 4096);
FYL_AT(CalculationRecord, vLeft, 4104);
FYL_AT(CalculationRecord, vRight, 4112);
FYL_AT(CalculationRecord, sectionWidth, 4120);
FYL_AT(CalculationRecord, unused4128, 4128);
FYL_AT(CalculationRecord, pictureOutletCount, 4136);
FYL_AT(CalculationRecord, mountingHeight, 4144);
FYL_AT(CalculationRecord, wallLeft, 4152);
FYL_AT(CalculationRecord, wallRight, 4160);
FYL_AT(CalculationRecord, unusedFlag4168, 4168);
FYL_AT(CalculationRecord, unreadFlag4169, 4169);
FYL_AT(CalculationRecord, calculationMode, 4170);
FYL_AT(CalculationRecord, filterUsed, 4171);
FYL_AT(CalculationRecord, typeListFlag, 4172);
FYL_AT(CalculationRecord, unused4173, 4173);
FYL_AT(CalculationRecord, horizontalJet, 4174);
FYL_AT(CalculationRecord, verticalJet, 4175);
FYL_AT(CalculationRecord, unusedFlags4176, 4176);
FYL_AT(CalculationRecord, dimensionsEntered, 4181);
FYL_AT(CalculationRecord, unusedFlag4182, 4182);
FYL_AT(CalculationRecord, unused4183, 4183);
FYL_AT(CalculationRecord, resultsWindowFlag, 4184);
FYL_AT(CalculationRecord, singleOutlet, 4185);
FYL_AT(CalculationRecord, flowPictureShown, 4186);
FYL_AT(CalculationRecord, unused4187, 4187);
FYL_AT(CalculationRecord, continueUsed, 4188);
FYL_AT(CalculationRecord, projectNumber, 4189);
FYL_AT(CalculationRecord, projectDate, 4206);
FYL_AT(CalculationRecord, projectName, 4217);
FYL_AT(CalculationRecord, remarks, 4268);
FYL_AT(CalculationRecord, contactAddress, 6166);
FYL_AT(CalculationRecord, editor, 6371);
FYL_AT(CalculationRecord, unused6453, 6453);
FYL_AT(CalculationRecord, slotCount, 6696);
FYL_AT(CalculationRecord, unused6700, 6700);
FYL_AT(CalculationRecord, effectiveLength, 6704);
FYL_AT(CalculationRecord, nominalLength, 6712);
FYL_AT(CalculationRecord, sizeText, 6720);
FYL_AT(CalculationRecord, unused6727, 6727);
FYL_AT(CalculationRecord, attachments, 6760);
#undef FYL_AT

// Stores the reset values of the record and touches no other byte: the outlet part, the bytes
// that nothing uses and the results that the reset leaves alone keep what they hold.
void ResetRecord(CalculationRecord& rec);

// Before an outlet is taken over: every value an earlier outlet could leave behind (its slot
// configuration, its flow limits and count, its results and the flow picture's distances) goes
// back to what a new project holds, so the new outlet's figures depend on the room and on it
// alone. The room, the project texts and the selection's own fields stay.
void forgetPreviousOutlet(CalculationRecord& rec);

// The record as bytes, and back; a project file is exactly this image.
QByteArray recordBytes(const CalculationRecord& rec);
void setRecordBytes(CalculationRecord& rec, const QByteArray& bytes); // bytes.size() must be 11880

} // namespace fyl
