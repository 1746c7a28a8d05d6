// The Shell interface: opening documents and starting programs. Core layer (fylcore).
#pragma once

#include <QString>
#include <QStringList>

namespace fyl {

// Opening documents and addresses, and starting other programs. The application uses the
// desktop's associations and starts programs with an argument list, never through a shell
// command line; tests record the requests.
class Shell {
public:
    virtual ~Shell() = default;
    // True when a program is registered for the document and the document exists.
    virtual bool hasHandler(const QString& documentPath) = 0;
    // Opens a document, a "mailto:" or an "http://" address with its registered program.
    virtual bool open(const QString& target) = 0;
    // Starts a program without waiting for it; false when it cannot be started.
    virtual bool start(const QString& program, const QStringList& arguments,
                       const QString& workingFolder) = 0;
};

// Batch work: nothing is opened or started.
class InertShell : public Shell {
public:
    bool hasHandler(const QString&) override { return false; }
    bool open(const QString&) override { return false; }
    bool start(const QString&, const QStringList&, const QString&) override { return false; }
};

} // namespace fyl
