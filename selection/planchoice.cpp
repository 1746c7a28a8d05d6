// Taking an outlet choice over through the selection's steps, and listing every calculable
// choice. Core layer (fylcore).
#include "selection/planchoice.h"

#include "catalogue/lookups.h"
#include "frame/dialogs.h"
#include "frame/numbers.h"
#include "frame/shell.h"
#include "selection/selectionlists.h"

#include <memory>

namespace fyl {

namespace {

QString offered(const QStringList& items) {
    QStringList shown;
    for (const QString& item : items)
        shown << withoutTrailingBlanks(item).trimmed();
    return shown.join(QStringLiteral(", "));
}

int indexOfText(const QStringList& items, const QString& wanted) {
    for (int i = 0; i < items.size(); ++i)
        if (withoutTrailingBlanks(items[i]) == wanted)
            return i;
    return -1;
}

// Offered lengths, counts and diameters are compared by value: " 1000" is 1000.
std::optional<long double> valueOf(const QString& item) {
    try {
        return numbers::parseReal(item);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

int indexOfValue(const QStringList& items, long double wanted) {
    for (int i = 0; i < items.size(); ++i)
        if (valueOf(items[i]) == wanted)
            return i;
    return -1;
}

// The index of an offered item; an item the list lacks is refused with what it offers.
int listed(int index, const QString& what, long double value, const QStringList& items) {
    if (index < 0)
        throw ChoiceRefused(QStringLiteral("%1 %2 wird nicht angeboten; angeboten: %3.")
                                .arg(what, numbers::formatGeneral(value), offered(items)));
    return index;
}

QStringList tubeDiameters(const SelectionState& s) {
    QStringList diameters;
    for (const QString& entry : s.ListBox14.items)
        diameters << splitSizeTableEntry(entry).diameter;
    return diameters;
}

// What the steps of one take-over ask of the other windows, gathered: what an early step asks must
// still be done when the last step opens the results.
struct Steps {
    SelectionOutcome out;
    bool left = false; // the planner left the selection (a question answered No)

    void take(SelectionOutcome step) {
        out.hideSelection = out.hideSelection || step.hideSelection;
        out.showCalculation = out.showCalculation || step.showCalculation;
        out.backToRoomData = out.backToRoomData || step.backToRoomData;
        if (step.results) {
            if (out.results)
                applyView(*out.results, *step.results);
            else
                out.results = step.results;
        }
        left = out.backToRoomData;
    }
};

bool isSlotted(const QString& design) {
    return design == QLatin1String("1") || design == QLatin1String("3");
}

// Installation kind, type, size and jet form, chosen as a planner chooses them; a step the window
// takes by itself (a single size, a single jet form) is not taken again. The three phases are
// also run one by one, each on a copy of the one before, when every choice is listed.

// The installation kind that lists the type, then the type.
void chooseTypeOf(SelectionModel& model, const OutletChoice& choice, Steps& steps) {
    const SelectionState& s = model.state();
    int type = -1;
    bool dataSheetOnly = false;
    for (int kind = 0; kind < s.listbox1.items.size() && type < 0; ++kind) {
        model.chooseKind(kind);
        type = indexOfText(s.ListBox8.items, choice.type);
        dataSheetOnly = dataSheetOnly || indexOfText(s.ListBox2.items, choice.type) >= 0;
    }
    if (type < 0)
        throw ChoiceRefused(dataSheetOnly
                                ? QStringLiteral("Für den Typ \"%1\" gibt es nur ein Datenblatt, keine "
                                                 "Berechnungsdaten.")
                                      .arg(choice.type)
                                : QStringLiteral("Unbekannter Typ \"%1\".").arg(choice.type));
    steps.take(model.chooseType(type));
}

// The size, unless the window took it by itself.
void chooseSizeOf(SelectionModel& model, const OutletChoice& choice, Steps& steps) {
    const SelectionState& s = model.state();
    const int size = indexOfText(s.ListBox9.items, choice.size);
    if (size < 0)
        throw ChoiceRefused(QStringLiteral("Der Typ \"%1\" hat keine Größe \"%2\"; angeboten: %3.")
                                .arg(choice.type, choice.size, offered(s.ListBox9.items)));
    const QString sizeName = s.ListBox9.items[size];
    if (!(s.groupbox1Visible && s.Label17 == sizeName))
        steps.take(model.chooseSize(size));
}

// The jet form, unless the window took it by itself. Returns the design code the size brought.
QString chooseJetFormOf(SelectionModel& model, const Catalogue& catalogue, const OutletChoice& choice,
                        const CalculationRecord& record, Steps& steps) {
    const SelectionState& s = model.state();
    const QString sizeName = s.ListBox9.items[indexOfText(s.ListBox9.items, choice.size)];
    const std::vector<JetFormItem> forms = jetFormsOfSize(catalogue, sizeName);
    int jetForm = -1;
    QStringList formNumbers;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        formNumbers << numbers::formatGeneral(forms[i].number);
        if (forms[i].number == choice.jetForm)
            jetForm = static_cast<int>(i);
    }
    if (jetForm < 0)
        throw ChoiceRefused(
            QStringLiteral("Die Größe \"%1\" hat keine Strahlform %2; angeboten: %3.")
                .arg(choice.size)
                .arg(numbers::formatGeneral(choice.jetForm), formNumbers.join(QStringLiteral(", "))));
    if (!(s.ListBox10.items.size() == 1 && s.weiterEnabled))
        steps.take(model.chooseJetForm(jetForm));
    if (!s.weiterEnabled)
        throw Error(QStringLiteral("Für die Strahlform %1 der Größe \"%2\" ist kein Katalogsatz lesbar.")
                        .arg(numbers::formatGeneral(choice.jetForm), choice.size));
    return record.designCode.str();
}

QString chooseOutlet(SelectionModel& model, const Catalogue& catalogue, const OutletChoice& choice,
                     const CalculationRecord& record, Steps& steps) {
    chooseTypeOf(model, choice, steps);
    if (steps.left)
        return {};
    chooseSizeOf(model, choice, steps);
    if (steps.left)
        return {};
    return chooseJetFormOf(model, catalogue, choice, record, steps);
}

// The configuration a choice brings must be the one its design asks for.
void checkConfiguration(const OutletChoice& choice, const QString& design) {
    const bool slotted = isSlotted(design);
    const bool tube = design == QLatin1String("2");
    if (!slotted && !tube && (choice.length || choice.slotCount || choice.tube))
        throw ChoiceRefused(
            QStringLiteral("Die Größe \"%1\" (Bauart %2) wird nicht nach Länge, Schlitzen oder "
                           "Rohr gewählt.")
                .arg(choice.size, design));
    if ((slotted || tube) && (!choice.length || !choice.slotCount))
        throw ChoiceRefused(QStringLiteral("Die Größe \"%1\" ist ein Schlitzdurchlass (Bauart %2): Länge und "
                                           "Schlitzanzahl fehlen.")
                                .arg(choice.size, design));
    if (tube != choice.tube.has_value())
        throw ChoiceRefused(
            tube ? QStringLiteral("Die Größe \"%1\" ist ein Schlitzrohr: der Rohrdurchmesser fehlt.")
                       .arg(choice.size)
                 : QStringLiteral("Die Größe \"%1\" ist kein Schlitzrohr: ein Rohrdurchmesser entfällt.")
                       .arg(choice.size));
}

} // namespace

namespace {

// The steps after the jet form: forward (unless already gone) and, for slot outlets, the
// configuration and forward into the evaluation.
void configureAndGoForward(SelectionModel& model, const OutletChoice& choice, const QString& design,
                           bool wentForward, int configured, Steps& steps) {
    checkConfiguration(choice, design);
    const SelectionState& s = model.state();
    if (!wentForward)
        steps.take(model.goForward());
    if (design == QLatin1String("2")) {
        if (configured < 1) {
            const QStringList diameters = tubeDiameters(s);
            steps.take(model.chooseTubeDiameter(listed(indexOfValue(diameters, *choice.tube),
                                                       QStringLiteral("Der Rohrdurchmesser"), *choice.tube,
                                                       diameters)));
        }
        if (configured < 2)
            model.chooseTubeLength(listed(indexOfValue(s.ListBox15.items, *choice.length),
                                          QStringLiteral("Die Länge"), *choice.length, s.ListBox15.items));
        model.chooseTubeSlotCount(listed(indexOfValue(s.ListBox16.items, *choice.slotCount),
                                         QStringLiteral("Die Schlitzanzahl"), *choice.slotCount,
                                         s.ListBox16.items));
        steps.take(model.goForwardWithTube());
    } else if (isSlotted(design)) {
        if (configured < 1)
            model.chooseLinearLength(listed(indexOfValue(s.ListBox17.items, *choice.length),
                                            QStringLiteral("Die Länge"), *choice.length, s.ListBox17.items));
        const int count = listed(indexOfValue(s.ListBox18.items, *choice.slotCount),
                                 QStringLiteral("Die Schlitzanzahl"), *choice.slotCount, s.ListBox18.items);
        if (s.ListBox18.items.size() > 1) // a single count is taken with the length
            model.chooseLinearSlotCount(count);
        steps.take(model.goForwardWithLinearSlots());
    }
}

} // namespace

SelectionOutcome planOutlet(SelectionModel& model, const Catalogue& catalogue, const OutletChoice& choice,
                            const CalculationRecord& record) {
    Steps steps;
    const QString design = chooseOutlet(model, catalogue, choice, record, steps);
    if (!steps.left)
        configureAndGoForward(model, choice, design, false, 0, steps);
    return steps.out;
}

SelectionOutcome finishOutlet(const PreparedSelection& prepared, const OutletChoice& choice,
                              const Catalogue& catalogue, const TextTable& texts, const Folders& folders,
                              Dialogs& dialogs, CalculationRecord& record, RankingShortcuts shortcuts) {
    Steps steps{prepared.outcome, prepared.left};
    if (steps.left)
        return steps.out;
    RuntimeFlags flags = prepared.flags;
    flags.figuresOnly = shortcuts.figuresOnly;
    flags.criticalSearchLeftOut = shortcuts.criticalSearchLeftOut;
    flags.headingLeftOut = shortcuts.headingLeftOut;
    WorkingValues working = prepared.working;
    int calcStatus = prepared.calcStatus;
    InertShell shell;
    SelectionModel model({{record, flags, working, calcStatus, texts, dialogs}, catalogue, shell, folders},
                         prepared.state);
    configureAndGoForward(model, choice, prepared.design, prepared.wentForward, prepared.configured, steps);
    return steps.out;
}

void forEachOfferedChoice(const Catalogue& catalogue, const CalculationRecord& room, const TextTable& texts,
                          const Folders& folders,
                          const std::function<void(const OutletChoice&, const PreparedSelection&)>& visit,
                          const std::function<void(const QString& reason)>& skipped) {
    const auto leftOut = [&skipped](const Error& e) {
        if (skipped)
            skipped(e.message());
    };
    CollectingDialogs dialogs;
    InertShell shell;
    struct Listed {
        QString type, size, sizeItem; // the size as listed, with its padding
    };
    std::vector<Listed> sizes;
    {
        // The lists of the first steps, read once from a model that only looks.
        auto rec = std::make_unique<CalculationRecord>(room);
        rec->continueUsed = 1;
        RuntimeFlags flags;
        WorkingValues working;
        int calcStatus = 0;
        SelectionModel lister(
            {{*rec, flags, working, calcStatus, texts, dialogs}, catalogue, shell, folders});
        const SelectionState& l = lister.state();
        for (int kind = 0; kind < l.listbox1.items.size(); ++kind) {
            lister.chooseKind(kind);
            const QStringList types = l.ListBox8.items;
            for (int t = 0; t < types.size(); ++t) {
                lister.chooseKind(kind);
                try {
                    // A type of one size and jet form reads its detail record here already.
                    lister.chooseType(t);
                } catch (const Error& e) {
                    leftOut(e);
                    continue;
                }
                for (const QString& size : l.ListBox9.items)
                    sizes.push_back({withoutTrailingBlanks(types[t]), withoutTrailingBlanks(size), size});
            }
        }
    }
    // One more step on copies of a prepared selection: the lists it shows then are what a planner
    // sees after the same steps. `configuring` counts it as a configuration step.
    const auto stepped = [&](const PreparedSelection& from, bool configuring, const auto& step) {
        PreparedSelection next;
        next.record = std::make_unique<CalculationRecord>(*from.record);
        next.flags = from.flags;
        next.working = from.working;
        next.calcStatus = from.calcStatus;
        next.design = from.design;
        next.wentForward = from.wentForward;
        next.configured = from.configured + (configuring ? 1 : 0);
        Steps further{from.outcome, from.left};
        SelectionModel m({{*next.record, next.flags, next.working, next.calcStatus, texts, dialogs},
                          catalogue,
                          shell,
                          folders},
                         from.state);
        step(m, further, *next.record);
        next.left = further.left;
        next.outcome = further.out;
        next.state = m.state();
        return next;
    };
    // The steps run as planOutlet runs them on a copy of the room, with fresh flags and values: the
    // type once for its sizes, the size once for its jet forms, each going on from a copy.
    PreparedSelection start;
    start.record = std::make_unique<CalculationRecord>(room);
    start.record->continueUsed = 1;
    start.state =
        SelectionModel({{*start.record, start.flags, start.working, start.calcStatus, texts, dialogs},
                        catalogue,
                        shell,
                        folders})
            .state();
    QString typeDone;
    std::optional<PreparedSelection> typeStep; // empty when the type cannot be taken
    for (const Listed& listed : sizes) {
        const OutletChoice sizeProbe{listed.type, listed.size, 0, {}, {}, {}};
        if (!typeStep || typeDone != listed.type) {
            typeDone = listed.type;
            try {
                typeStep = stepped(start, false, [&](SelectionModel& m, Steps& st, const CalculationRecord&) {
                    chooseTypeOf(m, sizeProbe, st);
                });
            } catch (const Error& e) {
                typeStep.reset();
                leftOut(e);
            }
        }
        if (!typeStep)
            continue; // no readable record: nothing to offer
        std::optional<PreparedSelection> sizeStep;
        try {
            sizeStep = stepped(*typeStep, false, [&](SelectionModel& m, Steps& st, const CalculationRecord&) {
                if (!st.left)
                    chooseSizeOf(m, sizeProbe, st);
            });
        } catch (const Error& e) {
            leftOut(e);
            continue;
        }
        for (const JetFormItem& form : jetFormsOfSize(catalogue, listed.sizeItem)) {
            const OutletChoice base{listed.type, listed.size, form.number, {}, {}, {}};
            QString design;
            bool wentForward = false;
            PreparedSelection prepared;
            try {
                prepared = stepped(
                    *sizeStep, false, [&](SelectionModel& m, Steps& st, const CalculationRecord& rec) {
                        if (st.left)
                            return;
                        design = chooseJetFormOf(m, catalogue, base, rec, st);
                        wentForward = !st.left && (design == QLatin1String("2") || isSlotted(design));
                        if (wentForward)
                            st.take(m.goForward());
                    });
            } catch (const Error& e) {
                leftOut(e); // no readable record: nothing to offer
                continue;
            }
            prepared.design = design;
            prepared.wentForward = wentForward;
            OutletChoice probe = base;
            if (prepared.design == QLatin1String("2")) {
                const QStringList diameters = tubeDiameters(prepared.state);
                for (int d = 0; d < diameters.size(); ++d) {
                    try {
                        const PreparedSelection tube = stepped(
                            prepared, true, [d](SelectionModel& m, Steps& st, const CalculationRecord&) {
                                st.take(m.chooseTubeDiameter(d));
                            });
                        const QStringList lengths = tube.state.ListBox15.items;
                        for (int li = 0; li < lengths.size(); ++li) {
                            const PreparedSelection length = stepped(
                                tube, true, [li](SelectionModel& m, Steps&, const CalculationRecord&) {
                                    m.chooseTubeLength(li);
                                });
                            for (const QString& count : length.state.ListBox16.items) {
                                probe.tube = valueOf(diameters[d]);
                                probe.length = valueOf(lengths[li]);
                                const auto slotNumber = valueOf(count);
                                if (probe.tube && probe.length && slotNumber) {
                                    probe.slotCount = static_cast<int>(*slotNumber);
                                    visit(probe, length);
                                }
                            }
                        }
                    } catch (const ConversionError& e) {
                        leftOut(e); // a size table that is no numbers: this tube is not offered
                    }
                }
            } else if (isSlotted(prepared.design)) {
                const QStringList lengths = prepared.state.ListBox17.items;
                for (int li = 0; li < lengths.size(); ++li) {
                    try {
                        const PreparedSelection length = stepped(
                            prepared, true, [li](SelectionModel& m, Steps&, const CalculationRecord&) {
                                m.chooseLinearLength(li);
                            });
                        for (const QString& count : length.state.ListBox18.items) {
                            probe.length = valueOf(lengths[li]);
                            const auto slotNumber = valueOf(count);
                            if (probe.length && slotNumber) {
                                probe.slotCount = static_cast<int>(*slotNumber);
                                visit(probe, length);
                            }
                        }
                    } catch (const ConversionError& e) {
                        leftOut(e); // a length list that is no numbers: this length is not offered
                    }
                }
            } else {
                visit(base, prepared);
            }
        }
    }
}

std::vector<OutletChoice> offeredChoices(const Catalogue& catalogue, const CalculationRecord& room,
                                         const TextTable& texts, const Folders& folders) {
    std::vector<OutletChoice> choices;
    forEachOfferedChoice(
        catalogue, room, texts, folders,
        [&choices](const OutletChoice& choice, const PreparedSelection&) { choices.push_back(choice); });
    return choices;
}

} // namespace fyl
