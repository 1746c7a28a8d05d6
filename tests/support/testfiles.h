// Files and folders for tests: ANSI text files, text tables, the current directory.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <functional>

namespace fyl::test {

// Writes bytes to a file, creating its folder; fails the test when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);

// The whole content of a file; empty when it cannot be read.
QByteArray readFile(const QString& path);

// The number of pages of a PDF: its page objects.
int pdfPageCount(const QByteArray& pdf);

// A text file of the program's kind: each line encoded in Windows-1252 and ended by CR LF.
void writeAnsiLines(const QString& path, const QStringList& lines);

// A text table of `count` lines: "NNNNN " followed by `text(n)`.
QStringList textTableLines(int count, const std::function<QString(int)>& text);

// How many random cases a property test draws: all of them in the normal build, a fifth under the
// address sanitizer, where each costs ten to fifteen times as much; the sanitizer looks for memory
// faults, which the first cases reach as well as the last.
constexpr int randomCases(int normal) {
#if defined(__SANITIZE_ADDRESS__)
    return normal / 5 > 0 ? normal / 5 : 1;
#else
    return normal;
#endif
}

// Changes the current directory for the lifetime of the object.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const QString& path);
    ~CurrentDirectory();

private:
    QString previous_;
};

} // namespace fyl::test
