// Which text-table entry each main window control shows. Core layer (fylcore).
#pragma once

#include <array>
#include <utility>

namespace fyl {

// Display texts of the main window that the text table sets at start: entry number and the
// object name of the control (menu, group box, label, button, check box). "TForm1" is the
// window title and "SaveDialog1" the title of the project save dialog.
inline constexpr std::array<std::pair<int, const char*>, 41> kMainWindowTexts = {{
    {1, "TForm1"},     {1, "SaveDialog1"}, {2, "Projekt1"},      {3, "Neu1"},      {4, "Laden1"},
    {5, "Speichern1"}, {7, "Beenden1"},    {8, "Projektdaten1"}, {8, "GroupBox1"}, {10, "Vorgaben1"},
    {10, "GroupBox3"}, {12, "Demo2"},      {14, "Hilfe2"},       {15, "Info1"},    {16, "Kurzanleitung1"},
    {17, "Label25"},   {18, "Label26"},    {19, "Label27"},      {20, "Label28"},  {21, "Label29"},
    {22, "Label30"},   {23, "Label31"},    {25, "Label3"},       {26, "Label4"},   {27, "Raumflaeche"},
    {28, "Label1"},    {29, "Label2"},     {30, "Label6"},       {32, "Label7"},   {33, "Label8"},
    {34, "Label9"},    {35, "Label10"},    {36, "Label11"},      {37, "Label20"},  {38, "Label12"},
    {39, "Label13"},   {40, "BitBtn1"},    {207, "CheckBox1"},   {209, "Label5"},  {210, "Add1"},
    {216, "Del1"},
}};

} // namespace fyl
