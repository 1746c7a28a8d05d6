// Reading the catalogue files at start into the tables. Core layer (fylcore).
#pragma once

#include "catalogue/catalogue.h"

#include <QString>

namespace fyl {

// The catalogue's file names in the program directory, in the order the start-up reads them.
inline constexpr const char* kKennFiles[3] = {"kenn1.dat", "kenn2.dat", "kenn3.dat"};
inline constexpr const char* kJetFormFile = "Strahl.dat";
inline constexpr const char* kIndexFile = "ZELK.idx";
inline constexpr const char* kOutletListFile = "Durchlassdatei.txt";
inline constexpr const char* kDetailFile = "ZELK.emd";

// The index holds 250 lines of 145 characters and the outlet list 12 lines (37 KB); a catalogue
// text file beyond this size is not one.
inline constexpr qint64 kMaxCatalogueTextBytes = qint64{4} << 20;

inline constexpr int kNameWidth = 20;
inline constexpr int kJetFormWidth = 40;

// Reads kenn1.dat, kenn2.dat, kenn3.dat and Strahl.dat into the name tables. All four tables are
// emptied first. A ninth line raises RangeError after the first eight have been stored; an
// unreadable file raises FileError. `currentFile`, when given, names the file being read.
void LoadNameFiles(Catalogue& catalogue, const QString& programDir, QString* currentFile = nullptr);

// Reads ZELK.idx (at most 250 lines, each cut to 145 characters) and derives TypeCodeList.
void LoadCatalogueIndex(Catalogue& catalogue, const QString& programDir, QString* currentFile = nullptr);

// Reads Durchlassdatei.txt (at most 12 lines, kept whole).
void LoadOutletList(Catalogue& catalogue, const QString& programDir, QString* currentFile = nullptr);

// The start-up sequence: name files, index, outlet list. An error ends the sequence at the file
// that caused it and is raised again; the tables keep what was read before it. `failedFile`
// receives that file's name ("kenn2.dat") and stays untouched when all files load.
void LoadCatalogue(Catalogue& catalogue, const QString& programDir, QString* failedFile = nullptr);

} // namespace fyl
