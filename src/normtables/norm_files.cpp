// SPDX-License-Identifier: Apache-2.0
#include "norm_files.h"

#include "csv.h"
#include "safe_file.h"
#include "system_error_text.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kGroupColumns[] = {"NORMGRUPP", "DELGRUPP", "SEKVENS", "BESKRIVNING"};
constexpr const char* kNormColumns[] = {
    "NORMGRUPP", "DELSKALA", "DELGRUPP", "S1",  "S2",  "S3",  "S4",  "S5",  "S6",  "S7",  "S8",
    "S9",        "S10",      "S11",      "S12", "S13", "S14", "S15", "S16", "S17", "S18", "S19"};
constexpr const char* kIndexColumns[] = {"NORMGRUPP",   "INDEX",      "SKAL",
                                         "IK",          "PERC",       "KONF_LOW90",
                                         "KONF_HIGH90", "KONF_LOW95", "KONF_HIGH95"};

template <std::size_t N> std::vector<std::string> columns(const char* const (&names)[N]) {
    return std::vector<std::string>(names, names + N);
}

bool readInteger(const std::string& text, std::int32_t& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    return !text.empty() && error == std::errc() && end == last;
}

bool readFloat(std::string text, bool decimalComma, float& value) {
    if (decimalComma) {
        for (char& c : text) {
            c = c == ',' ? '.' : c;
        }
    }
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    return !text.empty() && error == std::errc() && end == last && std::isfinite(value);
}

// One file: its records after the header, and the problems of reading it.
class FileReader {
  public:
    FileReader(const std::filesystem::path& folder, const char* table,
               std::vector<std::string> header, std::vector<std::string>& problems)
        : name_(normFileName(table)), header_(std::move(header)), problems_(problems) {
        read(folder / name_);
    }

    const std::vector<CsvRecord>& rows() const { return rows_; }
    bool decimalComma() const { return separator_ == ';'; }

    // The field of the named column as an integer; a problem when it is not one.
    bool integer(const CsvRecord& row, std::size_t column, std::int32_t& value) {
        if (readInteger(row.fields[column], value)) {
            return true;
        }
        problem(row.line, header_[column] + " är inte ett heltal: \"" + row.fields[column] + "\"");
        return false;
    }

    bool number(const CsvRecord& row, std::size_t column, float& value) {
        if (readFloat(row.fields[column], decimalComma(), value)) {
            return true;
        }
        problem(row.line, header_[column] + " är inte ett tal: \"" + row.fields[column] + "\"");
        return false;
    }

  private:
    void problem(int line, const std::string& rule) {
        problems_.push_back(name_ + ", rad " + std::to_string(line) + ": " + rule);
    }

    void read(const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            problems_.push_back(name_ + ": filen saknas eller kan inte läsas (" + path.string() +
                                ")");
            return;
        }
        std::ostringstream contents;
        contents << file.rdbuf();
        std::string text = contents.str();
        if (text.starts_with("\xEF\xBB\xBF")) {
            text.erase(0, 3);
        }
        if (const int line = firstNonUtf8Line(text); line != 0) {
            problem(line, "filen är inte UTF-8-kodad (spara den som CSV i UTF-8)");
            return;
        }
        const std::string firstLine = text.substr(0, text.find('\n'));
        separator_ =
            firstLine.find(',') == std::string::npos && firstLine.find(';') != std::string::npos
                ? ';'
                : ',';
        std::vector<CsvRecord> records;
        CsvProblem malformed;
        if (!parseCsv(text, separator_, records, malformed)) {
            problem(malformed.line, malformed.rule);
            return;
        }
        if (records.empty() || records[0].fields != header_) {
            std::string expected;
            for (const std::string& column : header_) {
                expected += (expected.empty() ? "" : ",") + column;
            }
            problem(records.empty() ? 1 : records[0].line, "rubrikraden ska vara " + expected);
            return;
        }
        for (std::size_t r = 1; r < records.size(); ++r) {
            if (records[r].fields.size() != header_.size()) {
                problem(records[r].line, "raden har " + std::to_string(records[r].fields.size()) +
                                             " fält, ska ha " + std::to_string(header_.size()));
                continue;
            }
            rows_.push_back(std::move(records[r]));
        }
    }

    std::string name_;
    std::vector<std::string> header_;
    std::vector<std::string>& problems_;
    std::vector<CsvRecord> rows_;
    char separator_ = ',';
};

void readGroups(const std::filesystem::path& folder, std::vector<NormGroupEntry>& rows,
                std::vector<std::string>& problems) {
    FileReader file(folder, kNormGroupTable, columns(kGroupColumns), problems);
    for (const CsvRecord& record : file.rows()) {
        NormGroupEntry row;
        row.line = record.line;
        row.normgrupp = record.fields[0];
        row.delgrupp = record.fields[1];
        row.beskrivning = record.fields[3];
        if (file.integer(record, 2, row.sekvens)) {
            rows.push_back(std::move(row));
        }
    }
}

void readNorms(const std::filesystem::path& folder, std::vector<NormEntry>& rows,
               std::vector<std::string>& problems) {
    FileReader file(folder, kNormTable, columns(kNormColumns), problems);
    for (const CsvRecord& record : file.rows()) {
        NormEntry row;
        row.line = record.line;
        row.normgrupp = record.fields[0];
        row.delskala = record.fields[1];
        row.delgrupp = record.fields[2];
        bool numbers = true;
        for (int k = 0; k < kNormBoundCount; ++k) {
            numbers = file.integer(record, static_cast<std::size_t>(3 + k), row.S[k]) && numbers;
        }
        if (numbers) {
            rows.push_back(std::move(row));
        }
    }
}

void readIndexNorms(const std::filesystem::path& folder, std::vector<IndexNormEntry>& rows,
                    std::vector<std::string>& problems) {
    FileReader file(folder, kIndexNormTable, columns(kIndexColumns), problems);
    for (const CsvRecord& record : file.rows()) {
        IndexNormEntry row;
        row.line = record.line;
        row.normgrupp = record.fields[0];
        row.index = record.fields[1];
        std::int32_t* integers[] = {&row.skal,       &row.ik,        nullptr,        &row.konfLow90,
                                    &row.konfHigh90, &row.konfLow95, &row.konfHigh95};
        bool numbers = file.number(record, 4, row.perc);
        for (std::size_t c = 0; c < std::size(integers); ++c) {
            if (integers[c] != nullptr) {
                numbers = file.integer(record, 2 + c, *integers[c]) && numbers;
            }
        }
        if (numbers) {
            rows.push_back(std::move(row));
        }
    }
}

std::string joined(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) {
        line += (line.empty() ? "" : ",") + csvField(field, ',');
    }
    return line + "\n";
}

} // namespace

std::string normFileName(const char* table) {
    return std::string(table) + ".csv";
}

std::string floatText(float value) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return error == std::errc() ? std::string(text, end) : std::string();
}

bool readNormFolder(const std::filesystem::path& folder, NormTables& tables,
                    std::vector<std::string>& problems) {
    tables = NormTables{};
    const std::size_t before = problems.size();
    readGroups(folder, tables.groups, problems);
    readNorms(folder, tables.norms, problems);
    readIndexNorms(folder, tables.indexNorms, problems);
    return problems.size() == before;
}

bool writeNormFolder(const std::filesystem::path& folder, const NormTables& tables,
                     std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code) {
        error = folder.string() + ": " + systemErrorText(code.value());
        return false;
    }
    for (const char* table : {kNormGroupTable, kNormTable, kIndexNormTable}) {
        // A link counts as there even when it leads nowhere: it is never written through.
        if (std::filesystem::symlink_status(folder / normFileName(table), code).type() !=
            std::filesystem::file_type::not_found) {
            error = (folder / normFileName(table)).string() +
                    " finns redan; välj en tom mapp så att inga ifyllda tabeller skrivs över.";
            return false;
        }
    }
    std::string groups = joined(columns(kGroupColumns));
    for (const NormGroupEntry& row : tables.groups) {
        groups +=
            joined({row.normgrupp, row.delgrupp, std::to_string(row.sekvens), row.beskrivning});
    }
    std::string norms = joined(columns(kNormColumns));
    for (const NormEntry& row : tables.norms) {
        std::vector<std::string> fields = {row.normgrupp, row.delskala, row.delgrupp};
        for (const std::int32_t bound : row.S) {
            fields.push_back(std::to_string(bound));
        }
        norms += joined(fields);
    }
    std::string indexNorms = joined(columns(kIndexColumns));
    for (const IndexNormEntry& row : tables.indexNorms) {
        indexNorms += joined({row.normgrupp, row.index, std::to_string(row.skal),
                              std::to_string(row.ik), floatText(row.perc),
                              std::to_string(row.konfLow90), std::to_string(row.konfHigh90),
                              std::to_string(row.konfLow95), std::to_string(row.konfHigh95)});
    }
    const std::pair<const char*, const std::string*> files[] = {
        {kNormGroupTable, &groups}, {kNormTable, &norms}, {kIndexNormTable, &indexNorms}};
    // The three files are written in full before any of them gets its name, so that a failure
    // leaves no part of a set behind.
    SafeFile writers[std::size(files)];
    for (std::size_t f = 0; f < std::size(files); ++f) {
        const std::string path = (folder / normFileName(files[f].first)).string();
        if (!writers[f].open(path, error)) {
            return false;
        }
        if (!writers[f].write(*files[f].second)) {
            writers[f].commit(error); // fails, and says why
            return false;
        }
    }
    for (std::size_t f = 0; f < std::size(files); ++f) {
        if (!writers[f].commit(error)) {
            for (std::size_t done = 0; done < f; ++done) {
                std::filesystem::remove(writers[done].target(), code);
            }
            return false;
        }
    }
    return true;
}
