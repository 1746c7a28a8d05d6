// The sound tool's window: the project and outlet data of the exchange file, the planner's
// reverberation time, listener distance and room use, the figures at once, printing and PDF.
// Windows layer of the sound tool (QtWidgets); every figure and text comes from fylsound.
#pragma once

#include "companions/zelk_sound/soundsheet.h"
#include "frame/dialogs.h"

#include <QWidget>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace fyl::sound {

// What the window starts with besides the file's content: the planner's values as typed on the
// command line and the folder the PDF is proposed in.
struct WindowStart {
    QString exchangePath;
    QString reverberation;
    QString distance;
    RoomUse use = RoomUse::Office;
    QString pdfFolder;
};

class SoundWindow : public QWidget {
    Q_OBJECT
public:
    SoundWindow(const SoundExchange& exchange, const WindowStart& start, Dialogs& dialogs,
                QWidget* parent = nullptr);
    ~SoundWindow() override;

    // As large as its content where the screen allows, smaller and scrolling where not, centred.
    void fitToScreen();

    QLineEdit* reverberationEdit = nullptr;
    QLineEdit* distanceEdit = nullptr;
    QComboBox* useBox = nullptr;
    QLabel* messageLabel = nullptr;
    std::vector<QLabel*> resultValues; // the result rows, then the listener level, guide value, verdict
    QPushButton* printButton = nullptr;
    QPushButton* pdfButton = nullptr;
    QPushButton* closeButton = nullptr;

private:
    void recompute();
    void printClicked();
    void pdfClicked();
    SoundSheet sheet() const;

    SoundExchange exchange_;
    QString pdfFolder_;
    Dialogs& dialogs_;
    std::unique_ptr<QPrinter> printer_;
    PlannerChoice choice_;
};

} // namespace fyl::sound
