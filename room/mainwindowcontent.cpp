// The main window's field texts as the record fills them. Core layer (fylcore).
#include "room/mainwindowcontent.h"

#include "frame/numbers.h"

#include <utility>

namespace fyl {

using numbers::formatFixed;

MainWindowContent contentFromRecord(const CalculationRecord& rec) {
    MainWindowContent c;
    c.roomValues = {
        rec.roomWidth,     rec.roomLength, rec.roomHeight,    rec.floorArea,     rec.roomVolume,
        rec.airChangeRate, rec.totalFlow,  rec.velocityLimit, rec.headHeight,    rec.mountingHeight,
        rec.coolingLoad,   rec.roomTemp,   rec.supplyTemp,    rec.maxSoundLevel,
    };
    // precision (significant digits), decimals: as each field shows its quantity
    constexpr std::pair<int, int> kShown[] = {{6, 2}, {6, 2}, {4, 2}, {6, 2}, {6, 2}, {4, 0}, {6, 0},
                                              {6, 2}, {6, 2}, {6, 2}, {6, 2}, {6, 2}, {6, 2}, {6, 2}};
    for (std::size_t i = 0; i < c.roomFields.size(); ++i)
        c.roomFields[i] = formatFixed(c.roomValues[i], kShown[i].first, kShown[i].second);
    c.projectFields = {
        rec.projectName.str(),       rec.projectNumber.str(),     rec.projectDate.str(),
        rec.contactAddress[0].str(), rec.contactAddress[1].str(), rec.contactAddress[2].str(),
        rec.contactAddress[3].str(), rec.contactAddress[4].str(), rec.editor[0].str(),
        rec.editor[1].str(),
    };
    // Line 1 always, then the following lines up to the first empty one; the memo shows at
    // most 25 of the 26 stored lines.
    c.remarkLines << rec.remarks[0].str();
    for (int i = 1; i < 25; ++i) {
        const QString line = rec.remarks[i].str();
        if (line.isEmpty())
            break;
        c.remarkLines << line;
    }
    for (const auto& entry : rec.attachments) {
        const QString path = entry.str();
        if (path.isEmpty())
            break;
        c.attachments << path;
    }
    c.enableContinue = rec.continueUsed != 0;
    return c;
}

QString fileNamePart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(cut + 1);
}

} // namespace fyl
