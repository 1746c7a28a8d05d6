// The texts, the printed sheet and the JSON of the sound tool. Core layer (fylsound).
#include "companions/zelk_sound/soundsheet.h"

#include "drawing/millimetrepage.h"
#include "frame/errors.h"
#include "frame/numbers.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace fyl::sound {

namespace {

const QString kDecibel = QStringLiteral(" dB(A)");

QString decibels(double value) {
    return numbers::formatFixed(value, 6, 1) + kDecibel;
}

QString metres(double value) {
    return numbers::formatFixed(value, 8, 2) + QStringLiteral(" m");
}

// Levels read from the file are whole decibels; a typed-in one keeps what it has.
QString given(double value) {
    return numbers::formatGeneral(value, 6);
}

QString useName(RoomUse use) {
    return QString::fromUtf8(roomUseInfo(use).name);
}

} // namespace

SoundInputs inputsFrom(const SoundExchange& x) {
    SoundInputs in;
    in.outletCount = x.outletCount;
    in.lwa = x.lwa;
    in.width = x.roomWidth;
    in.length = x.roomLength;
    in.height = x.roomHeight;
    return in;
}

std::vector<SheetRow> projectRows(const SoundExchange& x) {
    std::vector<SheetRow> rows{{QStringLiteral("Projekt"), x.project}};
    if (!x.projectNumber.trimmed().isEmpty())
        rows.push_back({QStringLiteral("Projektnummer"), x.projectNumber});
    if (!x.projectDate.trimmed().isEmpty())
        rows.push_back({QStringLiteral("Datum"), x.projectDate});
    const auto addLines = [&rows](const QString& label, const auto& lines) {
        QString first = label;
        for (const QString& line : lines)
            if (!line.trimmed().isEmpty()) {
                rows.push_back({first, line});
                first.clear();
            }
    };
    addLines(QStringLiteral("Bearbeiter"), x.editor);
    addLines(QStringLiteral("Adresse"), x.address);
    return rows;
}

std::vector<SheetRow> outletRows(const SoundExchange& x) {
    return {{QStringLiteral("Durchlass"), x.outletName},
            {QStringLiteral("Anzahl n"), numbers::formatGeneral(x.outletCount)},
            {QStringLiteral("Schallleistungspegel je Durchlass LWA"), given(x.lwa) + kDecibel},
            {QStringLiteral("Raum B × L × H"),
             numbers::formatFixed(x.roomWidth, 8, 2) + QStringLiteral(" × ") +
                 numbers::formatFixed(x.roomLength, 8, 2) + QStringLiteral(" × ") + metres(x.roomHeight)}};
}

std::vector<SheetRow> assumptionRows(const SoundInputs& in) {
    return {{QStringLiteral("Nachhallzeit T"),
             numbers::formatFixed(in.reverberationTime, 6, 2) + QStringLiteral(" s")},
            {QStringLiteral("Abstand Hörer – nächster Durchlass r"), metres(in.listenerDistance)},
            {QStringLiteral("Richtfaktor Q"), QStringLiteral("2 (Einbau in Decke oder Wand)")},
            {QStringLiteral("Raumnutzung"),
             useName(in.use) + QStringLiteral(", Richtwert ") + given(roomUseInfo(in.use).limit) + kDecibel}};
}

std::vector<SheetRow> resultRows(const SoundFigures& f) {
    return {
        {QStringLiteral("Raumvolumen V"), numbers::formatFixed(f.volume, 10, 1) + QStringLiteral(" m³")},
        {QStringLiteral("Raumoberfläche S"), numbers::formatFixed(f.surface, 10, 1) + QStringLiteral(" m²")},
        {QStringLiteral("Absorptionsfläche A (Sabine)"),
         numbers::formatFixed(f.absorptionArea, 10, 2) + QStringLiteral(" m²")},
        {QStringLiteral("Mittlerer Absorptionsgrad α = A / S"), numbers::formatFixed(f.meanAbsorption, 4, 2)},
        {QStringLiteral("Schallleistung aller Durchlässe LW,ges"), decibels(f.totalPowerLevel)},
        {QStringLiteral("Diffusfeld Lp,diff"), decibels(f.diffuseLevel)},
        {QStringLiteral("Direktfeld nächster Durchlass Lp,dir"), decibels(f.directLevel)},
        {QStringLiteral("Hallradius rH"), metres(f.criticalDistance)}};
}

SheetRow listenerRow(const SoundFigures& f) {
    return {QStringLiteral("Schalldruckpegel am Hörerplatz Lp"), decibels(f.listenerLevel)};
}

QStringList formulaLines() {
    return {QStringLiteral("LW,ges = LWA + 10 · lg n  (n gleiche Durchlässe)"),
            QStringLiteral("V = B · L · H;   S = 2 · (B · L + B · H + L · H)"),
            QStringLiteral("A = 0,163 s/m · V / T  (Nachhallformel nach Sabine)"),
            QStringLiteral("Lp,diff = LW,ges + 10 · lg (4 m² / A)  (diffuses Schallfeld)"),
            QStringLiteral("Lp,dir = LWA + 10 · lg (Q · 1 m² / (4 · π · r²))  (Direktfeld, Q = 2)"),
            QStringLiteral("Lp = 10 · lg (10^(Lp,dir / 10) + 10^(Lp,diff / 10))  (energetische Addition)"),
            QStringLiteral("rH = √(Q · A / (16 · π))  (Hallradius)")};
}

QStringList noteLines() {
    return {QStringLiteral(
                "Am Hörerplatz zählt der Direktschall des nächsten Durchlasses; alle Durchlässe gehen über "
                "das Diffusfeld ein."),
            QStringLiteral(
                "Formeln: H. Kuttruff, Room Acoustics; W. Fasold, E. Veres, Schallschutz und Raumakustik "
                "in der Praxis."),
            QStringLiteral("Richtwerte: Besprechungs- und Klassenraum 35 dB(A) wie DIN 18041 (LNA,Bau),"),
            QStringLiteral("Büro 35 und Großraumbüro 40 dB(A) als übliche Auslegungswerte."),
            QStringLiteral("Die Richtwerte ersetzen nicht die im Projekt vereinbarten Anforderungen.")};
}

QString inputRangeText(const SoundInputs& in) {
    const double diagonal = std::sqrt(in.width * in.width + in.length * in.length + in.height * in.height);
    return QStringLiteral("Nachhallzeit %1 bis %2 s; Abstand %3 m bis zur Raumdiagonale von %4 m.")
        .arg(given(kMinReverberationTime), given(kMaxReverberationTime), given(kMinListenerDistance),
             std::isfinite(diagonal) ? numbers::formatFixed(diagonal, 6, 2) : QStringLiteral("—"));
}

Rgb verdictColour(const SoundFigures& f) {
    return f.met() ? Rgb{0, 128, 0} : Rgb{200, 0, 0};
}

PlannerChoice evaluateTyped(const SoundInputs& base, const QString& reverberation, const QString& distance,
                            RoomUse use) {
    PlannerChoice choice{base, QString()};
    choice.inputs.use = use;
    const auto read = [](const QString& text, const char* what) -> long double {
        QString typed = text.trimmed();
        typed.replace(QLatin1Char('.'), numbers::decimalSeparator());
        try {
            return numbers::parseReal(typed);
        } catch (const ConversionError&) {
            throw Error(
                QStringLiteral("%1: „%2“ ist keine Zahl.").arg(QString::fromUtf8(what), text.trimmed()));
        }
    };
    try {
        choice.inputs.reverberationTime = static_cast<double>(read(reverberation, "Nachhallzeit"));
        choice.inputs.listenerDistance =
            static_cast<double>(read(distance, "Abstand zum nächsten Durchlass"));
        choice.outcome = computeSound(choice.inputs);
    } catch (const Error& e) {
        choice.outcome = e.message();
    }
    return choice;
}

namespace {

// Lays the page out in millimetres and writes device pixels.
class PageWriter : private MillimetrePage {
public:
    explicit PageWriter(int dpi) : MillimetrePage(dpi) { drawInto(page); }

    void text(double x, double y, const QString& text, int points, bool bold = false, Rgb colour = {}) {
        MillimetrePage::text(x, y, text, points, colour, TextAlign::Left, bold);
    }
    void rule(double y) { MillimetrePage::line(kLeft, y, kRight, y, {}, 0.25); }

    void heading(const QString& title) {
        y += 2.5;
        text(kLeft, y, title, 11, true);
        y += 5.5;
    }
    void row(const SheetRow& r, bool bold = false, Rgb colour = {}) {
        text(kLeft, y, cut(r.label), 10, bold);
        text(kValue, y, cut(r.value), 10, bold, colour);
        y += kRow;
    }
    void rows(const std::vector<SheetRow>& rows) {
        for (const SheetRow& r : rows)
            row(r);
    }
    void line(const QString& s, int points, double height) {
        text(kLeft, y, s, points);
        y += height;
    }

    static constexpr double kLeft = 20.0;
    static constexpr double kValue = 100.0;
    static constexpr double kRight = 190.0;
    static constexpr double kRow = 4.7;
    double y = 20.0;
    std::vector<PicturePrimitive> page;

private:
    // A text longer than the column has room for is cut; the window shows it whole.
    static QString cut(const QString& s) {
        constexpr int kMax = 45;
        return s.size() > kMax ? s.left(kMax - 1) + QChar(0x2026) : s;
    }
};

} // namespace

std::vector<PicturePrimitive> soundSheetPage(const SoundSheet& sheet, int dpi) {
    PageWriter w(dpi);
    w.text(PageWriter::kLeft, w.y, QStringLiteral("Schallberechnung"), 18, true);
    w.y += 10.0;
    w.text(PageWriter::kLeft, w.y,
           QStringLiteral("Schalldruckpegel im Raum aus der Schallleistung der Luftdurchlässe"), 10);
    w.y += 7.0;
    w.rule(w.y);
    w.y += 2.0;
    w.heading(QStringLiteral("Projekt"));
    w.rows(projectRows(sheet.exchange));
    w.heading(QStringLiteral("Durchlässe und Raum"));
    w.rows(outletRows(sheet.exchange));
    w.heading(QStringLiteral("Annahmen"));
    w.rows(assumptionRows(sheet.inputs));
    w.heading(QStringLiteral("Formeln"));
    for (const QString& f : formulaLines())
        w.line(f, 10, PageWriter::kRow);
    w.heading(QStringLiteral("Ergebnisse"));
    w.rows(resultRows(sheet.figures));
    w.y += 1.5;
    w.row(listenerRow(sheet.figures), true);
    w.row({QStringLiteral("Richtwert ") + useName(sheet.inputs.use), given(sheet.figures.limit) + kDecibel});
    w.row({QStringLiteral("Bewertung"), verdictText(sheet.figures)}, true, verdictColour(sheet.figures));
    w.heading(QStringLiteral("Hinweise"));
    for (const QString& n : noteLines())
        w.line(n, 8, 3.8);

    constexpr double kFooter = 282.0;
    w.rule(kFooter);
    w.text(PageWriter::kLeft, kFooter + 1.5,
           QStringLiteral("ZELK FYL · Schallberechnung · ") +
               sheet.date.toString(QStringLiteral("dd.MM.yyyy")),
           8);
    return std::move(w.page);
}

QString soundJson(const SoundExchange& x, const SoundInputs& in, const SoundFigures& f) {
    const QJsonObject room{{QStringLiteral("width"), in.width},
                           {QStringLiteral("length"), in.length},
                           {QStringLiteral("height"), in.height}};
    const QJsonObject json{{QStringLiteral("outlet"), x.outletName},
                           {QStringLiteral("project"), x.project},
                           {QStringLiteral("count"), in.outletCount},
                           {QStringLiteral("lwa"), in.lwa},
                           {QStringLiteral("room"), room},
                           {QStringLiteral("reverberation_time"), in.reverberationTime},
                           {QStringLiteral("distance"), in.listenerDistance},
                           {QStringLiteral("directivity"), kDirectivity},
                           {QStringLiteral("use"), QString::fromLatin1(roomUseInfo(in.use).key)},
                           {QStringLiteral("limit"), f.limit},
                           {QStringLiteral("volume"), f.volume},
                           {QStringLiteral("surface"), f.surface},
                           {QStringLiteral("absorption_area"), f.absorptionArea},
                           {QStringLiteral("mean_absorption"), f.meanAbsorption},
                           {QStringLiteral("lw_total"), f.totalPowerLevel},
                           {QStringLiteral("lp_diffuse"), f.diffuseLevel},
                           {QStringLiteral("lp_direct"), f.directLevel},
                           {QStringLiteral("lp_listener"), f.listenerLevel},
                           {QStringLiteral("critical_distance"), f.criticalDistance},
                           {QStringLiteral("excess"), f.excess},
                           {QStringLiteral("met"), f.met()},
                           {QStringLiteral("verdict"), verdictText(f)}};
    return QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented));
}

QString proposedPdfName(const SoundExchange& x) {
    QString project = x.project.trimmed();
    for (QChar& c : project)
        if (c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    return project.isEmpty() ? QStringLiteral("Schallberechnung.pdf")
                             : QStringLiteral("Schallberechnung %1.pdf").arg(project);
}

} // namespace fyl::sound
