// What the sound tool shows and prints: the rows of the window and of the sheet as texts, the
// formulas with their sources, the A4 sheet as a display list and the figures as JSON. Core layer
// of the sound tool (fylsound, QtCore only); the drawing layer renders the page.
#pragma once

#include "companions/zelk_sound/roomacoustics.h"
#include "drawing/displaylist.h"
#include "exchange/exchangefiles.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

namespace fyl::sound {

// A label and its value with the unit; a row without label continues the one above.
struct SheetRow {
    QString label;
    QString value;
};

// The planner's starting values for a file: its outlets and room, the default assumptions.
SoundInputs inputsFrom(const SoundExchange& x);

std::vector<SheetRow> projectRows(const SoundExchange& x);
std::vector<SheetRow> outletRows(const SoundExchange& x);
std::vector<SheetRow> assumptionRows(const SoundInputs& in);
std::vector<SheetRow> resultRows(const SoundFigures& f);
// The row the planner looks for first; shown emphasised after the others.
SheetRow listenerRow(const SoundFigures& f);

QStringList formulaLines();
QStringList noteLines(); // what is assumed, where the formulas and guide values come from

// The ranges the planner's values must lie in, for this room.
QString inputRangeText(const SoundInputs& in);

// The verdict's colour: green when met, red when exceeded.
Rgb verdictColour(const SoundFigures& f);

// The figures, or why there are none (an input out of range, a text that is not a number).
using SoundOutcome = std::variant<SoundFigures, QString>;

// The planner's three choices applied to `base` and evaluated. The texts are typed numbers with
// a comma or a point ("0,8", "1.5"). Returns the inputs as far as they could be read.
struct PlannerChoice {
    SoundInputs inputs;
    SoundOutcome outcome;
};
PlannerChoice evaluateTyped(const SoundInputs& base, const QString& reverberation, const QString& distance,
                            RoomUse use);

// Only figures that were computed are printed.
struct SoundSheet {
    SoundExchange exchange;
    SoundInputs inputs;
    SoundFigures figures;
    QDate date;
};

// The A4 page in device pixels at `dpi`, margins included.
std::vector<PicturePrimitive> soundSheetPage(const SoundSheet& sheet, int dpi);

// The inputs and figures as one JSON object (numbers with a point, unrounded).
QString soundJson(const SoundExchange& x, const SoundInputs& in, const SoundFigures& f);

// A file name for the sheet's PDF from the project name: "Schallberechnung <Projekt>.pdf", with
// characters that no file system takes replaced.
QString proposedPdfName(const SoundExchange& x);

} // namespace fyl::sound
