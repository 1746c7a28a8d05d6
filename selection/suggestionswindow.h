// The list of ranked outlet suggestions that the selection window opens: one row per choice,
// the unsuitable ones greyed; a double click takes a choice over. Windows layer (fylui); the
// ranking and the texts come from the core.
#pragma once

#include "selection/suggestions.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QTableWidget;
class QPushButton;

namespace fyl {

class SuggestionsWindow : public QDialog {
    Q_OBJECT
public:
    SuggestionsWindow(std::vector<Suggestion> list, QWidget* parent = nullptr);

    // Receives the double-clicked choice, in whatever order the table is sorted; the window closes
    // before it is called.
    std::function<void(const Suggestion&)> chosen;
    const std::vector<Suggestion>& suggestions() const { return list_; }

    QLabel* summary = nullptr;
    QTableWidget* table = nullptr;
    QPushButton* closeButton = nullptr;

private:
    void take(int index); // the index into suggestions()

    std::vector<Suggestion> list_;
};

} // namespace fyl
