// Reset values and the byte image of the calculation record. Core layer (fylcore).
#include "frame/record.h"

#include "frame/ansi.h"

#include <QtGlobal>

namespace fyl {

QString OutletRecord::fixedText(const char* field, std::size_t size) {
    std::size_t n = 0;
    while (n < size && field[n] != '\0')
        ++n;
    return fromAnsi(QByteArray(field, static_cast<qsizetype>(n)));
}

namespace {

// The outlet's figures as a new project holds them.
void resetOutletFigures(CalculationRecord& rec) {
    rec.outletCount = 0.0;
    rec.flowPerOutlet = 1000.0;
    rec.xKrit = 0.0;
    rec.criticalDistance = 0.0;
    rec.yMax = 0.0;
    rec.aMin = 0.0;
    rec.dp = 0.0;
    rec.lwa = 0.0;
    rec.vMinOutlet = 1.0;
    rec.vMaxOutlet = 100000.0;
    rec.countBound1 = 1;
    rec.countBound2 = 100;
    rec.spacing = 0.0;
    rec.vMid = 0.0;
    rec.sectionWidth = 0.0;
    rec.pictureOutletCount = 2.0;
    rec.wallLeft = 1.0;
    rec.wallRight = 1.0;
    rec.resultsWindowFlag = 1;
    rec.singleOutlet = 0;
    rec.flowPictureShown = 0;
    rec.slotCount = 1;
    rec.effectiveLength = 1000.0;
}

} // namespace

void forgetPreviousOutlet(CalculationRecord& rec) {
    resetOutletFigures(rec);
    // Left alone by a new project, but an earlier outlet's all the same.
    rec.wMin = 0.0;
    rec.aMin13 = 0.0;
    rec.wMin13 = 0.0;
    rec.vLeft = 0.0;
    rec.vRight = 0.0;
    rec.nominalLength = 0.0;
    rec.sizeText.clear();
}

void ResetRecord(CalculationRecord& rec) {
    resetOutletFigures(rec);
    rec.roomWidth = 10.0;
    rec.roomLength = 10.0;
    rec.floorArea = 100.0;
    rec.roomHeight = 3.0;
    rec.roomVolume = 300.0;
    rec.airChangeRate = 10.0;
    rec.totalFlow = 4000.0;
    rec.velocityLimit = 0.2;
    rec.headHeight = 1.8;
    rec.roomTemp = 20.0;
    rec.supplyTemp = 20.001;
    rec.coolingLoad = 0.0;
    rec.maxSoundLevel = 35.0;
    rec.selectionFlow = 100.0;
    rec.unread3896 = 5000.0;
    rec.unread3976.assign(QStringLiteral("n. n."));
    rec.unread4003.assign(QStringLiteral(" "));
    rec.unread4014.assign(QStringLiteral(" "));
    rec.mountingHeight = rec.roomHeight;
    rec.unusedFlag4168 = 0;
    rec.unreadFlag4169 = 0;
    rec.calculationMode = 0;
    rec.filterUsed = 0;
    rec.typeListFlag = 0;
    rec.horizontalJet = 0;
    rec.verticalJet = 0;
    for (auto& flag : rec.unusedFlags4176)
        flag = 0;
    rec.continueUsed = 0;
    rec.projectNumber.clear();
    rec.projectDate.clear();
    rec.projectName.clear();
    for (auto& line : rec.remarks)
        line.clear();
    for (auto& line : rec.contactAddress)
        line.clear();
    for (auto& line : rec.editor)
        line.clear();
    for (auto& entry : rec.attachments)
        entry.clear();
}

QByteArray recordBytes(const CalculationRecord& rec) {
    return QByteArray(reinterpret_cast<const char*>(&rec), static_cast<qsizetype>(sizeof rec));
}

void setRecordBytes(CalculationRecord& rec, const QByteArray& bytes) {
    Q_ASSERT(bytes.size() == static_cast<qsizetype>(sizeof rec));
    std::memcpy(&rec, bytes.constData(), sizeof rec);
}

} // namespace fyl
