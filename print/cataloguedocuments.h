// The catalogue's documents beside the program: one tender text per name the detail records give
// and one data sheet per type the selection offers, drawn from the catalogue files as the program
// loads them and from the source's texts. Core layer (fylcore); the tender texts are plain text
// here, the data sheets display lists (print/datasheet.h) that fyldraw writes as PDF.
#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/cataloguesource.h"
#include "catalogue/lookups.h"
#include "frame/record.h"
#include "selection/selectionlists.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace fyl {

struct DocumentedJetForm {
    int number = 0;
    QString name; // as the jet form table names it: "01 waagerecht an der Decke"
    OutletRecord record{};
};

struct DocumentedSize {
    QString name;
    QString design; // "0" .. "3"; empty for a type with a data sheet only
    int flowMin = 0, flowMax = 0;
    QString dataSheet; // the index line's data sheet name
    std::vector<DocumentedJetForm> jetForms;
};

// One type as its documents show it.
struct DocumentedType {
    QString name;
    bool calculable = false;
    QStringList kinds;
    TypeDocuments documents;
    TypeAttributes attributes; // mounting places, adjustment kinds, ranges of use
    std::vector<DocumentedSize> sizes;

    // "0" counted one by one, otherwise per metre of slot; the first size's design.
    bool perMetre() const;
};

// Every type the installation kinds list, with the detail records from ZELK.emd in `programDir`.
// Raises fyl::Error when a type the selection offers has no texts in the source (a calculable type
// under "types", any other under "data_sheet_types"), when a size with calculation data names no
// tender text, or when a detail record cannot be read.
std::vector<DocumentedType> documentedTypes(const Catalogue& catalogue, const QString& programDir,
                                            const CatalogueDocuments& documents);

// What a size of a slot outlet offers besides its flow range: the slot lengths and counts (designs
// "1" and "3") or per tube diameter the lengths and counts (design "2"), one text per line; nothing
// for ordinary outlets.
QStringList sizeConfiguration(const DocumentedSize& size);

// The flow range as the documents write it: "80 – 190".
QString flowRangeText(int flowMin, int flowMax);
// The unit of a type's flows: "m³/h", or "m³/(h·m)" for slot outlets.
QString flowUnit(const DocumentedType& type);

// The tender text of a calculable type: lines without their ends.
QStringList tenderTextLines(const DocumentedType& type);
// A text file the desktop opens in any editor on Windows and Linux: UTF-8 with a byte order mark,
// lines ended by CR LF.
QByteArray plainTextFile(const QStringList& lines);
// The tender text files: every name the type's detail records give, with the type's text.
std::map<QString, QByteArray> tenderTextFiles(const std::vector<DocumentedType>& types);

// The names under which the selection window opens a type's data sheet: the type's name + ".pdf"
// (the type step) and the data sheet column of its sizes' index lines (the size step).
QStringList dataSheetNames(const DocumentedType& type);

} // namespace fyl
