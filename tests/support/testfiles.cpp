// Files and folders for tests: ANSI text files, text tables, the current directory.
#include "tests/support/testfiles.h"

#include "frame/ansi.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace fyl::test {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int pdfPageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

void writeAnsiLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toAnsi(line) + "\r\n";
    writeFile(path, bytes);
}

QStringList textTableLines(int count, const std::function<QString(int)>& text) {
    QStringList lines;
    for (int n = 1; n <= count; ++n)
        lines << QStringLiteral("%1 ").arg(n, 5, 10, QLatin1Char('0')) + text(n);
    return lines;
}

CurrentDirectory::CurrentDirectory(const QString& path) : previous_(QDir::currentPath()) {
    QDir::setCurrent(path);
}

CurrentDirectory::~CurrentDirectory() {
    QDir::setCurrent(previous_);
}

} // namespace fyl::test
