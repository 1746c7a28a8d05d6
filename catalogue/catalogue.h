// The catalogue tables as read at start: names, jet forms, outlet list, index, type codes.
// Core layer (fylcore).
#pragma once

#include <QString>

#include <array>
#include <memory>

namespace fyl {

class DetailRecords;

// The catalogue as read at start; nothing changes it afterwards. Tables are numbered from 1 in
// the data files; entry k lies at index k - 1 here, except the outlet list, whose entries are
// numbered from 0.
struct Catalogue {
    std::array<QString, 8> characteristicNames1; // mounting places
    std::array<QString, 8> characteristicNames2; // adjustment kinds
    std::array<QString, 8> characteristicNames3; // ranges of use
    std::array<QString, 8> jetFormNames;
    int jetFormCount = 0;
    std::array<QString, 12> outletListLines; // installation kinds and their type names
    int outletListCount = 0;
    std::array<QString, 250> catalogueIndex; // fixed-column lines, one per outlet size
    int indexCount = 0;
    std::array<QString, 25> typeCodeList; // entry 1 stays empty
    // The detail records the index names, read once for work that takes many outlets over (a
    // ranking, a schedule); without them every take-over reads its record from the detail file.
    std::shared_ptr<const DetailRecords> detailRecords;
};

} // namespace fyl
