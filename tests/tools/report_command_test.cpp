// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"
#include "json_report_output.h"
#include "recording_dc.h"
#include "report_command.h"
#include "report_pages.h"
#include "scoring_fixture.h"
#include "subtest_table.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Hand-made norms: raw r earns ceil(r / 2); an index sum s gives IK 3s + 1 (GAI 3s + 1001),
// percentile s / 2 and limits IK -/+ 5 (90 %) and IK -/+ 7 (95 %).
class ReportCommand : public ScoringTest {
  protected:
    void SetUp() override {
        ScoringTest::SetUp();
        for (const char* band : {"45-54 år", "70-74 år", "Referensgrupp"}) {
            insertNormRows(band, evenBounds());
        }
        insertIndexRows();
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', '45-54 år', 7, '45-54 år')");
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', '70-74 år', 10, '70-74 år')");
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', 'Referensgrupp', 14, 'Referens')");
        completeNormTables();
        std::strcpy(testOccasion().NORMGRUPP, "Standardgrupp");
    }

    // A person born 1960-03-10 and tested at the given age, every raw score 10 but the spans and
    // the digit-span parts, which add up to their total.
    int store(const char* name, int years, bool withScores = true) {
        PersonRecord person = samplePerson(name);
        person.BORNDATE = DateValue{1960, 3, 10};
        person.TESTDATE = DateValue{static_cast<std::int16_t>(1960 + years), 5, 4};
        EXPECT_EQ(DoInsertPD(person), DB_DONE);
        if (withScores) {
            TestOccasion occasion{};
            occasion.person = person;
            occasion.TD_TESTDATE = person.TESTDATE;
            std::fill(std::begin(occasion.RawScores), std::end(occasion.RawScores), 10);
            splitDigitSpanTotal(occasion.RawScores);
            occasion.RawScores[RAW_SRLFRAM] = 6;
            occasion.RawScores[RAW_SRLBAK] = 5;
            occasion.RawScores[RAW_SSO] = 6;
            occasion.RawScores[RAW_BO] = 5;
            EXPECT_EQ(DoInsertTD(occasion), DB_DONE);
        }
        return person.ID;
    }

    // Runs the command's arguments over the test database; the JSON lines it wrote.
    std::vector<QJsonObject> report(std::vector<std::string> args, int expectedExit = 0) {
        const std::string path = dir_.file("report.jsonl").string();
        std::filesystem::remove(path);
        args.insert(args.end(), {"--json", path});
        ReportRequest request;
        std::string error;
        EXPECT_TRUE(parseReportRequest(args, request, error)) << error;
        EXPECT_EQ(writeReports(request), expectedExit);
        std::vector<QJsonObject> objects;
        std::ifstream file(path);
        std::string line;
        while (std::getline(file, line)) {
            QJsonParseError parsed{};
            const QJsonDocument document =
                QJsonDocument::fromJson(QByteArray::fromStdString(line), &parsed);
            EXPECT_EQ(parsed.error, QJsonParseError::NoError) << line;
            objects.push_back(document.object());
        }
        return objects;
    }
};

QString q(const char* text) {
    return QString::fromUtf8(text);
}

QJsonObject row(const QJsonObject& json, const char* table, int index) {
    return json[table].toArray()[index].toObject();
}

TEST_F(ReportCommand, ScoresAsTheScreenDoesWithItsDefaults) {
    const int id = store("Örjan Ek", 50);
    const std::vector<QJsonObject> lines = report({"--id", std::to_string(id)});
    ASSERT_EQ(lines.size(), 1u);
    const QJsonObject& json = lines[0];

    EXPECT_EQ(json["ID"].toInt(), id);
    EXPECT_EQ(json["NAMN"].toString(), q("Örjan Ek"));
    EXPECT_EQ(json["TESTLEDARE"].toString(), q("Åsa Öberg"));
    EXPECT_EQ(json["BORNDATE"].toString(), q("1960-03-10"));
    EXPECT_EQ(json["testAge"].toString(), q("50.1.24"));
    EXPECT_EQ(json["ageBand"].toString(), q("45-54 år"));
    EXPECT_EQ(json["normDescription"].toString(), q("45-54 år"));
    EXPECT_EQ(json["choices"].toObject(),
              (QJsonObject{{"ciLevel", 1}, {"swBase", 0}, {"indexBase", 1}}));

    EXPECT_EQ(json["RawScores"][q("Ordförråd")].toInt(), 10);
    EXPECT_EQ(json["RawScores"][q("Sifferrepetition Framlänges Omfång")].toInt(), 6);
    EXPECT_EQ(json["ScaledScores"][q("Ordförråd")].toInt(), 5);
    EXPECT_EQ(json["ScaledScores"].toObject().size(), kSubscaleCount);
    EXPECT_EQ(json["ReferenceScaledScores"][q("Kodning")].toInt(), 5);

    // VFI: three subtests of 5; HIK ten; GAI the six of VFI and PFI.
    const QJsonObject vfi = json["indexes"]["VFI"].toObject();
    EXPECT_EQ(vfi["sum"].toInt(), 15);
    EXPECT_EQ(vfi["IK"].toInt(), 46);
    EXPECT_EQ(vfi["PERC"].toDouble(), 7.5);
    EXPECT_EQ(vfi["KONF_LOW95"].toInt(), 39);
    EXPECT_EQ(vfi["valid"].toInt(), 1);
    EXPECT_EQ(vfi["prorated"].toInt(), 0);
    EXPECT_EQ(json["indexes"]["HIK"]["IK"].toInt(), 151);
    EXPECT_EQ(json["indexes"]["GAI"]["IK"].toInt(), 1091);

    const QJsonObject table = json["indexTable"].toObject();
    EXPECT_EQ(table["intervalHeader"].toString(), q("95% konfidensintervall"));
    const QJsonObject first = table["rows"].toArray()[0].toObject();
    EXPECT_EQ(first["key"].toString(), q("VFI"));
    EXPECT_EQ(first["sum"].toString(), q("15"));
    EXPECT_EQ(first["IK"].toString(), q("46"));
    EXPECT_EQ(first["PERC"].toString(), q("7.5"));
    EXPECT_EQ(first["interval"].toString(), q("39 - 53"));
    EXPECT_EQ(table["notes"].toArray().first().toInt(), 599);

    EXPECT_EQ(json["IndexComparisons"].toArray().size(), 9);
    const QJsonObject pair = row(json, "IndexComparisons", 0);
    EXPECT_EQ(pair["name1"].toString(), q("VFI"));
    EXPECT_EQ(pair["score1"].toString(), q("46"));
    EXPECT_EQ(pair["score2"].toString(), q("46"));
    EXPECT_EQ(pair["difference"].toString(), q("0"));
    EXPECT_EQ(json["StrengthsWeaknesses"].toArray().size(), 10);
    EXPECT_EQ(row(json, "StrengthsWeaknesses", 0)["mean"].toString(), q("5.00"));
    EXPECT_EQ(row(json, "StrengthsWeaknesses", 0)["difference"].toString(), q("0.00"));
    EXPECT_EQ(json["swStatus"].toInt(), 10);
    EXPECT_EQ(json["ProcessComparisons"].toArray().size(), 4);

    const QJsonArray spans = json["SpanFrequencies"].toArray();
    ASSERT_EQ(spans.size(), 4);
    const char* frequencies[] = {"56.4%", "53.2%", "66.0%", "75.5%"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(spans[i]["frequency"].toString(), q(frequencies[i])) << i;
    }
    EXPECT_EQ(spans[0]["rawScore"].toString(), q("6"));
    const QJsonArray differences = json["SpanComparisons"].toArray();
    ASSERT_EQ(differences.size(), 3);
    EXPECT_EQ(differences[0]["difference"].toString(), q("1"));
    EXPECT_EQ(differences[0]["frequency"].toString(), q("73.4%"));
    EXPECT_EQ(differences[1]["frequency"].toString(), q("100.0%"));
    EXPECT_TRUE(json["messages"].toArray().isEmpty());
}

// The span cells of the JSON are the very texts the process-score page draws.
TEST_F(ReportCommand, SpanCellsAreThoseThePageShows) {
    const int id = store("Ek", 50);
    const QJsonObject json = report({"--id", std::to_string(id)})[0];
    RecordingDc dc;
    ab_paint_analyser_prosess(dc, 0, 50, 600, 0);
    std::vector<std::string> drawn;
    for (const RecordingDc::Text& text : dc.texts()) {
        drawn.push_back(text.text);
    }
    for (const char* table : {"SpanFrequencies", "SpanComparisons", "ProcessComparisons"}) {
        for (const QJsonValue cells : json[table].toArray()) {
            for (const QString& key : cells.toObject().keys()) {
                const std::string cell = cells[key].toString().toStdString();
                if (!cell.empty()) {
                    EXPECT_NE(std::find(drawn.begin(), drawn.end(), cell), drawn.end())
                        << table << " " << key.toStdString() << " " << cell;
                }
            }
        }
    }
}

TEST_F(ReportCommand, ChoicesChangeOnlyWhatTheyChoose) {
    const int id = store("Ek", 50);
    const QJsonObject base = report({"--id", std::to_string(id)})[0];
    const QJsonObject ci90 = report({"--id", std::to_string(id), "--ci", "90"})[0];
    EXPECT_EQ(ci90["indexTable"]["intervalHeader"].toString(), q("90% konfidensintervall"));
    EXPECT_EQ(ci90["indexTable"]["rows"][0]["interval"].toString(), q("41 - 51"));
    EXPECT_EQ(ci90["indexTable"]["rows"][0]["IK"], base["indexTable"]["rows"][0]["IK"]);
    EXPECT_EQ(ci90["IndexComparisons"], base["IndexComparisons"]);

    const QJsonObject whole = report({"--id", std::to_string(id), "--index-base", "0"})[0];
    EXPECT_EQ(whole["choices"]["indexBase"].toInt(), 0);
    EXPECT_EQ(whole["IndexComparisons"][0]["difference"],
              base["IndexComparisons"][0]["difference"]);
    const QJsonObject vfiPfi = report({"--id", std::to_string(id), "--sw-base", "1"})[0];
    EXPECT_EQ(vfiPfi["swStatus"].toInt(), 1);
    EXPECT_EQ(vfiPfi["indexes"], base["indexes"]);

    // A subgroup chosen as in list 1 scores again; one outside the bands is reported once and
    // leaves out what needs a band.
    const QJsonObject older = report({"--id", std::to_string(id), "--age-band", "70-74 år"})[0];
    EXPECT_EQ(older["ageBand"].toString(), q("70-74 år"));
    EXPECT_EQ(older["normDescription"].toString(), q("70-74 år"));
    EXPECT_EQ(older["indexTable"]["showsNote633"].toInt(), 1);
    const QJsonObject reference =
        report({"--id", std::to_string(id), "--age-band", "Referensgrupp"}, 2)[0];
    // The command line says what is left out and which choice gives the whole report.
    ASSERT_EQ(reference["messages"].toArray().size(), 1);
    const QString advice = reference["messages"][0].toString();
    EXPECT_TRUE(
        advice.startsWith(q("Undergruppen \"Referensgrupp\" är ingen av de 13 åldersgrupperna")))
        << advice.toStdString();
    EXPECT_TRUE(advice.contains(q("--age-band \"") + base["ageBand"].toString() + q("\"")))
        << advice.toStdString();
    EXPECT_TRUE(reference["IndexComparisons"].toArray().isEmpty());
    EXPECT_TRUE(reference["SpanFrequencies"].toArray().isEmpty());

    // A subgroup the list does not offer is refused before anything is written.
    for (const char* band : {"foo", "35-44 ÅR", ""}) {
        EXPECT_TRUE(report({"--id", std::to_string(id), "--age-band", band}, 1).empty()) << band;
    }
}

TEST_F(ReportCommand, PersonWithoutScoresShowsDashesAndTheNotes) {
    const int id = store("Utan Poäng", 72, false);
    const QJsonObject json = report({"--id", std::to_string(id)})[0];
    EXPECT_EQ(json["ageBand"].toString(), q("70-74 år"));
    EXPECT_EQ(json["RawScores"][q("Likheter")].toInt(), NOT_ADMINISTERED);
    for (const QJsonValue cells : json["indexTable"]["rows"].toArray()) {
        EXPECT_EQ(cells["IK"].toString(), q("-"));
        EXPECT_EQ(cells["interval"].toString(), q("-"));
    }
    EXPECT_EQ(json["indexTable"]["notes"].toArray(), (QJsonArray{599, 601, 606, 610, 613, 615}));
    EXPECT_EQ(json["swStatus"].toInt(), 99);
    for (const QJsonValue span : json["SpanFrequencies"].toArray()) {
        EXPECT_EQ(span["rawScore"].toString(), q("-"));
        EXPECT_EQ(span["frequency"].toString(), q(""));
    }
    EXPECT_TRUE(json["SpanComparisons"].toArray().isEmpty());
}

TEST_F(ReportCommand, AllWritesEveryPersonInIdOrderAndSkipsNoOne) {
    const int first = store("Första", 50);
    const int second = store("Andra", 72, false);
    const int third = store("Tredje", 50);
    const std::vector<QJsonObject> lines = report({"--all"});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]["ID"].toInt(), first);
    EXPECT_EQ(lines[1]["ID"].toInt(), second);
    EXPECT_EQ(lines[2]["ID"].toInt(), third);
    // A person that is not stored fails the command and writes nothing.
    EXPECT_TRUE(report({"--id", "999"}, 1).empty());
}

// --all reads every person with one statement; each report, message included, is the one the
// person's own statements give, also over a register whose IDs are doubled or whose numbers
// cannot be read.
TEST_F(ReportCommand, AllGivesEachPersonTheReportOfItsOwnStatements) {
    const int plain = store("Vanlig", 50);
    const int withoutScores = store("Utan", 72, false);
    const int unreadable = store("Oläslig", 50);
    const int doubledPerson = store("Dubbel", 72);
    const int doubledScores = store("Två rader", 50);
    const int last = store("Sist", 72, false);
    // Tables without keys, as in an old register, hold what no form could store.
    for (const char* table : {"TESTPERSON", "TESTDATA"}) {
        exec(std::string("ALTER TABLE ") + table + " RENAME TO OLD_" + table);
        exec(std::string("CREATE TABLE ") + table + " AS SELECT * FROM OLD_" + table);
    }
    // Only the SQLite file holds a text in a number's column.
    const bool unreadableStored = !testingOnServer();
    if (unreadableStored) {
        const std::string id = std::to_string(unreadable);
        exec("UPDATE TESTPERSON SET SEX = 'x', AGE = 1e12 WHERE ID = " + id);
        exec("UPDATE TESTDATA SET BUT = 'y' WHERE PERSONALDATA_ID = " + id);
    }
    exec("INSERT INTO TESTPERSON (ID, NAMN, SEX) VALUES (" + std::to_string(doubledPerson) +
         ", 'Andra raden', 1)");
    exec("INSERT INTO TESTDATA (PERSONALDATA_ID, BUT) VALUES (" + std::to_string(doubledScores) +
         ", 3)");

    const std::string path = dir_.file("one-by-one.jsonl").string();
    std::string error;
    std::unique_ptr<ReportOutput> oneByOne = makeJsonReportOutput(path, error);
    ASSERT_NE(oneByOne, nullptr) << error;
    const ReportRequest request;
    ScoredOccasion scored;
    for (const int each : {plain, withoutScores, unreadable, doubledPerson, doubledScores, last}) {
        ASSERT_TRUE(scoreStoredOccasion(each, request, scored));
        if (each == doubledPerson) {
            scored.messages.push_back("ID " + std::to_string(each) +
                                      " finns på flera rader i TESTPERSON; den första används.");
        }
        ASSERT_TRUE(oneByOne->write(scored, error)) << error;
    }
    ASSERT_TRUE(oneByOne->finish(error)) << error;
    std::ifstream expected(path);
    std::vector<QJsonObject> all = report({"--all"}, 2);
    ASSERT_EQ(all.size(), 6u);
    std::string line;
    for (const QJsonObject& object : all) {
        ASSERT_TRUE(std::getline(expected, line));
        EXPECT_EQ(QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString(),
                  QJsonDocument::fromJson(QByteArray::fromStdString(line))
                      .toJson(QJsonDocument::Compact)
                      .toStdString());
    }
    // The fixture's messages hold the unreadable numbers and the doubled ID, read both ways.
    const std::string said = QJsonDocument(all[2]).toJson().toStdString();
    EXPECT_EQ(said.find("SEX, AGE") != std::string::npos, unreadableStored) << said;
    EXPECT_EQ(said.find("inte kan läsas: BUT") != std::string::npos, unreadableStored) << said;
    EXPECT_NE(QJsonDocument(all[3]).toJson().toStdString().find("den första används"),
              std::string::npos);
}

// An ID too large for 32 bits is named as stored and refuses a run over everyone before anything
// is logged or written; it is never read as the person its low 32 bits would name.
TEST_F(ReportCommand, AnIdTooLargeIsNamedAndNeverReadAsAnotherPerson) {
    SKIP_ON_SERVER("the server's INTEGER column refuses an ID that does not fit 32 bits");
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (0, 'Noll')");
    const int one = store("Ett", 50);
    ASSERT_EQ(one, 1);
    // 4294967297 is 2^32 + 1: cut to 32 bits it would be person 1.
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (4294967297, 'Stort')");
    exec("INSERT INTO TESTDATA (PERSONALDATA_ID, BUT) VALUES (4294967297, 3)");

    EXPECT_TRUE(report({"--all"}, 1).empty());
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("Stort (ID 4294967297): ID 4294967297 ryms inte"),
              std::string::npos)
        << messages_.texts()[0];
    int logged = 0;
    DoListAccessLog({}, [&logged](const AccessLogRow&) { ++logged; });
    EXPECT_EQ(logged, 0);

    const std::vector<QJsonObject> alone = report({"--id", "1"});
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0]["NAMN"].toString(), q("Ett"));
    ReportRequest request;
    std::string error;
    EXPECT_FALSE(parseReportRequest({"--id", "4294967297", "--json", "-"}, request, error));
    EXPECT_EQ(error.rfind("--id 4294967297 ryms inte", 0), 0u) << error;
}

TEST_F(ReportCommand, ArgumentsAreChecked) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--json", "-"},
        {"--id", "1"},
        {"--id", "1", "--all", "--json", "-"},
        {"--id", "x", "--json", "-"},
        {"--id", "1", "--ci", "80", "--json", "-"},
        {"--id", "1", "--sw-base", "2", "--json", "-"},
        {"--id", "1", "--index-base", "-1", "--json", "-"},
        {"--id", "1", "--json"},
        {"--id", "1", "--pdf"},
        {"--id", "1", "--html"},
    };
    for (const std::vector<std::string>& args : wrong) {
        ReportRequest request;
        std::string error;
        EXPECT_FALSE(parseReportRequest(args, request, error)) << args.size();
        EXPECT_FALSE(error.empty());
    }
    ReportRequest request;
    std::string error;
    ASSERT_TRUE(parseReportRequest(
        {"--all", "--ci", "90", "--sw-base", "1", "--index-base", "0", "--json", "-"}, request,
        error));
    EXPECT_TRUE(request.all);
    EXPECT_EQ(request.ciLevel, 0);
    EXPECT_EQ(request.swBase, 1);
    EXPECT_EQ(request.indexBase, 0);
    ASSERT_EQ(request.outputs.size(), 1u);
    EXPECT_EQ(request.outputs[0].path, "-");
}

} // namespace
