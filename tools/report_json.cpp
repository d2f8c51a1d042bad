// SPDX-License-Identifier: Apache-2.0
#include "report_json.h"

#include "age_band_index.h"
#include "index_comparisons.h"
#include "index_table.h"
#include "process_comparisons.h"
#include "report_pages.h"
#include "span_analysis.h"
#include "strengths_weaknesses.h"
#include "subtest_table.h"
#include "test_age.h"
#include "test_occasion.h"
#include "text_table.h"

#include <QJsonArray>

#include <charconv>
#include <cstdio>
#include <string>

namespace {

// The rows the analysis pages look at.
constexpr int kShownRows = 10;

QString str(const char* text) {
    return QString::fromUtf8(text);
}

// A date that is not stored (NULL, or unreadable) is null, never a made-up "0000-00-00".
QJsonValue dateText(const DateValue& date) {
    if (date.year == 0 && date.month == 0 && date.day == 0) {
        return QJsonValue::Null;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return str(buffer);
}

// A single-precision value written with the digits it was stored with (12.3, not 12.30000019).
double shortest(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    double parsed = 0;
    std::from_chars(buffer, result.ptr, parsed);
    return parsed;
}

QJsonObject personJson(const PersonRecord& p) {
    return QJsonObject{
        {"ID", p.ID},
        {"NAMN", str(p.NAMN)},
        {"ADRESS", str(p.ADRESS)},
        {"TELEFON", str(p.TELEFON)},
        {"NATIONALITET", str(p.NATIONALITET)},
        {"HOMELANGUAGE", str(p.HOMELANGUAGE)},
        {"UTBILDNING", str(p.UTBILDNING)},
        {"TESTAD_VID", str(p.TESTAD_VID)},
        {"TESTLEDARE", str(p.TESTLEDARE)},
        {"SEX", p.SEX},
        {"AGE", p.AGE},
        {"TESTDATE", dateText(p.TESTDATE)},
        {"BORNDATE", dateText(p.BORNDATE)},
        {"HANDEDNESS", p.HANDEDNESS},
        {"OTHER", str(p.OTHER)},
        {"NI_TEST", p.NI_TEST},
    };
}

QJsonObject scoresJson(const TestOccasion& occasion, QJsonObject& raw, QJsonObject& reference) {
    QJsonObject scaled;
    for (const SubtestInfo& subtest : kSubtests) {
        raw.insert(str(subtest.name), occasion.RawScores[&subtest - kSubtests]);
    }
    for (int k = 0; k < kSubscaleCount; ++k) {
        const QString name = str(kSubtests[kSubscaleRawScore[k]].name);
        scaled.insert(name, occasion.ScaledScores[k]);
        reference.insert(name, occasion.ReferenceScaledScores[k]);
    }
    return scaled;
}

QJsonObject indexJson(const IndexResult& r) {
    // A number that could not be established is null, never a 0 that looks like a score.
    const auto score = [&r](const QJsonValue& value) {
        return r.normMissing == 1 ? QJsonValue(QJsonValue::Null) : value;
    };
    return QJsonObject{
        {"sum", r.sumIncomplete == 1 ? QJsonValue(QJsonValue::Null) : QJsonValue(r.sum)},
        {"unproratedSum", r.unproratedSum},
        {"count", r.count},
        {"IK", score(r.IK)},
        {"PERC", score(shortest(r.PERC))},
        {"KONF_LOW90", score(r.KONF_LOW90)},
        {"KONF_HIGH90", score(r.KONF_HIGH90)},
        {"KONF_LOW95", score(r.KONF_LOW95)},
        {"KONF_HIGH95", score(r.KONF_HIGH95)},
        {"prorated", r.prorated},
        {"valid", r.valid},
        {"substituted", r.substituted},
        {"zeroCount", r.zeroCount},
        {"substitutionCount", r.substitutionCount},
        {"prorationCount", r.prorationCount},
    };
}

QJsonObject indexTableJson(const TestOccasion& occasion, int ciLevel) {
    const IndexTable table = indexTable(occasion, ciLevel);
    QJsonArray rows;
    for (const IndexTableRow& row : table.rows) {
        rows.append(QJsonObject{
            {"key", str(kIndexKeys[row.key])},
            {"name", str(row.name)},
            {"sum", str(row.sum)},
            {"sumMark", str(row.sumMark)},
            {"IK", str(row.IK)},
            {"PERC", str(row.PERC)},
            {"interval", str(row.interval)},
        });
    }
    QJsonArray notes;
    for (int i = 0; i < table.noteCount; ++i) {
        notes.append(table.notes[i]);
    }
    return QJsonObject{
        {"intervalHeader", str(table.intervalHeader)},
        {"rows", rows},
        {"notes", notes},
        {"showsNote632", table.showsNote632},
        {"showsNote633", table.showsNote633},
    };
}

QJsonArray comparisonRowsJson(const ComparisonRow* rows, int count) {
    QJsonArray shown;
    for (int i = 0; i < count; ++i) {
        const ComparisonRow& row = rows[i];
        if (row.title[0] == '\0') {
            continue;
        }
        shown.append(QJsonObject{
            {"title", str(row.title)},
            {"name1", str(row.name1)},
            {"score1", str(row.score1)},
            {"name2", str(row.name2)},
            {"score2", str(row.score2)},
            {"difference", str(row.difference)},
            {"level", str(row.level)},
            {"baseRate", str(row.baseRate)},
            {"criticalValue", str(row.criticalValue)},
        });
    }
    return shown;
}

// A subtest that was not given shows only its name and "-".
QJsonArray strengthWeaknessRowsJson() {
    QJsonArray shown;
    for (int i = 0; i < kShownRows; ++i) {
        const StrengthWeaknessRow& row = StrengthsWeaknesses[i];
        if (row.number[0] == '\0') {
            continue;
        }
        const bool notGiven = std::string(row.scaledScore) == "-9";
        auto field = [notGiven](const char* text) { return notGiven ? QString() : str(text); };
        shown.append(QJsonObject{
            {"number", str(row.number)},
            {"name", str(row.name)},
            {"scaledScore", notGiven ? QStringLiteral("-") : str(row.scaledScore)},
            {"mean", field(row.mean)},
            {"difference", field(row.difference)},
            {"level", field(row.level)},
            {"mark", field(row.mark)},
            {"baseRate", field(row.baseRate)},
            {"criticalValue", field(row.criticalValue)},
        });
    }
    return shown;
}

QString intText(int value) {
    return QString::number(value);
}

constexpr unsigned short kSpanNames[] = {262, 264, 266, 267};
constexpr unsigned short kSpanPairNames[] = {413, 414, 415};

// The span table: "-" and no frequency for a span not given, or BO from 70 years on.
QJsonArray spanFrequenciesJson(const TestOccasion& occasion, int band) {
    QJsonArray rows;
    for (int span = SPAN_SFO; span <= SPAN_BO; ++span) {
        const int raw = occasion.RawScores[kSpanRawScore[span]];
        RowText frequency;
        const bool shown = spanFrequency(span, raw, band, frequency) != 0;
        rows.append(QJsonObject{
            {"name", str(text(kSpanNames[span]).c_str())},
            {"rawScore", shown ? intText(raw) : QStringLiteral("-")},
            {"frequency", shown ? str(frequency) : QString()},
        });
    }
    return rows;
}

// The raw-score comparisons, only when the three Sifferrepetition spans were given.
QJsonArray spanComparisonsJson(const TestOccasion& occasion, int band) {
    QJsonArray rows;
    for (const int span : {SPAN_SFO, SPAN_SBO, SPAN_SSO}) {
        if (occasion.RawScores[kSpanRawScore[span]] == NOT_ADMINISTERED) {
            return rows;
        }
    }
    for (int pair = SPAN_PAIR_SFO_SBO; pair <= SPAN_PAIR_SBO_SSO; ++pair) {
        const int first = occasion.RawScores[kSpanRawScore[kSpanPairSpans[pair].first]];
        const int second = occasion.RawScores[kSpanRawScore[kSpanPairSpans[pair].second]];
        RowText rate;
        spanDifferenceRate(pair, first - second, band, rate);
        rows.append(QJsonObject{
            {"name", str(text(kSpanPairNames[pair]).c_str())},
            {"score1", intText(first)},
            {"score2", intText(second)},
            {"difference", intText(first - second)},
            {"frequency", str(rate)},
        });
    }
    return rows;
}

} // namespace

QJsonObject occasionReportJson(const std::vector<std::string>& messages) {
    const TestOccasion& occasion = testOccasion();
    const ResultsView& view = resultsView();
    QJsonObject json = personJson(occasion.person);

    const TestAge age = computeTestAge(occasion.person);
    json.insert("TD_TESTDATE", dateText(occasion.TD_TESTDATE));
    json.insert("testAge", QStringLiteral("%1.%2.%3").arg(age.years).arg(age.months).arg(age.days));
    json.insert("NORMGRUPP", str(occasion.NORMGRUPP));
    json.insert("ageBand", str(occasion.ageBand));
    json.insert("normDescription", str(occasion.normDescription));
    json.insert("choices", QJsonObject{{"ciLevel", view.ciLevel},
                                       {"swBase", view.swBase},
                                       {"indexBase", view.indexBase}});

    QJsonObject raw;
    QJsonObject reference;
    const QJsonObject scaled = scoresJson(occasion, raw, reference);
    json.insert("RawScores", raw);
    json.insert("ScaledScores", scaled);
    json.insert("ReferenceScaledScores", reference);
    QJsonObject indexes;
    for (int key = VFI; key <= GAI; ++key) {
        indexes.insert(str(kIndexKeys[key]), indexJson(occasion.indexes[key]));
    }
    json.insert("indexes", indexes);
    json.insert("indexTable", indexTableJson(occasion, view.ciLevel));

    // The discrepancy page: its comparisons only for one of the 13 age bands.
    const int comparisonsMade = computeIndexComparisons(view.indexBase);
    json.insert("IndexComparisons", comparisonsMade != 0
                                        ? comparisonRowsJson(IndexComparisons, kShownRows)
                                        : QJsonArray());
    const int indexPairNsMarked = comparisonsMade != 0 ? pairNsMarked : 0;
    const int swStatus = computeStrengthsWeaknesses(view.swBase);
    json.insert("swStatus", swStatus);
    json.insert("StrengthsWeaknesses", strengthWeaknessRowsJson());

    // The process-score page; its span tables only for one of the 13 age bands.
    computeProcessComparisons();
    json.insert("ProcessComparisons", comparisonRowsJson(ProcessComparisons, 9));
    const int band = ageBandIndex(occasion.ageBand);
    json.insert("SpanFrequencies", band >= 0 ? spanFrequenciesJson(occasion, band) : QJsonArray());
    json.insert("SpanComparisons", band >= 0 ? spanComparisonsJson(occasion, band) : QJsonArray());

    json.insert("footnotes", QJsonObject{{"indexPairNsMarked", indexPairNsMarked},
                                         {"swNsMarked", swNsMarked},
                                         {"processPairNsMarked", pairNsMarked}});
    QJsonArray texts;
    for (const std::string& message : messages) {
        texts.append(str(message.c_str()));
    }
    json.insert("messages", texts);
    return json;
}
