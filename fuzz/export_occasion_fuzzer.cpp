// SPDX-License-Identifier: Apache-2.0
// Scoring and export of one stored occasion whose columns hold arbitrary values: NULL, integers
// of any size, fractions, texts of any bytes, blobs, and dates right or wrong. The values are
// written straight into a real database (as another program could have), which the export then
// reads through ODBC and scores against the demonstration norms.
//
// Whatever is stored: the export completes without a database failure, writes the header and
// exactly one person line with as many cells as the header, every cell free of line breaks, and
// says at most one thing about the person.

#include "db.h"
#include "demo_database.h"
#include "export_writer.h"
#include "message_box.h"
#include "norm_source.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

sqlite3* writer = nullptr;
std::string exportPath;
std::vector<std::string> messages; // what the export said about the person
// The norms are not fuzzed: rows read once serve every later input.
CachedNormSource& norms() {
    static CachedNormSource source;
    return source;
}

// Reads the fuzzer's bytes front to back; past the end every read gives 0.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte() { return position_ < size_ ? data_[position_++] : 0; }
    bool empty() const { return position_ >= size_; }
    std::int64_t integer() {
        std::uint64_t value = 0;
        for (int i = 0; i < 8; ++i) {
            value = value << 8 | byte();
        }
        return static_cast<std::int64_t>(value);
    }
    std::string bytes() {
        const std::size_t length =
            std::min<std::size_t>(byte(), size_ - std::min(position_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + position_), length);
        position_ += length;
        return text;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

enum class Sound { Text, Date, Small };

// Binds one column's value. Once the input has run out, a sound value of the column's kind is
// stored, so that short inputs reach the scoring too.
void bindValue(sqlite3_stmt* statement, int index, Input& input, Sound sound) {
    const int kind = input.empty() ? -1 : input.byte() % 8;
    switch (kind) {
    case 0:
        sqlite3_bind_null(statement, index);
        return;
    case 1:
        sqlite3_bind_int64(statement, index, static_cast<std::int8_t>(input.byte()));
        return;
    case 2:
        sqlite3_bind_int64(statement, index, input.integer());
        return;
    case 3: {
        const std::int64_t bits = input.integer();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        sqlite3_bind_double(statement, index, value);
        return;
    }
    case 4: {
        const std::string text = input.bytes();
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return;
    }
    case 5: {
        const std::string blob = input.bytes();
        sqlite3_bind_blob(statement, index, blob.data(), static_cast<int>(blob.size()),
                          SQLITE_TRANSIENT);
        return;
    }
    case 6: { // a date-like text, often a real date and often not
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", 1890 + input.byte(), input.byte() % 14,
                      input.byte() % 33);
        sqlite3_bind_text(statement, index, date, -1, SQLITE_TRANSIENT);
        return;
    }
    case 7: { // a long text
        const std::string text(static_cast<std::size_t>(input.byte()) * 40,
                               'A' + input.byte() % 26);
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return;
    }
    default:
        break;
    }
    switch (sound) {
    case Sound::Text:
        sqlite3_bind_text(statement, index, "Åsa Öberg", -1, SQLITE_STATIC);
        return;
    case Sound::Date:
        sqlite3_bind_text(statement, index, index == 12 ? "1985-01-02" : "2010-03-07", -1,
                          SQLITE_STATIC);
        return;
    case Sound::Small:
        sqlite3_bind_int(statement, index, 10);
        return;
    }
}

void must(bool condition, const char* what) {
    if (!condition) {
        for (const std::string& message : messages) {
            std::fprintf(stderr, "message: %s\n", message.c_str());
        }
        std::fprintf(stderr, "fuzz_export_occasion: %s\n", what);
        std::abort();
    }
}

void execute(const char* sql) {
    must(sqlite3_exec(writer, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sqlite3_errmsg(writer));
}

// Stores one person and its raw scores with the given values; the ID stored.
std::int64_t storeOccasion(Input& input) {
    execute("BEGIN; DELETE FROM TESTPERSON; DELETE FROM TESTDATA;");
    const std::int64_t id = input.empty() ? 1 : (input.byte() % 2 ? input.integer() : input.byte());
    sqlite3_stmt* person = nullptr;
    must(sqlite3_prepare_v2(writer,
                            "INSERT INTO TESTPERSON (ID, NAMN, ADRESS, TELEFON, NATIONALITET, "
                            "HOMELANGUAGE, UTBILDNING, TESTAD_VID, TESTLEDARE, SEX, AGE, TESTDATE, "
                            "BORNDATE, HANDEDNESS, NI_TEST, OTHER) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                            "?, ?, ?, ?, ?, ?, ?, ?)",
                            -1, &person, nullptr) == SQLITE_OK,
         "prepare person");
    sqlite3_bind_int64(person, 1, id);
    for (int column = 2; column <= 16; ++column) {
        const Sound sound = column <= 9 || column == 16    ? Sound::Text
                            : column == 12 || column == 13 ? Sound::Date
                                                           : Sound::Small;
        bindValue(person, column, input, sound);
    }
    must(sqlite3_step(person) == SQLITE_DONE, sqlite3_errmsg(writer));
    sqlite3_finalize(person);

    std::string sql = "INSERT INTO TESTDATA VALUES (?";
    for (int i = 0; i < 24; ++i) {
        sql += ", ?";
    }
    sql += ")";
    sqlite3_stmt* scores = nullptr;
    must(sqlite3_prepare_v2(writer, sql.c_str(), -1, &scores, nullptr) == SQLITE_OK,
         "prepare scores");
    sqlite3_bind_int64(scores, 1, id);
    bindValue(scores, 2, input, Sound::Date);
    for (int column = 3; column <= 25; ++column) {
        bindValue(scores, column, input, Sound::Small);
    }
    must(sqlite3_step(scores) == SQLITE_DONE, sqlite3_errmsg(writer));
    sqlite3_finalize(scores);
    execute("COMMIT");
    return id;
}

std::vector<std::string> fileLines() {
    std::ifstream in(exportPath, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = bytes.find("\r\n"); end != std::string::npos;
         end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    must(start == bytes.size(), "the file does not end with a line end");
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/rivo-fuzz-export-XXXXXX";
    must(mkdtemp(pattern) != nullptr, "mkdtemp");
    const std::filesystem::path folder = pattern;
    const std::string database = (folder / kDatabaseFileName).string();
    exportPath = (folder / "export.txt").string();
    std::string error;
    must(createDemoDatabase(database, "fuzz", "fuzz123", error), error.c_str());
    must(DoConnect("", "", database.c_str()) == 1, "connect");
    must(sqlite3_open(database.c_str(), &writer) == SQLITE_OK, "open");
    execute("PRAGMA synchronous = OFF");
    setMessageBoxHandler([](const MessageRequest& request) {
        messages.push_back(request.text);
        return static_cast<int>(AnswerOk);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    const std::int64_t id = storeOccasion(input);
    // An ID no 32-bit integer holds is never exported as another person: it is left out, named.
    const bool idFits = id >= std::numeric_limits<std::int32_t>::min() &&
                        id <= std::numeric_limits<std::int32_t>::max();
    messages.clear();
    ExportSelection all;
    std::fill(std::begin(all.groups), std::end(all.groups), true);
    TestOccasion occasion{};
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    const int failures = reportedDatabaseFailures();
    const ExportResult result = writeExport(exportPath, all, occasion, norms(), nullptr);
    must(reportedDatabaseFailures() == failures, "a database failure");
    must(result == ExportResult::Written, "the export did not complete");
    must(messages.size() <= 1, "more than one message about the person");
    const std::vector<std::string> lines = fileLines();
    if (!idFits) {
        must(lines.size() == 1, "a person whose ID does not fit was exported");
        must(messages.size() == 1 && messages[0].find(std::to_string(id)) != std::string::npos,
             "a person left out without a message naming the ID");
        return 0;
    }
    must(lines.size() == 2, "not exactly the header and one person");
    must(std::count(lines[0].begin(), lines[0].end(), '\t') ==
             std::count(lines[1].begin(), lines[1].end(), '\t'),
         "the person's cells do not match the header");
    for (const std::string& line : lines) {
        must(line.find_first_of("\r\n") == std::string::npos, "a line break inside a line");
    }
    return 0;
}
