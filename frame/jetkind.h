// Which evaluation an outlet runs and the texts that go with it, decided by its design code and
// its two-character jet form code: the one answer the selection, the evaluation after a reload,
// the report, the catalogue check and the command line all ask. Core layer (fylcore).
#pragma once

#include <QStringView>

namespace fyl {

enum class JetKind { None, Horizontal, Vertical };

struct JetFormRule {
    JetKind kind = JetKind::None; // the evaluation that runs; None: the outlet is not calculated
    // The jet leaves to one side only ("04" from a wall, "06" from a slot tube beside one): the
    // outlet stands at a wall and blows across the room, so the flow picture and the layouts put
    // it there. Its coefficients are those of the whole flow thrown one way.
    bool oneSided = false;
    int hintEntry = 0;   // text entry of the calculation window's hint (Label44)
    int reportEntry = 0; // text entry beside the printed outlet designation; 0: none
};

// The jet form code alone decides the kind, whatever the design: "01", "04", "05" and "06" are
// horizontal jets, "02" and "03" vertical ones, anything else has no evaluation. "01" blows all
// round, "05" to two sides, "04" and "06" to one. The design only chooses the printed outlet table
// and with it the text beside the designation.
JetFormRule jetFormOf(QStringView design, QStringView code);

// The texts of an evaluation of `evaluated` kind: the outlet's own where its jet form code is of
// that kind. A project file may hold kind flags that differ from its code; the window and the
// report then show the texts of a plain jet of the kind that was evaluated.
JetFormRule jetFormAs(JetKind evaluated, QStringView design, QStringView code);

} // namespace fyl
