// The pages the planner ticked in the print window. Core layer (fylcore).
#pragma once

namespace fyl {

struct PrintChoices {
    bool dataPage = true;           // CheckBox1
    bool picturePage = true;        // CheckBox2
    bool withoutLetterhead = false; // CheckBox3
};

} // namespace fyl
