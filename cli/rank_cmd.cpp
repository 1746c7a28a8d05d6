// zelkfyl-cli rank: every calculable catalogue choice for the project's room, evaluated as the
// selection takes it over and ranked, as JSON or CSV. Application layer over the core.
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/resultjson.h"
#include "cli/session.h"

#include "frame/csv.h"
#include "frame/numbers.h"
#include "selection/suggestions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace {

using namespace fyl;

const char* const kRankUsage =
    "rank PROJECT.zol [--top N] [--target-category A|B|C] [--csv] [--program-dir DIR]";

QJsonValue optionalNumber(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue();
}
template <class T> QJsonValue optionalValue(const std::optional<T>& v) {
    return v ? QJsonValue(static_cast<double>(*v)) : QJsonValue();
}

QJsonObject suggestionJson(const Suggestion& s) {
    QJsonObject o;
    o.insert(QStringLiteral("type"), s.choice.type);
    o.insert(QStringLiteral("size"), s.choice.size);
    o.insert(QStringLiteral("jet_form"), s.choice.jetForm);
    o.insert(QStringLiteral("length"), optionalValue(s.choice.length));
    o.insert(QStringLiteral("slots"), optionalValue(s.choice.slotCount));
    o.insert(QStringLiteral("tube"), optionalValue(s.choice.tube));
    o.insert(QStringLiteral("design"), s.design);
    o.insert(QStringLiteral("designation"), s.designation);
    o.insert(QStringLiteral("feasible"), s.feasible);
    o.insert(QStringLiteral("reasons"), QJsonArray::fromStringList(s.reasons));
    const bool evaluated = s.evaluated;
    const auto figure = [&](double v) { return evaluated ? QJsonValue(v) : QJsonValue(); };
    o.insert(QStringLiteral("count"), figure(s.count));
    o.insert(QStringLiteral("flow_per_outlet"), figure(s.flowPerOutlet));
    o.insert(QStringLiteral("dp"), figure(s.dp));
    o.insert(QStringLiteral("lwa"), figure(s.lwa));
    o.insert(QStringLiteral("a_min"), optionalNumber(s.aMin));
    o.insert(QStringLiteral("w_min"), optionalNumber(s.wMin));
    o.insert(QStringLiteral("x_krit"), optionalNumber(s.xKrit));
    o.insert(QStringLiteral("critical_distance"), optionalNumber(s.criticalDistance));
    o.insert(QStringLiteral("y_max"), optionalNumber(s.yMax));
    o.insert(QStringLiteral("v_mid"), figure(s.vMid));
    o.insert(QStringLiteral("v_left"), optionalNumber(s.vLeft));
    o.insert(QStringLiteral("v_right"), optionalNumber(s.vRight));
    o.insert(QStringLiteral("draught_rating"), optionalNumber(s.draughtRating));
    o.insert(QStringLiteral("category"),
             s.draughtCategory.isEmpty() ? QJsonValue() : QJsonValue(s.draughtCategory));
    o.insert(QStringLiteral("draught_valid"), s.draughtValid);
    o.insert(QStringLiteral("lwa_together"), figure(s.lwaTogether));
    o.insert(QStringLiteral("layout"), s.layout ? cli::layoutJson(*s.layout) : QJsonValue());
    o.insert(QStringLiteral("checks"), cli::checksJson(s.checks));
    o.insert(QStringLiteral("alternatives"), QJsonArray::fromStringList(s.alternatives));
    return o;
}

QString csvNumber(const std::optional<double>& v, int decimals) {
    return v ? numbers::formatFixed(*v, 15, decimals) : QString();
}

QString suggestionsCsv(const std::vector<Suggestion>& list) {
    QString out = QStringLiteral(
        "Rang;Typ;Größe;Strahlform;Schlitzlänge;Schlitzanzahl;Rohr;Bezeichnung;geeignet;Anzahl;Anordnung;"
        "Volumenstrom je Durchlass;dp;LWA;a min;w min;x-krit;y max;vk;DR;Kategorie;Hinweise\r\n");
    int rank = 0;
    for (const Suggestion& s : list) {
        const bool evaluated = s.evaluated;
        const auto fig = [&](double v, int d) {
            return evaluated ? numbers::formatFixed(v, 15, d) : QString();
        };
        const QStringList fields{QString::number(++rank),
                                 s.choice.type,
                                 s.choice.size,
                                 QString::number(s.choice.jetForm),
                                 s.choice.length ? numbers::formatGeneral(*s.choice.length) : QString(),
                                 s.choice.slotCount ? QString::number(*s.choice.slotCount) : QString(),
                                 s.choice.tube ? numbers::formatGeneral(*s.choice.tube) : QString(),
                                 s.designation,
                                 s.feasible ? QStringLiteral("ja") : QStringLiteral("nein"),
                                 fig(s.count, 0),
                                 s.layout ? layoutText(*s.layout) : QString(),
                                 fig(s.shownFlow, 2),
                                 fig(s.dp, 1),
                                 fig(s.lwa, 1),
                                 csvNumber(s.aMin, 2),
                                 csvNumber(s.wMin, 2),
                                 csvNumber(s.xKrit, 2),
                                 csvNumber(s.yMax, 2),
                                 fig(s.vMid, 2),
                                 csvNumber(s.draughtRating, 1),
                                 s.draughtCategory,
                                 s.reasons.join(QStringLiteral("; "))};
        out += csvLine(fields);
    }
    return out;
}

int runRank(const QStringList& args, QTextStream& out, QTextStream& err) {
    cli::CommandLine call(QString::fromUtf8(kRankUsage), {"top", "target-category", "program-dir"}, {"csv"});
    call.parse(args, 1);
    const int top = call.integer("top", 1, std::numeric_limits<int>::max()).value_or(-1);
    RankingOptions options;
    if (call.isSet("target-category")) {
        const QString category = call.value("target-category");
        if (category != QLatin1String("A") && category != QLatin1String("B") &&
            category != QLatin1String("C"))
            call.wrongCall(
                QStringLiteral("--target-category nimmt A, B oder C, nicht \"%1\".").arg(category));
        options.targetCategory = category[0];
    }
    QStringList skipped;
    options.skipped = [&skipped](const QString& reason) { skipped << reason; };

    cli::Session session;
    cli::openProject(session, call.programDir(), call.positional(0), cli::WithCatalogue::Yes);
    std::vector<Suggestion> list =
        suggestOutlets(session.catalogue, *session.record, session.texts, session.folders, options);
    // A list of failures is no ranking: it is printed, but the call failed.
    const bool noneEvaluated = !list.empty() && std::none_of(list.begin(), list.end(),
                                                             [](const Suggestion& s) { return s.evaluated; });
    QString firstReason =
        list.empty() || list.front().reasons.isEmpty() ? QString() : list.front().reasons.constFirst();
    while (firstReason.endsWith(QLatin1Char('.')))
        firstReason.chop(1);
    if (top > 0 && static_cast<int>(list.size()) > top)
        list.resize(static_cast<std::size_t>(top));
    if (call.isSet("csv")) {
        out << suggestionsCsv(list);
    } else {
        QJsonArray choices;
        for (const Suggestion& s : list)
            choices.append(suggestionJson(s));
        out << QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("choices"), choices}}).toJson());
    }
    if (noneEvaluated) {
        out.flush();
        err << "Keine der " << list.size() << " Auswahlen ließ sich auswerten"
            << (firstReason.isEmpty() ? QString() : QStringLiteral(" (zum Beispiel: %1)").arg(firstReason))
            << ".\n";
    }
    // A ranking of part of the catalogue must not pass for the whole one.
    skipped.removeDuplicates();
    if (skipped.isEmpty())
        return noneEvaluated ? 1 : 0;
    out.flush();
    err << "Der Katalog ist nicht ganz lesbar; die Rangfolge lässt aus, was diese Fehler betreffen:\n";
    for (const QString& reason : skipped)
        err << "  " << reason << "\n";
    return 1;
}

const cli::CommandRegistration rankRegistration("rank", runRank, kRankUsage);

} // namespace
