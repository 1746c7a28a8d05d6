// The main window's field texts as the record fills them. Core layer (fylcore).
#include "room/mainwindowcontent.h"

#include "frame/numbers.h"

namespace fyl {

using numbers::formatFixed;

MainWindowContent contentFromRecord(const CalculationRecord& rec) {
    MainWindowContent c;
    // precision (significant digits), decimals: as each field shows its quantity
    c.roomFields = {
        formatFixed(rec.roomWidth, 6, 2),   formatFixed(rec.roomLength, 6, 2),
        formatFixed(rec.roomHeight, 4, 2),  formatFixed(rec.floorArea, 6, 2),
        formatFixed(rec.roomVolume, 6, 2),  formatFixed(rec.airChangeRate, 4, 0),
        formatFixed(rec.totalFlow, 6, 0),   formatFixed(rec.velocityLimit, 6, 2),
        formatFixed(rec.headHeight, 6, 2),  formatFixed(rec.mountingHeight, 6, 2),
        formatFixed(rec.coolingLoad, 6, 2), formatFixed(rec.roomTemp, 6, 2),
        formatFixed(rec.supplyTemp, 6, 2),  formatFixed(rec.maxSoundLevel, 6, 2),
    };
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
