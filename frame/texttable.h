// The numbered dialogue texts of Fyltext.txt. Core layer (fylcore).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace fyl {

class Dialogs;

// The numbered texts of the dialogue, read once at start from "Fyltext.txt" in the program
// directory. A slot holds the whole stored line (at most 180 characters, prefix included);
// the text of an entry is the line from its seventh character on.
class TextTable {
public:
    static constexpr int kEntries = 235;
    static constexpr int kLineLength = 180;
    static constexpr int kPrefixLength = 6;
    // 235 lines of 255 characters are 60 KB; a larger file is no text table.
    static constexpr qint64 kMaxFileBytes = qint64{1} << 20;

    // Reads the file into the table. Lines are cut to 180 characters; a file with more than
    // 235 lines raises RangeError after the 235 entries are stored; a missing, unreadable or
    // oversized file raises FileError and leaves the table empty.
    void load(const QString& path);

    // Text of entry n (1..235); an empty slot gives an empty text. Other n raise RangeError.
    QString text(int n) const;
    // Number of lines the last load stored.
    int lineCount() const { return lineCount_; }

private:
    std::array<QByteArray, kEntries> slots_{};
    int lineCount_ = 0;
};

// Raises RangeError unless 1 <= n <= 235.
void checkEntryNumber(int n);

// The two message operations of the dialogue: an information box with OK, and a question with
// Yes and No (true for Yes). Both go through the Dialogs interface, so tests can answer them.
void showText(const TextTable& texts, Dialogs& dialogs, int n);
bool askText(const TextTable& texts, Dialogs& dialogs, int n);
// Entry n as a question that may be withdrawn: Yes, No, or nothing.
std::optional<bool> askTextOrCancel(const TextTable& texts, Dialogs& dialogs, int n);

// The texts of one menu level with the letter Alt opens each by: its first letter that no text
// before it took. The texts come from the table, whatever their wording; a "&" in one is shown as
// it is, and a text without a free letter gets no mark.
QStringList withMnemonics(const QStringList& texts);

} // namespace fyl
