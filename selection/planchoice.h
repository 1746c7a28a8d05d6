// One outlet choice taken over through the selection window's own steps, and every calculable
// choice the selection offers. What `plan`, the suggestions and the room schedules share.
// Core layer (fylcore).
#pragma once

#include "catalogue/catalogue.h"
#include "frame/errors.h"
#include "selection/selectionlists.h" // withoutTrailingBlanks
#include "selection/selectionmodel.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace fyl {

// An outlet as the selection lists name it: type and size without trailing blanks, the jet form by
// its number; for slot outlets the length [mm] and slot count, for slot tubes also the diameter.
struct OutletChoice {
    QString type;
    QString size;
    int jetForm = 0;
    std::optional<long double> length;
    std::optional<int> slotCount;
    std::optional<long double> tube;
};

// A choice the catalogue does not offer (an unknown type, size or jet form, a length it has not,
// options for a configuration the outlet has not).
class ChoiceRefused : public Error {
public:
    using Error::Error;
};

// Takes `choice` over: chooses installation kind, type, size and jet form as a planner chooses them
// (a step the window takes by itself is not taken again), goes forward and, for slot outlets,
// configures them and goes forward into the evaluation. Returns the last outcome: the evaluation's
// view when one ran.
SelectionOutcome planOutlet(SelectionModel& model, const Catalogue& catalogue, const OutletChoice& choice,
                            const CalculationRecord& record);

// Every choice of a calculable type, in the order the lists show them, with every slot
// configuration the configuration step offers for it. `room` is the record the steps run on (a
// copy is used; the mounting-height question of some slot outlets is answered Yes).
std::vector<OutletChoice> offeredChoices(const Catalogue& catalogue, const CalculationRecord& room,
                                         const TextTable& texts, const Folders& folders);

// The selection once the steps that a choice shares with others are taken (kind, type, size and
// jet form chosen; for slot outlets gone forward and the diameter and length chosen), with the
// record, flags and values those steps left. Ranking many configurations starts from here
// instead of taking the same steps again for each.
struct PreparedSelection {
    SelectionState state;
    std::unique_ptr<CalculationRecord> record;
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
    QString design;
    bool wentForward = false;
    int configured = 0;       // configuration steps taken: tube diameter, then length (linear: length)
    bool left = false;        // a question sent the planner back to the room data
    SelectionOutcome outcome; // what the steps so far asked of the other windows
};

// Every choice offeredChoices lists, in its order, each with the selection prepared for it. A
// choice the catalogue cannot give (its detail record or size table unreadable) is left out, and
// `skipped`, when given, is told why (the message names the file and the record).
void forEachOfferedChoice(const Catalogue& catalogue, const CalculationRecord& room, const TextTable& texts,
                          const Folders& folders,
                          const std::function<void(const OutletChoice&, const PreparedSelection&)>& visit,
                          const std::function<void(const QString& reason)>& skipped = {});

// Takes `choice` over from `prepared` into `record` (given a copy of the prepared record) on
// fresh copies of the prepared flags and values; gives what planOutlet gives on the room, less
// what `shortcuts` leaves out (RuntimeFlags::figuresOnly, RuntimeFlags::criticalSearchLeftOut,
// RuntimeFlags::headingLeftOut).
struct RankingShortcuts {
    bool figuresOnly = false;
    bool criticalSearchLeftOut = false;
    bool headingLeftOut = false;
};
SelectionOutcome finishOutlet(const PreparedSelection& prepared, const OutletChoice& choice,
                              const Catalogue& catalogue, const TextTable& texts, const Folders& folders,
                              Dialogs& dialogs, CalculationRecord& record, RankingShortcuts shortcuts = {});

} // namespace fyl
