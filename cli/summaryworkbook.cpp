// Writing the schedule summary as an .xlsx workbook through libxlsxwriter. Application layer over
// the core.
#include "cli/summaryworkbook.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/filetext.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include <fcntl.h>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fyl::cli {

namespace {

// XML 1.0 cannot hold every character; the cell gets the text as the CSV has it. A cell holds at
// most 32767 characters.
QByteArray cellText(const QString& text) {
    QString cell = singleLineText(text);
    if (cell.size() > 32767)
        cell.truncate(cell[32766].isHighSurrogate() ? 32766 : 32767);
    return cell.toUtf8();
}

// The library tells every failure on standard error in lines of its own, with its source file and
// line; while it works they are dropped, and its failure is told once, as the program's sentence.
class LibraryLinesDropped {
public:
    LibraryLinesDropped() {
        (void)std::fflush(stderr); // a line that cannot be flushed now is not the library's to drop
#ifdef Q_OS_WIN
        saved_ = _dup(2);
        const int sink = _open("NUL", _O_WRONLY);
        if (saved_ >= 0 && sink >= 0)
            _dup2(sink, 2);
        if (sink >= 0)
            _close(sink);
#else
        saved_ = dup(2);
        const int sink = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && sink >= 0)
            dup2(sink, 2);
        if (sink >= 0)
            close(sink);
#endif
    }
    ~LibraryLinesDropped() {
        (void)std::fflush(stderr); // what cannot be flushed was the library's, bound to be dropped
        if (saved_ < 0)
            return;
#ifdef Q_OS_WIN
        _dup2(saved_, 2);
        _close(saved_);
#else
        dup2(saved_, 2);
        close(saved_);
#endif
    }
    LibraryLinesDropped(const LibraryLinesDropped&) = delete;
    LibraryLinesDropped& operator=(const LibraryLinesDropped&) = delete;

private:
    int saved_ = -1;
};

// `systemError`: errno as the library left it, which says why a file could not be made or written.
void check(lxw_error error, const QString& path, int systemError = 0) {
    if (error == LXW_NO_ERROR)
        return;
    const bool fileError = error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE ||
                           error == LXW_ERROR_READING_TMPFILE || error == LXW_ERROR_ZIP_FILE_OPERATION ||
                           error == LXW_ERROR_ZIP_FILE_ADD || error == LXW_ERROR_ZIP_CLOSE;
    const QString reason =
        fileError && systemError != 0
            ? systemReason(QString::fromLocal8Bit(std::generic_category().message(systemError)))
            : QString::fromUtf8(lxw_strerror(error));
    throw FileError(QStringLiteral("Die Arbeitsmappe %1 kann nicht geschrieben werden (%2).")
                        .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

QByteArray summaryWorkbook(const std::vector<SummaryRow>& rows, const QString& scratchFolder,
                           const QString& target) {
    const QString path = joinPath(scratchFolder, QStringLiteral("results.xlsx"));
    const QString named = target.isEmpty() ? path : target;
    const QByteArray nativePath = QFile::encodeName(path);
    const LibraryLinesDropped quiet;
    QByteArray tmpdir = QFile::encodeName(scratchFolder);
    lxw_workbook_options options{};
    options.tmpdir = tmpdir.data();
    lxw_workbook* book = workbook_new_opt(nativePath.constData(), &options);
    if (book == nullptr)
        throw FileError(QStringLiteral("Die Arbeitsmappe %1 kann nicht angelegt werden.").arg(named));
    // workbook_close frees the workbook whatever happened before; only it reports a write error.
    struct Closer {
        lxw_workbook* book;
        ~Closer() {
            if (book != nullptr)
                workbook_close(book);
        }
    } closer{book};

    lxw_worksheet* sheet = workbook_add_worksheet(book, "Raumbuch");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* decimals[4];
    const char* formats[4] = {"0", "0.0", "0.00", "0.000"};
    for (int d = 0; d < 4; ++d) {
        decimals[d] = workbook_add_format(book);
        format_set_num_format(decimals[d], formats[d]);
    }
    if (sheet == nullptr)
        throw FileError(QStringLiteral("Die Arbeitsmappe %1 kann nicht angelegt werden.").arg(named));

    const QStringList header = summaryHeader();
    std::vector<int> widths;
    for (int c = 0; c < header.size(); ++c) {
        check(worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), cellText(header[c]).constData(),
                                     bold),
              named);
        widths.push_back(static_cast<int>(header[c].size()));
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const SummaryCell& cell = rows[r][c];
            const auto col = static_cast<lxw_col_t>(c);
            int shown = 0;
            if (cell.number) {
                check(worksheet_write_number(sheet, row, col, *cell.number,
                                             decimals[std::clamp(cell.decimals, 0, 3)]),
                      named);
                shown = 8;
            } else if (!cell.text.isEmpty()) {
                check(worksheet_write_string(sheet, row, col, cellText(cell.text).constData(), nullptr),
                      named);
                shown = static_cast<int>(cell.text.size());
            }
            if (c < widths.size())
                widths[c] = std::max(widths[c], shown);
        }
    }
    for (std::size_t c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             std::clamp(widths[c] + 2, 8, 60), nullptr);
    worksheet_freeze_panes(sheet, 1, 0);
    closer.book = nullptr;
    errno = 0;
    const lxw_error closed = workbook_close(book);
    check(closed, named, errno);
    QByteArray bytes = readWholeFile(path);
    QFile::remove(path);
    return bytes;
}

} // namespace fyl::cli
