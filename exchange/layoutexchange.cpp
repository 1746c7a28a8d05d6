// Writing and reading the ceiling plan's layout file. Core layer (fylcore).
#include "exchange/layoutexchange.h"

#include "exchange/exchangeformat.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/numbers.h"

#include <QFileInfo>

#include <cmath>
#include <memory>

namespace fyl {

using namespace exchangeformat;

namespace {

// The lines before the checks, and the lines of each check.
constexpr int kHeaderLines = 32;
constexpr int kLinesPerCheck = 6;

const NumberForm kWhole{"Reihen/Spalten", 1, 0, 0, 1e6, true};
const NumberForm kLengthForm{"Länge", 1, 3, 0, kMaxBuildingLength};
const NumberForm kChecksForm{key::Checks, 1, 0, 0, kMaxExchangedChecks, true};
// A check's figure: a flow, a level, a distance, a rating.
const NumberForm kFigure{"Prüfwert", 1, 3, -1e9, 1e9};

const QStringList kKinds{QStringLiteral("Raster"), QStringLiteral("Schlitzreihen"),
                         QStringLiteral("Wandreihe"), kDashes};
const QStringList kYesNo{QStringLiteral("ja"), QStringLiteral("nein")};
const QStringList kVerdicts{QStringLiteral("erfüllt"), QStringLiteral("nicht erfüllt")};

LayoutKind kindAt(int index) {
    return index == 1 ? LayoutKind::SlotRows : index == 2 ? LayoutKind::WallRow : LayoutKind::Grid;
}

int indexOf(LayoutKind kind) {
    return kind == LayoutKind::SlotRows ? 1 : kind == LayoutKind::WallRow ? 2 : 0;
}

QString length(const std::optional<double>& v) {
    return v ? number(*v, kLengthForm, kLayoutExchangeName) : kDashes;
}

// A check's figure as the file gives it; one it cannot give (not finite, out of range) is left out
// rather than stopping the hand-over.
QString figure(const std::optional<double>& v) {
    if (!v || !std::isfinite(*v) || std::fabs(*v) > kFigure.high)
        return kDashes;
    return number(*v, kFigure, kLayoutExchangeName);
}

// The check texts' comparison signs are not in Windows-1252.
QString ansiText(QString text) {
    text.replace(QChar(0x2265), QStringLiteral(">=")).replace(QChar(0x2264), QStringLiteral("<="));
    return textValue(text, kCheckTextLimit);
}

// Lengths add up to the room within their rounding: the room to the centimetre, each length to the
// millimetre.
double closingTolerance(const OutletLayout& l) {
    return 0.01 + 0.0005 * (l.rows + l.columns);
}

} // namespace

namespace {

QStringList linesOf(const CalculationRecord& rec, const std::optional<Judgement>& judgement,
                    const ChoiceGeometry& geometry) {
    const auto key = [](const char* k) { return QString::fromUtf8(k); };
    const int count = outletsOf(rec);
    QStringList lines{key(key::Type),   textValue(outletName(rec)),
                      key(key::Count),  number(count, kCount, kLayoutExchangeName),
                      key(key::Width),  number(rec.roomWidth, kWidth, kLayoutExchangeName),
                      key(key::Length), number(rec.roomLength, kLength, kLayoutExchangeName)};
    // Without a judgement, or with no layout that fits, the layout's figures are left out.
    OutletLayout l;
    l.kind = geometry.kind;
    l.rows = l.columns = 0;
    l.wallWidth = l.wallLength = std::nullopt;
    if (judgement && judgement->placed)
        l = judgement->layout;
    lines << key(key::Layout) << (judgement ? kKinds[indexOf(l.kind)] : kDashes) << key(key::Rows)
          << number(l.rows, kWhole, kLayoutExchangeName) << key(key::Columns)
          << number(l.columns, kWhole, kLayoutExchangeName) << key(key::RowsAlongLength)
          << kYesNo[l.rowsAlongLength ? 0 : 1] << key(key::SpacingAcross) << length(l.spacingWidth)
          << key(key::SpacingAlong) << length(l.spacingLength) << key(key::WallAcross) << length(l.wallWidth)
          << key(key::WallAlong) << length(l.wallLength) << key(key::Depth) << length(l.depth)
          << key(key::RowEnds) << length(l.rowEnds) << key(key::PieceLength)
          << number(judgement ? geometry.outletLength : 0.0, kLengthForm, kLayoutExchangeName);
    const std::vector<LayoutCheck> none;
    const std::vector<LayoutCheck>& checks = judgement ? judgement->checks : none;
    if (checks.size() > std::size_t(kMaxExchangedChecks))
        throw FileError(QStringLiteral("%1: %2 Prüfungen sind mehr, als die Datei fasst; sie wird nicht "
                                       "geschrieben.")
                            .arg(QString::fromLatin1(kLayoutExchangeName))
                            .arg(checks.size()));
    lines << key(key::Checks) << number(double(checks.size()), kChecksForm, kLayoutExchangeName);
    for (const LayoutCheck& c : checks)
        lines << key(key::Check) << textValue(c.name, 40) << kVerdicts[c.ok ? 0 : 1] << figure(c.value)
              << figure(c.limit) << ansiText(c.text);
    return lines;
}

} // namespace

QStringList layoutExchangeLines(const CalculationRecord& rec, const std::optional<Judgement>& judgement,
                                const ChoiceGeometry& geometry) {
    QStringList lines = linesOf(rec, judgement, geometry);
    // What the reader would refuse (a layout that, as written, does not fill the room, such as rows
    // of slot without a piece length) is handed over without a layout: the plan then lays the
    // outlets out on its own rather than not at all.
    try {
        readLayoutExchange(exchangeFileBytes(lines));
    } catch (const FileError&) {
        lines = linesOf(rec, std::nullopt, geometry);
    }
    return lines;
}

LayoutExchange readLayoutExchange(const QByteArray& bytes) {
    LineReader in(bytes, std::nullopt, kLayoutExchangeName);
    LayoutExchange x;
    in.key(key::Type);
    x.outletName = in.text();
    in.key(key::Count);
    x.outletCount = in.count(kCount);
    in.key(key::Width);
    x.roomWidth = in.real(kWidth);
    in.key(key::Length);
    x.roomLength = in.real(kLength);
    in.key(key::Layout);
    const int kind = in.oneOf(kKinds);
    x.judged = kKinds[kind] != kDashes;
    OutletLayout& l = x.layout;
    l.kind = kindAt(kind);
    in.key(key::Rows);
    l.rows = in.count(kWhole);
    in.key(key::Columns);
    l.columns = in.count(kWhole);
    in.key(key::RowsAlongLength);
    l.rowsAlongLength = in.oneOf(kYesNo) == 0;
    in.key(key::SpacingAcross);
    l.spacingWidth = in.realOrDashes(kLengthForm);
    in.key(key::SpacingAlong);
    l.spacingLength = in.realOrDashes(kLengthForm);
    in.key(key::WallAcross);
    l.wallWidth = in.realOrDashes(kLengthForm);
    in.key(key::WallAlong);
    l.wallLength = in.realOrDashes(kLengthForm);
    in.key(key::Depth);
    l.depth = in.realOrDashes(kLengthForm);
    in.key(key::RowEnds);
    l.rowEnds = in.realOrDashes(kLengthForm);
    in.key(key::PieceLength);
    x.pieceLength = in.real(kLengthForm);
    in.key(key::Checks);
    const int checks = in.count(kChecksForm);
    in.requireLines(kHeaderLines + checks * kLinesPerCheck);
    for (int i = 0; i < checks; ++i) {
        ExchangedCheck c;
        in.key(key::Check);
        c.name = in.text();
        c.ok = in.oneOf(kVerdicts) == 0;
        c.value = in.realOrDashes(kFigure);
        c.limit = in.realOrDashes(kFigure);
        c.text = in.text();
        x.checks.push_back(std::move(c));
    }
    x.placed = x.judged && (l.rows > 0 || l.columns > 0);
    // What the plan draws must lie in the room the file names, each outlet once.
    const double pieces = l.kind == LayoutKind::Grid ? 0.0 : x.pieceLength;
    if (x.placed && (x.outletCount < 1 || (l.kind == LayoutKind::SlotRows && !(pieces > 0.0)) ||
                     !layoutCloses(l, x.roomWidth, x.roomLength, x.outletCount, pieces, closingTolerance(l))))
        throw FileError(QStringLiteral("%1: die Anordnung (%2 × %3) füllt den Raum %4 × %5 m nicht mit %6 "
                                       "Durchlässen.")
                            .arg(QString::fromLatin1(kLayoutExchangeName))
                            .arg(l.rows)
                            .arg(l.columns)
                            .arg(numbers::formatGeneral(x.roomWidth), numbers::formatGeneral(x.roomLength))
                            .arg(x.outletCount));
    return x;
}

bool belongsTo(const LayoutExchange& layout, const CeilingExchange& x) {
    return layout.outletName == x.outletName && layout.outletCount == x.outletCount &&
           layout.roomWidth == x.roomWidth && layout.roomLength == x.roomLength;
}

QString layoutFileBeside(const QString& exchangePath) {
    return joinPath(QFileInfo(exchangePath).path(), QString::fromLatin1(kLayoutExchangeName));
}

std::vector<std::pair<QString, QByteArray>>
ceilingPlanFiles(const QString& exchangePath, const CalculationRecord& rec, const Catalogue& catalogue) {
    const ChoiceGeometry geometry = choiceGeometry(catalogue, rec);
    const std::optional<Judgement> judgement = judgeRecord(rec, geometry);
    // The flow picture sees a row at a wall as half of two rows facing each other across twice the
    // room's depth; a plan reading the exchange file alone needs the row's own spacing along its
    // wall, and the distance of its end outlets from the end walls.
    auto forPlan = std::make_unique<CalculationRecord>(rec);
    if (judgement && judgement->placed && judgement->layout.kind == LayoutKind::WallRow &&
        judgement->layout.rowEnds) {
        const OutletLayout& row = judgement->layout;
        const std::optional<double>& along = row.rowsAlongLength ? row.spacingLength : row.spacingWidth;
        const double piece = geometry.outletLength;
        forPlan->spacing = along ? *along : piece;
        const double end = *row.rowEnds + (along ? 0.0 : piece / 2.0);
        forPlan->wallLeft = end;
        forPlan->wallRight = end;
    }
    std::vector<std::pair<QString, QByteArray>> files;
    files.emplace_back(exchangePath, exchangeFileBytes(ceilingExchangeLines(*forPlan)));
    files.emplace_back(layoutFileBeside(exchangePath),
                       exchangeFileBytes(layoutExchangeLines(rec, judgement, geometry)));
    return files;
}

} // namespace fyl
