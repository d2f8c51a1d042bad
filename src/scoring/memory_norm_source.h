// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "norm_snapshot.h"
#include "norm_source.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Answers every norm lookup from the norm tables read whole, with exactly the results of the
// statements: the first row of a repeated key in the order the database scans the table, keys
// compared byte for byte as the database compares them (case and trailing blanks count), and
// the same unreadable marks and missing-row answers. Never a database error: that could only
// come from the reading.
class MemoryNormSource : public NormSource {
  public:
    // brokenRules: what the norm checks found in the same tables.
    explicit MemoryNormSource(NormSnapshot snapshot, std::vector<std::string> brokenRules = {});

    DbResult readNormRow(NormRequest& request) override;
    DbResult readIndexRange(const char* normgrupp, const char* indexKey, std::int32_t& maximum,
                            std::int32_t& minimum) override;
    DbResult readIndexRow(const char* normgrupp, const char* indexKey, std::int32_t sum,
                          IndexResult& result, std::uint32_t& unreadable) override;
    DbResult readNormDescription(TestOccasion& occasion) override;
    void listSubgroups(const char* normgrupp,
                       const std::function<void(const char*)>& onName) override;
    const std::vector<std::string>& brokenRules() const override { return brokenRules_; }

  private:
    NormSnapshot snapshot_;
    std::vector<std::string> brokenRules_;
    // Keys joined with a byte no key can hold (the statements bind NUL-terminated text), each
    // mapped to the first row of that key.
    std::unordered_map<std::string, std::size_t> norms_;
    std::unordered_map<std::string, std::size_t> indexRows_;
    std::unordered_map<std::string, std::size_t> ranges_;
    std::unordered_map<std::string, std::size_t> descriptions_;
};

// The norm tables of the open connection, read whole on first use and kept while their state
// (version stamp and row counts) stays the same. Each call reads the state (one statement) and
// reads the tables again when the connection or the state changed: called when results open, a
// print job or an export starts. Tables read afresh are checked by the rules of check-norms; the
// source's brokenRules() names what they break. While a norm table cannot be read, the lookups
// go to the database, each failing one reported once for the job. The source answers until the
// next call.
NormSource& currentNorms();

// Whether the last currentNorms() read the tables afresh.
bool normsReloaded();

// On a server: runs check, a statement that fails when the register lacks something, and reads
// the norm tables in the same round trip, to hold them as currentNorms() would. true when both
// succeeded; false, with nothing reported and nothing held, otherwise (and elsewhere): then the
// caller checks on its own and currentNorms() reads the tables.
bool readNormsAfterCheck(const char* check);

// Whether the norm tables' state can be read together with other rows on this connection: the
// tables are held in memory and carry the version stamp. Then a caller may read the state with
// its own statement and hand it on with useNormTablesState; the next currentNorms() on the same
// connection takes it instead of reading the state itself.
bool normStateJoinable();
void useNormTablesState(const NormTablesState& state);

// DoReadOccasion for opening results: with the norm tables' state in the same round trip when
// normStateJoinable(), handed on to the currentNorms() that scores the occasion.
DbResult readOccasionForResults(std::int32_t id, TestOccasion& occasion, bool& hasScores);
