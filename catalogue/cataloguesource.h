// The catalogue builder: the readable JSON source into the seven catalogue files, written as
// one set. Core layer (fylcore).
#pragma once

#include <QByteArray>
#include <QString>

#include <QStringList>

#include <map>
#include <vector>

namespace fyl {

// The catalogue as a maker keeps it: one JSON file that is read and reviewed in diffs, from
// which the seven files of the program directory are built. Layout of the source:
//
//   "characteristic_names_1" .. "_3": up to 8 names (at most 20 characters)
//   "jet_forms": up to 8 names (at most 40 characters); character 2 is the jet form's number
//   "installations": [{"name": up to 27 characters, "types": ["DRL", ...]}], at most 12
//   "types": [{"code": 3 characters, "design": "0".."3", "data_sheet": file name,
//              "mounting" / "adjustment" / "use": flag numbers 1..8,
//              "record": fields shared by all sizes,
//              "sizes": [{"name": up to 25 characters, beginning with the code,
//                         "v_min", "v_max": whole m³/h (per metre for line outlets),
//                         "record": fields of this size,
//                         "jet_forms": {"01": fields of this size with jet form 01, ...}}]}]
//
// Every index line (one per size and jet form) gets its own detail record, numbered in source
// order. A record's fields are merged from the type, the size and the jet form, the later one
// winning; each real field must be given somewhere, so that no coefficient is zero by omission.
// Record keys are those of `catalogue record`; "lengths_list" and "counts_list" may be arrays
// of numbers and "size_table" entries objects {"diameter", "lengths", "counts"}, which the
// builder lays out in the fixed character positions. Keys beginning with "about" are notes.
//
// What the tender texts and data sheets say besides the catalogue's numbers (read by
// readCatalogueDocuments, not by the builder of the seven files):
//   "types": [{..., "picture": sketch family, "documents": {"name", "description", "material",
//              "surface", "installation", "connection": texts, "accessories": [texts]}}]
//   "data_sheet_types": [{"code", "picture", "documents": {...},
//                         "sizes": [{"name", "v_min", "v_max"}]}]: types an installation kind
//              lists without calculation data, which get a data sheet from these sizes alone.
// The demo catalogue's source is 150 KB; a source beyond this is not read.
inline constexpr qint64 kMaxCatalogueSourceBytes = qint64{16} << 20;

struct BuiltCatalogue {
    std::map<QString, QByteArray> files; // file name -> exact bytes
    int recordCount = 0;
};

// Raises fyl::Error naming the place in the source when anything does not fit the files.
BuiltCatalogue buildCatalogue(const QByteArray& sourceJson);
BuiltCatalogue buildCatalogueFromFile(const QString& sourcePath);

// Writes the files into `folder` as one set (writeFileSet): a failure leaves the files that were
// in `folder` as they were. The staged set is checked first (checkCatalogue); any finding raises
// fyl::Error listing them all, and nothing is written.
void writeCatalogueFiles(const BuiltCatalogue& built, const QString& folder);

// The written parts of a type's tender text and data sheet.
struct TypeDocuments {
    QString name; // what the outlet is, e.g. "Dralldurchlass mit runder Frontplatte"
    QString description, material, surface, installation, connection;
    QStringList accessories;
};

// A size of a type that has a data sheet only.
struct SheetOnlySize {
    QString name;
    int flowMin = 0, flowMax = 0; // m³/h
};

struct SheetOnlyType {
    QString code;
    TypeDocuments documents;
    std::vector<SheetOnlySize> sizes;
};

struct CatalogueDocuments {
    std::map<QString, TypeDocuments> types; // by type code: the types with calculation data
    std::vector<SheetOnlyType> sheetOnly;
};

// Reads the document texts of the source. Every type needs its "documents" with a name and a
// description; a missing or malformed text raises fyl::Error naming its place in the source.
CatalogueDocuments readCatalogueDocuments(const QByteArray& sourceJson);

} // namespace fyl
