// Lays out the printed report's pages in printer device pixels. Core layer (fylcore).
#include "print/reportpages.h"

#include "calc/evaluation.h"
#include "calc/judgement.h"
#include "calc/mountingheight.h"

#include "frame/filetext.h"
#include "frame/jetkind.h"
#include "frame/numbers.h"
#include "results/judgementview.h"
#include "results/outletresults.h"

#include <QDir>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace fyl {

int reportPixels(int dpi, long n) {
    // Integer arithmetic keeps 300, 600 and 1200 dpi exact; halves round up (positions are >= 0).
    const long long scaled = static_cast<long long>(n) * dpi;
    return static_cast<int>((2 * scaled + 300) / 600);
}

namespace {

using picturecolours::kBlack;

struct Row {
    int label = 0; // text entry
    QString value; // right-aligned to L + 1500u
    QString unit;
    int secondLabel = 0; // the second row of an outlet table: a label at L + 400u, no value
};

struct Table {
    int titleEntry = 0;
    long y0 = 0; // in u
    int framed = 0;
    long gap = 8;              // how far the rules lie above the row tops, in u
    std::vector<int> openRows; // rows sharing a cell with the row above: no rule on top
    std::vector<Row> rows;
};

class Page {
public:
    explicit Page(const ReportInputs& in) : in_(in) {}

    int u(long n) const { return reportPixels(in_.dpi, n); }

    void text(int x, int y, const QString& s, TextAlign align = TextAlign::Left) {
        TextPrimitive t;
        t.at = {x, y};
        t.text = s;
        t.pointSize = size_;
        t.bold = bold_;
        t.align = align;
        t.colour = colour_;
        out_.emplace_back(std::move(t));
    }
    void colour(Rgb c) { colour_ = c; }
    void line(int x1, int y1, int x2, int y2) {
        out_.emplace_back(LinePrimitive{{x1, y1}, {x2, y2}, Pen{kBlack, penWidth_}});
    }
    void font(int size, bool bold) {
        size_ = size;
        bold_ = bold;
    }
    void pen(int width) { penWidth_ = width; }
    void add(PicturePrimitive primitive) { out_.emplace_back(std::move(primitive)); }
    int penWidth() const { return penWidth_; }
    void image(const QString& file, int left, int top, int width, int height) {
        out_.emplace_back(ImagePrimitive{file, left, top, width, height});
    }
    QString entry(int n) const { return in_.texts.text(n); }

    ReportPage take() { return std::move(out_); }

private:
    const ReportInputs& in_;
    ReportPage out_;
    int size_ = 12;
    bool bold_ = false;
    Rgb colour_ = kBlack;
    int penWidth_ = 1;
};

// "first / second", the first part and separator cut at 53 characters, the whole at 69.
QString joined(const QString& first, const QString& second) {
    return ((first + QStringLiteral(" / ")).left(53) + second).left(69);
}

void letterhead(Page& p, const ReportInputs& in) {
    p.font(9, true);
    p.text(p.u(1200), p.u(80), p.entry(189));
    p.text(p.u(1200), p.u(130), p.entry(190));
    p.font(8, false);
    const long lines[] = {180, 225, 270, 315};
    for (int k = 0; k < 4; ++k)
        p.text(p.u(1200), p.u(lines[k]), p.entry(191 + k));
    p.image(QDir(in.programDir).filePath(QStringLiteral("image4.bmp")), p.u(1750), p.u(140), p.u(500),
            p.u(220));
}

void table(Page& p, const Table& t) {
    const int L = p.u(250) + 75; // the 75 is device pixels on every printer
    const int right = p.u(2100);
    const int left = L - p.u(10);
    p.text(p.u(250), p.u(t.y0), p.entry(t.titleEntry));
    for (std::size_t k = 0; k < t.rows.size(); ++k) {
        const Row& r = t.rows[k];
        const int y = p.u(t.y0 + static_cast<long>(k + 1) * 70);
        p.text(L, y, p.entry(r.label));
        if (r.secondLabel) {
            p.text(L + p.u(400), y, p.entry(r.secondLabel));
            continue;
        }
        p.text(L + p.u(1500), y, r.value, TextAlign::Right);
        if (!r.unit.isEmpty())
            p.text(L + p.u(1600), y, r.unit);
    }
    p.pen(1);
    const int top = p.u(t.y0 + 70 - t.gap);
    const int bottom = p.u(t.y0 + static_cast<long>(t.framed + 1) * 70 - t.gap);
    p.line(left, top, right, top);
    p.line(right, top, right, bottom);
    p.line(right, bottom, left, bottom);
    p.line(left, bottom, left, top);
    for (int i = 1; i <= t.framed + 1; ++i) {
        if (std::find(t.openRows.begin(), t.openRows.end(), i) != t.openRows.end())
            continue;
        const int y = p.u(t.y0 + static_cast<long>(i) * 70 - t.gap);
        p.line(left, y, right, y);
    }
}

QString general(double v) {
    return numbers::formatGeneral(v, 5);
}
QString fixed(double v, int decimals) {
    return numbers::formatFixed(v, 5, decimals);
}

Table roomTable(const CalculationRecord& rec) {
    Table t{131, 1000, 10, 8, {}, {}};
    t.rows = {
        {133, general(rec.roomVolume), QStringLiteral("m³")},
        {134, general(rec.roomHeight), QStringLiteral("m")},
        {135, general(rec.totalFlow), QStringLiteral("m³/h")},
        {30, general(rec.airChangeRate), QStringLiteral("1/h")},
        {136, general(rec.roomTemp), QStringLiteral("°C")},
        {137, general(rec.supplyTemp), QStringLiteral("°C")},
        {138, general(rec.coolingLoad), QStringLiteral("KW")},
        // The height the figures are for: the outlet's own where its design needs one.
        {139, general(outletMountingHeight(rec)), QStringLiteral("m")},
        {140, general(rec.velocityLimit), QStringLiteral("m/s")},
        {141, general(rec.headHeight), QStringLiteral("m")},
    };
    return t;
}

// An outlet table under its title at 1850u.
Table outletRows(int framed, long gap, std::vector<int> openRows, std::vector<Row> rows) {
    return {132, 1850, framed, gap, std::move(openRows), std::move(rows)};
}

Table outletTable(const CalculationRecord& rec, const QString& designation) {
    const QString design = rec.designCode.str();
    const bool slot = design == QLatin1String("1") || design == QLatin1String("2");
    const QString m = QStringLiteral("m");
    const QString ms = QStringLiteral("m/s");
    const Row head{142, designation, {}, 0};
    const Row count{143, fixed(outletsOf(rec), 0), {}, 0};
    const Row length{161, fixed(rec.nominalLength, 0), QStringLiteral("mm"), 0};
    const Row slotRow{162, fixed(rec.slotCount, 0), {}, 0};
    const Row flowPerMetre{163, fixed(rec.flowPerOutlet, 2), QStringLiteral("m³/h m")};
    const Row sound{145, fixed(rec.lwa, 1), QStringLiteral("dB")};
    const Row pressure{146, fixed(rec.dp, 1), QStringLiteral("Pa")};
    // The table follows the kind the results were evaluated for.
    const JetKind kind = rec.verticalJet ? JetKind::Vertical : JetKind::Horizontal;
    const Row form{156, {}, {}, jetFormAs(kind, design, rec.outlet.jetFormCodeText()).reportEntry};
    if (kind == JetKind::Vertical) {
        const Row vk{150, fixed(rec.vMid, 1), ms};
        const Row yMax{158, fixed(rec.yMax, 1), m};
        if (slot)
            return outletRows(7, 10, {},
                              {head, form, length, slotRow, count, flowPerMetre, sound, pressure, vk, yMax});
        return outletRows(
            7, 8, {},
            {head,
             form,
             count,
             {144, fixed(shownFlowPerOutlet(rec, kind, rec.flowPerOutlet), 2), QStringLiteral("m³/h")},
             sound,
             pressure,
             vk,
             yMax});
    }
    // The least distances and the velocities at the spacing and the walls, the same in both
    // horizontal tables; the velocities carry table A's label in the slot table too: the head
    // height's own label would name a velocity a height.
    const std::vector<Row> distances = {{147, fixed(rec.aMin, 2), m},      {148, fixed(rec.wMin, 2), m},
                                        {149, fixed(rec.spacing, 2), m},   {150, fixed(rec.vMid, 2), ms},
                                        {151, fixed(rec.wallLeft, 2), m},  {150, fixed(rec.vLeft, 2), ms},
                                        {152, fixed(rec.wallRight, 2), m}, {150, fixed(rec.vRight, 2), ms}};
    std::vector<Row> rows;
    if (slot) {
        const QString stars = QStringLiteral("******");
        const Row dp{146, design == QLatin1String("2") ? stars : fixed(rec.dp, 1), QStringLiteral("Pa")};
        rows = {head, form, length, slotRow, count, flowPerMetre, sound, dp};
        rows.insert(rows.end(), distances.begin(), distances.end());
        // A slot jet detaching within 0.1 m gets no printed distance.
        rows.push_back({157, rec.xKrit < 0.1L ? stars : fixed(rec.xKrit, 2), m});
        return outletRows(16, 8, {12, 14, 16}, std::move(rows));
    }
    // A design "3" outlet is rated per metre but sold whole: the row shows a whole outlet's flow,
    // as the calculation window does.
    const Row flowPerOutlet{144, fixed(shownFlowPerOutlet(rec, kind, rec.flowPerOutlet), 2),
                            QStringLiteral("m³/h")};
    rows = {head, form, count, flowPerOutlet, sound, pressure};
    rows.insert(rows.end(), distances.begin(), distances.end());
    rows.push_back({157, fixed(rec.xKrit, 2), m});
    return outletRows(14, 8, {10, 12, 14}, std::move(rows));
}

// The block "Anordnung und Prüfungen": a label column, and the layout, the draught rating and every
// check as the calculation window's judgement gives them, worded with their figures.
struct CheckRow {
    QString label;
    QStringList lines; // the text, broken to the column's width
    Rgb colour = kBlack;
    bool bold = false;
};

constexpr long kCheckTextColumn = 360; // [u] from the table edge
constexpr int kCheckLineChars = 66;    // what the text column holds at 10 points
constexpr long kCheckPitch = 48;       // [u] one line
constexpr long kCheckGap = 10;         // [u] between two rows
constexpr long kCheckTitle = 80;       // [u] the block's title above its first row
constexpr long kLowestLine = 3380;     // [u] the last line's top, inside a printer's margin on A4
const Rgb kFailedColour = picturecolours::kRed;
const Rgb kMetColour{0, 128, 0};

// The text in lines of at most `width` characters; an empty text keeps its one (empty) line.
QStringList wrapped(const QString& text, int width) {
    QStringList lines = wordWrapped(text, width);
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

std::vector<CheckRow> checkRows(const ReportInputs& in) {
    const std::optional<Judgement> j =
        judgeRecord(in.record, choiceGeometry(in.catalogue, in.record), in.targetCategory);
    const auto row = [](const QString& label, const QString& text, Rgb colour = kBlack, bool bold = false) {
        return CheckRow{label, wrapped(text, kCheckLineChars), colour, bold};
    };
    if (!j)
        return {
            row(QString(), QStringLiteral("Die Anordnung konnte nicht beurteilt werden."), kFailedColour)};
    std::vector<CheckRow> rows;
    rows.push_back(row(QStringLiteral("Anordnung"),
                       j->placed ? layoutText(j->layout) : QStringLiteral("keine passt in den Raum")));
    if (j->draught)
        rows.push_back(row(QStringLiteral("Zugluftrisiko"),
                           QStringLiteral("DR %1, Ziel Kategorie %2")
                               .arg(draughtRatingText(*j), QString(in.targetCategory))));
    for (const LayoutCheck& c : j->checks) {
        if (!c.ok)
            rows.push_back(row(QStringLiteral("nicht erfüllt"), c.text, kFailedColour));
        else
            rows.push_back(
                row(c.decides ? QStringLiteral("erfüllt") : QStringLiteral("nicht bewertet"), c.text));
    }
    rows.push_back(j->failed == 0
                       ? row(QStringLiteral("Ergebnis"), kAllChecksMet, kMetColour, true)
                       : row(QStringLiteral("Ergebnis"),
                             j->failed == 1 ? QStringLiteral("1 Prüfung nicht erfüllt")
                                            : QStringLiteral("%1 Prüfungen nicht erfüllt").arg(j->failed),
                             kFailedColour, true));
    return rows;
}

// [u] from the block's top to below its last line.
long checksHeight(const std::vector<CheckRow>& rows) {
    long height = kCheckTitle;
    for (const CheckRow& r : rows)
        height += static_cast<long>(r.lines.size()) * kCheckPitch + kCheckGap;
    return height;
}

void checksBlock(Page& p, const std::vector<CheckRow>& rows, long top) {
    const int L = p.u(250) + 75;
    p.font(12, false);
    p.text(p.u(250), p.u(top), QStringLiteral("Anordnung und Prüfungen"));
    long y = top + kCheckTitle;
    for (const CheckRow& r : rows) {
        p.font(10, r.bold);
        p.colour(r.colour);
        p.text(L, p.u(y), r.label);
        for (const QString& line : r.lines) {
            p.text(L + p.u(kCheckTextColumn), p.u(y), line);
            y += kCheckPitch;
        }
        y += kCheckGap;
    }
    p.colour(kBlack);
    p.font(12, false);
}

// [u] where the block starts under the outlet table, or none when it does not fit there.
std::optional<long> checksTopOnDataPage(const Table& outlet, const std::vector<CheckRow>& rows) {
    const long top = outlet.y0 + static_cast<long>(outlet.rows.size() + 1) * 70 + 40;
    if (top + checksHeight(rows) - kCheckPitch - kCheckGap > kLowestLine)
        return std::nullopt;
    return top;
}

// The date, project and editor lines both pages share.
void headerLines(Page& p, const ReportInputs& in) {
    const CalculationRecord& rec = in.record;
    // The report is German whatever the system is set to, and so is its date.
    p.text(p.u(1800), p.u(380),
           p.entry(129) + QStringLiteral("  ") +
               QLocale(QLocale::German).toString(in.today, QLocale::ShortFormat));
    p.text(p.u(250), p.u(480), p.entry(130));
    p.text(p.u(650), p.u(480), joined(rec.projectName.str(), rec.projectNumber.str()));
    p.text(p.u(250), p.u(580), p.entry(128));
    p.text(p.u(650), p.u(580), joined(rec.editor[0].str(), rec.editor[1].str()));
}

int truncated(long double v) {
    return static_cast<int>(std::clamp(std::trunc(v), -1.0e7L, 1.0e7L));
}
int rounded(long double v) {
    return static_cast<int>(std::clamp(std::nearbyint(v), -1.0e7L, 1.0e7L));
}

// The flow picture in its frame from (250u, 1500u) to (2100u, F); returns F.
int picture(Page& p, const FlowPictureInputs& pic, const std::vector<OutletContour>& zones) {
    using ld = long double;
    const int left = p.u(250), right = p.u(2100), T = p.u(1500);
    int F = p.u(2800);
    const bool scaled = pic.H > 0.0 && pic.W > 0.0;
    ld ky = scaled ? ld(F - T) / pic.H : 0.0L;
    const ld kx = scaled ? ld(p.u(1850)) / pic.W : 0.0L;
    if (scaled && pic.proportional) {
        ky = kx;
        F = T + truncated(pic.H * ky);
    }
    p.font(12, false);
    p.pen(3);
    p.add(PolygonPrimitive{
        {{left, T}, {right, T}, {right, F}, {left, F}}, picturecolours::kWhite, Pen{kBlack, 3}});
    if (!scaled) // a section without width or height has nothing to scale
        return F;

    p.pen(1);
    const int xc = left + truncated((ld(pic.spacing) / 2.0L + pic.wallLeft) * kx);
    const int stepX = truncated(kx);
    for (int x = xc; x > left; x -= stepX) {
        p.line(x, T, x, F);
        if (stepX <= 0)
            break;
    }
    for (int x = xc + stepX; stepX > 0 && x < right; x += stepX)
        p.line(x, T, x, F);
    // Upward from the floor while inside the frame; rows closer than a pixel give one line. A very
    // high room gave a line per metre, ten million of them, with row offsets beyond an int, and
    // lines below the A4 page (3508 units) are on no paper.
    const long long stepY = truncated(ky);
    const long long pageBottom = p.u(3508);
    const long long rows = truncated(pic.H);
    const long long first = stepY > 0 && F > pageBottom ? (F - pageBottom + stepY - 1) / stepY : 1;
    for (long long i = std::max(first, 1LL); i <= rows; ++i) {
        const long long y = F - i * stepY;
        if (y < T || (stepY == 0 && i > 1))
            break;
        p.line(left, static_cast<int>(y), right, static_cast<int>(y));
    }

    const int hk = truncated(ky * pic.headHeight);
    p.pen(6);
    p.line(left, F - hk, right, F - hk);
    p.font(8, false);
    p.text(p.u(260), F - hk + p.u(20), p.entry(213));

    const Rgb grey{128, 128, 128};
    for (int k = 0; k < pic.outlets && k < static_cast<int>(zones.size()); ++k) {
        if (zones[k].error != 0)
            continue;
        const ld offset = ld(k) * pic.s + pic.wallLeft;
        for (const auto& polygon : zones[k].contour.polygons) {
            PolygonPrimitive fill{{}, grey, Pen{grey, 1}};
            // The routine closes each polygon by repeating its first point.
            for (std::size_t i = 0; i + 1 < polygon.size(); ++i)
                fill.points.push_back({std::clamp(left + rounded((offset + polygon[i].x) * kx), left, right),
                                       std::min(T + rounded(ld(polygon[i].y) * ky), F)});
            if (!fill.points.empty())
                p.add(std::move(fill));
        }
    }

    const int d = truncated(kx * pic.spacing / 2.0L);
    const int yo = F - truncated(ky * pic.mountingHeight);
    const int r = p.u(20);
    const Pen outline{kBlack, 3};
    p.add(EllipsePrimitive{xc - d - r, yo - r, xc - d + r, yo + r, outline, picturecolours::kWhite});
    if (d != 0) // one outlet: both circles are the same
        p.add(EllipsePrimitive{xc + d - r, yo - r, xc + d + r, yo + r, outline, picturecolours::kWhite});
    p.pen(1);
    return F;
}

} // namespace

FlowPictureInputs reportPictureInputs(const ReportInputs& in) {
    return flowPictureInputs(in.record, in.proportional);
}

ReportPage reportPicturePage(const ReportInputs& in, const std::vector<OutletContour>& zones) {
    const CalculationRecord& rec = in.record;
    const FlowPictureInputs pic = reportPictureInputs(in);
    Page p(in);
    if (!in.choices.withoutLetterhead)
        letterhead(p, in);
    p.font(14, false);
    p.text(p.u(250), p.u(380), p.entry(165));
    p.font(11, false);
    headerLines(p, in);
    p.text(p.u(250), p.u(780), p.entry(121));
    p.font(12, false);
    const int labels[] = {115, 116, 117, 122, 118, 119, 120};
    const double values[] = {pic.W,       rec.roomHeight, pic.mountingHeight, rec.headHeight,
                             pic.spacing, rec.wallLeft,   rec.wallRight};
    for (int k = 0; k < 7; ++k) {
        p.text(p.u(550), p.u(780 + k * 80), p.entry(labels[k]));
        p.text(p.u(1750), p.u(780 + k * 80), numbers::formatFixed(values[k], 15, 2) + QStringLiteral(" m"));
    }
    p.text(p.u(550), p.u(1400), p.entry(123));
    p.text(p.u(950), p.u(1400), in.designation);
    if (!pictureHasZones(rec)) {
        // A section without zones would read as a jet that reaches nobody; the page says why.
        const double under = static_cast<double>(static_cast<long double>(rec.roomTemp) - rec.supplyTemp);
        const QString supply = under > 0.0 ? QStringLiteral("die Zuluft ist %1 K kälter als der Raum")
                                                 .arg(numbers::formatFixed(under, 15, 1))
                                           : QStringLiteral("die Zuluft ist nicht wärmer als der Raum");
        const QString why =
            QStringLiteral("Kein Strömungsbild: %1. Ein Vertikalstrahl wird nur im Heizfall (Zuluft wärmer "
                           "als der Raum) dargestellt; wie kältere Zuluft absinkt, wird nicht berechnet.")
                .arg(supply);
        long y = 1520;
        for (const QString& line : wrapped(why, 76)) {
            p.text(p.u(250), p.u(y), line);
            y += 60;
        }
        return p.take();
    }
    const int F = picture(p, pic, zones);
    p.font(10, false);
    p.text(p.u(250), F + p.u(30),
           p.entry(127) + numbers::formatFixed(rec.velocityLimit, 1, 2) + QStringLiteral(" [m/s]"));
    QString kinds = p.entry(124);
    if (!rec.verticalJet)
        kinds += QStringLiteral(" ") + p.entry(125);
    p.text(p.u(250), F + p.u(100), kinds);
    p.text(p.u(250), F + p.u(150), p.entry(126));
    return p.take();
}

std::vector<ReportPage> reportPages(const ReportInputs& in, const std::vector<OutletContour>& zones) {
    std::vector<ReportPage> pages;
    if (in.choices.dataPage) {
        pages.push_back(reportDataPage(in));
        if (std::optional<ReportPage> checks = reportChecksPage(in))
            pages.push_back(std::move(*checks));
    }
    if (in.choices.picturePage)
        pages.push_back(reportPicturePage(in, zones));
    return pages;
}

ReportPage reportDataPage(const ReportInputs& in) {
    const CalculationRecord& rec = in.record;
    Page p(in);
    if (!in.choices.withoutLetterhead)
        letterhead(p, in);
    p.font(14, false);
    p.pen(5);
    p.text(p.u(250), p.u(380), p.entry(164));
    p.font(12, false);
    headerLines(p, in);
    p.text(p.u(250), p.u(680), p.entry(217));
    // At 12 points the lines of a 50u pitch touch each other and the last one sits on the rule
    // below; 10 points leaves a gap and keeps the pitch.
    p.font(10, false);
    for (int k = 0; k < 5; ++k)
        p.text(p.u(650), p.u(680 + k * 50), rec.contactAddress[k].str());
    p.line(p.u(250), p.u(930), p.u(2200), p.u(930));
    table(p, roomTable(rec));
    const Table outlet = outletTable(rec, in.designation);
    table(p, outlet);
    const std::vector<CheckRow> rows = checkRows(in);
    if (const std::optional<long> top = checksTopOnDataPage(outlet, rows))
        checksBlock(p, rows, *top);
    return p.take();
}

std::optional<ReportPage> reportChecksPage(const ReportInputs& in) {
    const std::vector<CheckRow> rows = checkRows(in);
    if (checksTopOnDataPage(outletTable(in.record, in.designation), rows))
        return std::nullopt;
    Page p(in);
    p.font(14, false);
    p.text(p.u(250), p.u(380), p.entry(164));
    p.font(12, false);
    headerLines(p, in);
    p.text(p.u(250), p.u(680), in.designation);
    p.line(p.u(250), p.u(760), p.u(2200), p.u(760));
    checksBlock(p, rows, 820);
    return p.take();
}

} // namespace fyl
