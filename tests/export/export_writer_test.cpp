// SPDX-License-Identifier: Apache-2.0
#include "export_writer.h"
#include "scoring_fixture.h"
#include "subtest_table.h"
#include "text_table.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        result.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return result;
}

ExportSelection groups(std::initializer_list<int> chosen) {
    ExportSelection selection;
    for (const int group : chosen) {
        selection.groups[group] = true;
    }
    return selection;
}

std::string repeat(const std::string& cell, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += cell;
    }
    return result;
}

class ExportWriter : public ScoringTest {
  protected:
    void SetUp() override {
        ScoringTest::SetUp();
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', '25-29 år', 4, '25-29 år')");
        insertNormRows("25-29 år", evenBounds());
        insertNormRows("Referensgrupp", evenBounds());
        insertIndexRows();
        completeNormTables();
        path_ = dir_.file("export.txt");
    }

    // Stores a person aged 25 whose every raw score is raw, or the form maximum where that is
    // lower (the spans), the digit-span parts adding up to their total, as the form would have
    // stored it.
    std::int32_t addPerson(const char* name, int raw, DateValue testDate = {2010, 3, 7}) {
        TestOccasion stored{};
        stored.person = samplePerson(name);
        stored.person.TESTDATE = testDate;
        stored.person.BORNDATE = DateValue{static_cast<std::int16_t>(testDate.year - 25), 1, 2};
        EXPECT_EQ(DoInsertPD(stored.person), DB_DONE);
        for (int i = 0; i < kRawScoreCount; ++i) {
            const int maximum = kSubtests[i].formMax;
            stored.RawScores[i] = maximum > 0 && raw > maximum ? maximum : raw;
        }
        splitDigitSpanTotal(stored.RawScores);
        EXPECT_EQ(DoInsertTD(stored), DB_DONE);
        return stored.person.ID;
    }

    std::string run(const ExportSelection& selection) {
        EXPECT_EQ(writeExport(path_.string(), selection, occasion_), ExportResult::Written);
        return readBytes(path_);
    }

    std::filesystem::path path_;
};

TEST_F(ExportWriter, EmptyRegisterGivesTheHeaderOnly) {
    EXPECT_EQ(run(groups({0, 1, 2, 3})),
              "NID\tNAMN\tADRESS\tTFN\tNATION\tHEMSPRAK\tUTB\tTEST_VID\tTESTLED\tTESTDAT\t"
              "FODELSED\tALDER\tKON_1M2K\tHAN_1V2H\tOVRIGT\tBl\tBUT\tLi\tSF\tSFO\tSB\tSBO\tSS\t"
              "SSO\tMa\tOr\tAr\tSy\tVp\tIn\tKo\tBs\tBO\tFv\tFo\tOs\tBk\tNORMGRP\tS_Bl\tS_BUT\t"
              "S_Li\tS_Sr\tS_SF\tS_SB\tS_SS\tS_Ma\tS_Or\tS_Ar\tS_Sy\tS_Vp\tS_In\tS_Ko\tS_Bs\t"
              "S_Fv\tS_Fo\tS_Os\tS_Bk\tSS_HIK\tSS_GAI\tSS_VFI\tSS_PFI\tSS_AI\tSS_SI\tI_HIK\t"
              "I_GAI\tI_VFI\tI_PFI\tI_AI\tI_SI\t\r\n");
}

TEST_F(ExportWriter, OnlyIndexScores) {
    addPerson("Ett", 10);
    const std::vector<std::string> written = lines(run(groups({3})));
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0], "NID\tNORMGRP\tSS_HIK\tSS_GAI\tSS_VFI\tSS_PFI\tSS_AI\tSS_SI\tI_HIK\t"
                          "I_GAI\tI_VFI\tI_PFI\tI_AI\tI_SI\t");
    // Every scaled score is 5: sums 50, 30, 15, 15, 10, 10.
    EXPECT_EQ(written[1], "1\t25-29 \xE5r\t50\t30\t15\t15\t10\t10\t151\t1091\t46\t46\t31\t31\t");
}

TEST_F(ExportWriter, InvalidIndexesAreEmptyCells) {
    TestOccasion stored{};
    addPerson("Ett", 10);
    // Two zero raw scores in Snabbhet make SI and the full scale invalid.
    stored.person.ID = 1;
    ASSERT_EQ(DoReadTD(stored), DB_DONE);
    stored.RawScores[RAW_SYMBOLLETNING] = 0;
    stored.RawScores[RAW_KODNING] = 0;
    ASSERT_EQ(DoUpdateTD(stored), DB_DONE);
    const std::vector<std::string> written = lines(run(groups({3})));
    EXPECT_EQ(written[1], "1\t25-29 \xE5r\t\t30\t15\t15\t10\t\t\t1091\t46\t46\t31\t\t");
}

TEST_F(ExportWriter, MissingGeneralAbilityRowIsNeverTheFormerPersons) {
    addPerson("Ett", 10); // every scaled score 5: GAI sum 30
    addPerson("Två", 14); // every scaled score 7: GAI sum 42, whose row is missing
    exec("DELETE FROM INDEX_NORMER WHERE \"INDEX\" = 'GAI' AND SKAL = 42");
    const std::vector<std::string> written = lines(run(groups({3})));
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[1], "1\t25-29 \xE5r\t50\t30\t15\t15\t10\t10\t151\t1091\t46\t46\t31\t31\t");
    // The lookup found nothing: an empty cell and a message, not the 1091 of the person before
    // and not a 0.
    EXPECT_EQ(written[2], "2\t25-29 \xE5r\t70\t42\t21\t21\t14\t14\t211\t\t64\t64\t43\t43\t");
    // The gap the deleted row leaves in the table is named once, before the persons.
    const std::vector<std::string> said = messages_.texts();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_NE(said[0].find("INDEX_NORMER (Standardgrupp, GAI, 43): SKAL hoppar från 41 till 43"),
              std::string::npos)
        << said[0];
    EXPECT_EQ(said[1], "INDEX_NORMER Standardgrupp GAI SKAL 42 finns inte. Indexpoäng, percentil "
                       "och konfidensintervall redovisas inte.");
}

TEST_F(ExportWriter, NullRawScoreIsExportedAsNotAdministered) {
    addPerson("Ett", 10);
    exec("UPDATE TESTDATA SET likheter = -9");
    const std::string withMinusNine = run(groups({1, 2, 3}));
    exec("UPDATE TESTDATA SET likheter = NULL");
    EXPECT_EQ(run(groups({1, 2, 3})), withMinusNine);
    EXPECT_NE(withMinusNine.find("\t-9\t"), std::string::npos);
}

TEST_F(ExportWriter, NotAdministeredRawAndScaledScores) {
    addPerson("Tom", NOT_ADMINISTERED);
    const std::vector<std::string> written = lines(run(groups({1, 2})));
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[1], "1\t" + repeat("-9\t", 22) + "25-29 \xE5r\t\t\t\t0\t" + repeat("\t", 15));
}

TEST_F(ExportWriter, PersonalDataInWindows1252WithDatesAndAge) {
    PersonRecord person = samplePerson("Åsa Öberg-Älv");
    person.TESTDATE = DateValue{999, 3, 7};
    person.BORNDATE = DateValue{950, 5, 31};
    person.SEX = 2;
    person.HANDEDNESS = 1;
    std::strcpy(person.ADRESS, "Gata\t3");
    ASSERT_EQ(DoInsertPD(person), DB_DONE);
    TestOccasion stored{};
    stored.person = person;
    for (int& value : stored.RawScores) {
        value = 3;
    }
    ASSERT_EQ(DoInsertTD(stored), DB_DONE);

    const std::vector<std::string> written = lines(run(groups({0})));
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[1], "1\t\xC5sa \xD6"
                          "berg-\xC4lv\tGata 3\t0470-123 45\tSvensk\tSvenska\t"
                          "Gymnasium\tMottagningen\t\xC5sa \xD6"
                          "berg\t999 -03-07\t950 -05-31\t"
                          "48.9.6\t2\t1\t\xD6vrigt: inga\t");
}

TEST_F(ExportWriter, PersonsWithoutRawScoresAreLeftOutAndOrderIsById) {
    addPerson("Första", 10);
    PersonRecord noScores = samplePerson("Utan");
    ASSERT_EQ(DoInsertPD(noScores), DB_DONE);
    addPerson("Tredje", 12);
    int lastProgress = 0;
    ASSERT_EQ(writeExport(path_.string(), groups({1}), occasion_,
                          [&](int count) { lastProgress = count; }),
              ExportResult::Written);
    const std::vector<std::string> written = lines(readBytes(path_));
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[1].substr(0, 5), "1\t10\t");
    EXPECT_EQ(written[2].substr(0, 5), "3\t12\t");
    EXPECT_EQ(lastProgress, 2);
    // The occasion holds the last exported person.
    EXPECT_EQ(occasion_.person.ID, 3);
}

TEST_F(ExportWriter, ReusedNormRowsGiveTheSameBytesAndTheSameMessages) {
    exec("DELETE FROM NORMER WHERE DELSKALA = 'Kodning' AND DELGRUPP = '25-29 år'");
    addPerson("Ett", 10);
    addPerson("Två", 14);
    addPerson("Tre", NOT_ADMINISTERED);
    const ExportSelection selection = groups({0, 1, 2, 3});

    ASSERT_EQ(writeExport(path_.string(), selection, occasion_, databaseNorms(), nullptr),
              ExportResult::Written);
    const std::string oneStatementPerLookup = readBytes(path_);
    const std::vector<std::string> firstMessages = messages_.texts();
    messages_.clear();

    // The tables held in memory were checked when read: the missing row is also named once for
    // the run, before the same messages.
    ASSERT_EQ(writeExport(path_.string(), selection, occasion_), ExportResult::Written);
    EXPECT_EQ(readBytes(path_), oneStatementPerLookup);
    std::vector<std::string> said = messages_.texts();
    ASSERT_FALSE(said.empty());
    EXPECT_NE(said[0].find("NORMER: raden för DELSKALA \"Kodning\" i DELGRUPP \"25-29 år\" saknas"),
              std::string::npos)
        << said[0];
    said.erase(said.begin());
    EXPECT_EQ(said, firstMessages);
    ASSERT_EQ(firstMessages.size(), 3u);
    EXPECT_EQ(firstMessages[0], "Standardgrupp Kodning 25-29 år finns inte.");
}

// A norm table gone: each failing lookup is reported once for the whole run, while the missing
// row is still named for every person, as the export's rules ask.
TEST_F(ExportWriter, EachDatabaseFailureIsReportedOnce) {
    execAsOwner("DROP TABLE NORMER");
    addPerson("Ett", 10);
    addPerson("Två", 12);
    writeExport(path_.string(), groups({2}), occasion_);
    int databaseErrors = 0;
    int missingRows = 0;
    for (const std::string& message : messages_.texts()) {
        ASSERT_EQ(message.find("sequence"), std::string::npos) << message;
        if (saysTableIsMissing(message)) {
            ++databaseErrors;
        } else if (message.ends_with(" finns inte.")) {
            ++missingRows;
        }
    }
    EXPECT_EQ(databaseErrors, 2 * kSubscaleCount); // each (subscale, subgroup) once
    EXPECT_EQ(missingRows, 2 * 2 * kSubscaleCount);
    EXPECT_EQ(messages_.texts().size(), static_cast<std::size_t>(6 * kSubscaleCount));
}

// A database error while reading, or while looking norms up, leaves a file that must not be
// reported as written.
TEST_F(ExportWriter, DatabaseErrorIsNeverReportedAsWritten) {
    // The tables are rebuilt below as only a register's owner may.
    reconnectAsOwner();
    addPerson("Ett", 10);
    addPerson("Två", 12);
    exec("DROP TABLE NORMER");
    EXPECT_EQ(writeExport(path_.string(), groups({1, 2}), occasion_), ExportResult::ReadFailed);
    // The same file without scores needs no norms and is sound.
    messages_.clear();
    EXPECT_EQ(writeExport(path_.string(), groups({1}), occasion_), ExportResult::Written);
    EXPECT_TRUE(messages_.texts().empty());

    // Reading itself fails at the second person's row: its first raw score raises an error.
    exec("ALTER TABLE TESTDATA RENAME TO STORED_TESTDATA");
    std::string view = "CREATE VIEW TESTDATA AS SELECT PERSONALDATA_ID, TD_TESTDATE, CASE "
                       "PERSONALDATA_ID WHEN 2 THEN abs(-9223372036854775808) ELSE blockmonster "
                       "END AS blockmonster";
    for (const char* column : {"BUT",
                               "likheter",
                               "sifferrepetition",
                               "srfram",
                               "srlfram",
                               "srbak",
                               "srlbak",
                               "SS",
                               "SSO",
                               "Matriser",
                               "Ordforrad",
                               "aritmetik",
                               "symbolletning",
                               "visuellapussel",
                               "information",
                               "kodning",
                               "BSS",
                               "BO",
                               "figurvikter",
                               "forstaelse",
                               "overstrykning",
                               "bildkomplettering"}) {
        view += std::string(", ") + column;
    }
    exec(view + " FROM STORED_TESTDATA");
    messages_.clear();
    EXPECT_EQ(writeExport(path_.string(), groups({1}), occasion_), ExportResult::ReadFailed);
    ASSERT_EQ(messages_.texts().size(), 1u);
    const std::string said = messages_.texts()[0];
    EXPECT_TRUE(said.find("overflow") != std::string::npos ||
                said.find("out of range") != std::string::npos)
        << said;
}

TEST_F(ExportWriter, NoGroupChosenLeavesAnEmptyFile) {
    EXPECT_EQ(writeExport(path_.string(), ExportSelection{}, occasion_), ExportResult::NoSelection);
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{text(38)});
    EXPECT_TRUE(std::filesystem::exists(path_));
    EXPECT_EQ(std::filesystem::file_size(path_), 0u);
}

TEST_F(ExportWriter, FileThatCannotBeCreatedIsReported) {
    const std::string path = (dir_.path() / "saknas" / "export.txt").string();
    EXPECT_EQ(writeExport(path, groups({0}), occasion_), ExportResult::CannotOpen);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_TRUE(messages_.texts()[0].starts_with("Fel vid skrivning av fil (code 1829)\n"));
    EXPECT_NE(messages_.texts()[0].find(path), std::string::npos) << messages_.texts()[0];
    EXPECT_EQ(messages_.requests()[0].caption, "RIVO-IV");
    EXPECT_TRUE(messages_.requests()[0].withoutOwner);
}

TEST_F(ExportWriter, ADeviceIsRefusedAndLeftAlone) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    addPerson("Ett", 10);
    EXPECT_EQ(writeExport("/dev/full", groups({0, 1, 2, 3}), occasion_), ExportResult::CannotOpen);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("/dev/full är ingen vanlig fil"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

TEST_F(ExportWriter, CancelStopsTheExportAndRemovesThePartialFile) {
    addPerson("Ett", 10);
    addPerson("Två", 14);
    addPerson("Tre", 12);
    std::vector<int> progress;
    EXPECT_EQ(writeExport(path_.string(), groups({0, 1, 2, 3}), occasion_, databaseNorms(),
                          [&](int written) {
                              progress.push_back(written);
                              return written < 2;
                          }),
              ExportResult::Cancelled);
    EXPECT_EQ(progress, (std::vector<int>{1, 2})); // nothing computed after the cancel
    EXPECT_FALSE(std::filesystem::exists(path_));
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{kExportCancelled});
}

TEST_F(ExportWriter, ExistingFileIsReplaced) {
    std::ofstream(path_) << "gammalt innehåll som är längre än det nya\n";
    const std::string bytes = run(groups({3}));
    EXPECT_EQ(bytes.substr(0, 4), "NID\t");
    EXPECT_EQ(bytes.find("gammalt"), std::string::npos);
}

// Another process keeps planting and removing a link to a file of its choice where the export
// goes, hoping to land between the check of the target and the writing: the export never writes
// through the link.
TEST_F(ExportWriter, ALinkPlantedMeanwhileIsNeverWrittenThrough) {
    const std::filesystem::path victim = dir_.file("victim.txt");
    std::ofstream(victim) << "orört";
    std::atomic<bool> stop = false;
    std::thread planter([&] {
        // A link now and then, for a moment: most exports find the way free.
        while (!stop) {
            // Refused while the export's file stands there; the next round tries again.
            [[maybe_unused]] const int planted = ::symlink(victim.c_str(), path_.c_str());
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            ::unlink(path_.c_str()); // the link, or the export that replaced it
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
    });
    int written = 0;
    for (int run = 0; run < 300; ++run) {
        const ExportResult result = writeExport(path_.string(), groups({1}), occasion_);
        // A link planted after the start is found again before the file takes its name.
        ASSERT_TRUE(result == ExportResult::Written || result == ExportResult::CannotOpen ||
                    result == ExportResult::WriteFailed);
        written += result == ExportResult::Written ? 1 : 0;
    }
    stop = true;
    planter.join();
    EXPECT_EQ(readBytes(victim), "orört");
    EXPECT_GT(written, 0);
}

} // namespace
