// SPDX-License-Identifier: Apache-2.0
#include "memory_norm_source.h"

#include "norm_checks.h"

#include <chrono>
#include <cstring>
#include <memory>

namespace {

std::string joinKey(std::initializer_list<std::string_view> parts) {
    std::string key;
    for (const std::string_view part : parts) {
        key.append(part);
        key.push_back('\0');
    }
    return key;
}

std::string sumKey(std::string_view normgrupp, std::string_view index, std::int32_t sum) {
    return joinKey({normgrupp, index, std::to_string(sum)});
}

// The first row of every key wins, as in a lookup that fetches one row.
template <typename Rows, typename KeyOf>
void indexFirstRows(std::unordered_map<std::string, std::size_t>& map, const Rows& rows,
                    KeyOf keyOf) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (auto key = keyOf(rows[i]); !key.empty()) {
            map.emplace(std::move(key), i);
        }
    }
}

} // namespace

MemoryNormSource::MemoryNormSource(NormSnapshot snapshot, std::vector<std::string> brokenRules)
    : snapshot_(std::move(snapshot)), brokenRules_(std::move(brokenRules)) {
    indexFirstRows(norms_, snapshot_.norms, [](const NormSnapshotRow& row) {
        return joinKey({row.normgrupp, row.delskala, row.delgrupp});
    });
    indexFirstRows(indexRows_, snapshot_.indexNorms, [](const IndexSnapshotRow& row) {
        return row.skalIsInteger ? sumKey(row.normgrupp, row.index, row.skal) : std::string();
    });
    indexFirstRows(ranges_, snapshot_.ranges, [](const IndexRangeSnapshot& row) {
        return joinKey({row.normgrupp, row.index});
    });
    indexFirstRows(descriptions_, snapshot_.subgroups, [](const SubgroupSnapshot& row) {
        return joinKey({row.normgrupp, row.delgrupp});
    });
}

DbResult MemoryNormSource::readNormRow(NormRequest& request) {
    const auto found =
        norms_.find(joinKey({request.NORMGRUPP, request.DELSKALA, request.DELGRUPP}));
    if (found == norms_.end()) {
        return DB_NO_ROW;
    }
    const NormSnapshotRow& row = snapshot_.norms[found->second];
    std::memcpy(request.S, row.S, sizeof request.S);
    request.unreadable = row.unreadable;
    return DB_DONE;
}

DbResult MemoryNormSource::readIndexRange(const char* normgrupp, const char* indexKey,
                                          std::int32_t& maximum, std::int32_t& minimum) {
    const auto found = ranges_.find(joinKey({normgrupp, indexKey}));
    if (found == ranges_.end()) {
        return DB_NO_ROW;
    }
    const IndexRangeSnapshot& range = snapshot_.ranges[found->second];
    if (range.result == DB_DONE) {
        maximum = range.maximum;
        minimum = range.minimum;
    }
    return range.result;
}

DbResult MemoryNormSource::readIndexRow(const char* normgrupp, const char* indexKey,
                                        std::int32_t sum, IndexResult& result,
                                        std::uint32_t& unreadable) {
    const auto found = indexRows_.find(sumKey(normgrupp, indexKey, sum));
    if (found == indexRows_.end()) {
        return DB_NO_ROW;
    }
    const IndexSnapshotRow& row = snapshot_.indexNorms[found->second];
    result.IK = row.values.IK;
    result.PERC = row.values.PERC;
    result.KONF_LOW90 = row.values.KONF_LOW90;
    result.KONF_HIGH90 = row.values.KONF_HIGH90;
    result.KONF_LOW95 = row.values.KONF_LOW95;
    result.KONF_HIGH95 = row.values.KONF_HIGH95;
    unreadable = row.unreadable;
    return DB_DONE;
}

DbResult MemoryNormSource::readNormDescription(TestOccasion& occasion) {
    const auto found = descriptions_.find(joinKey({occasion.NORMGRUPP, occasion.ageBand}));
    if (found == descriptions_.end()) {
        return DB_NO_ROW;
    }
    std::memcpy(occasion.normDescription, snapshot_.subgroups[found->second].beskrivning,
                sizeof occasion.normDescription);
    return DB_DONE;
}

void MemoryNormSource::listSubgroups(const char* normgrupp,
                                     const std::function<void(const char*)>& onName) {
    for (const SubgroupSnapshot& row : snapshot_.subgroupsInOrder) {
        if (row.normgrupp == normgrupp) {
            // The list reads each name into a buffer of kText50 bytes.
            char name[kText50] = {};
            std::strncpy(name, row.delgrupp.c_str(), sizeof name - 1);
            onName(name);
        }
    }
}

namespace {

struct LoadedNorms {
    int connection = 0;
    NormTablesState state;
    std::unique_ptr<MemoryNormSource> source;
    // For a job while a norm table cannot be read whole: each failing lookup reported once.
    std::unique_ptr<CachedNormSource> statements;
    bool reloaded = false;
    // A state read by a caller along with its own rows, for the next currentNorms() on that
    // connection (0: none).
    int givenConnection = 0;
    NormTablesState given;
    std::chrono::steady_clock::time_point givenAt;
};

// How long a given state stands in for reading it: the moment between reading a person and
// scoring them. One given and then not used (the opening stopped on the way) is not taken later
// for a state that may have changed since.
constexpr std::chrono::seconds kGivenStateLife{2};

LoadedNorms& loadedNorms() {
    static LoadedNorms loaded;
    return loaded;
}

NormSource& keepNorms(LoadedNorms& loaded, int connection, const NormTablesState& state,
                      NormSnapshot snapshot, const NormTables& tables) {
    loaded.source =
        std::make_unique<MemoryNormSource>(std::move(snapshot), checkNormTables(tables, false));
    loaded.connection = connection;
    loaded.state = state;
    loaded.reloaded = true;
    return *loaded.source;
}

} // namespace

NormSource& currentNorms() {
    LoadedNorms& loaded = loadedNorms();
    loaded.reloaded = false;
    const int connection = connectionSerial();
    if (connection == 0) {
        loaded.source.reset();
        return databaseNorms();
    }
    // The state first: tables changed while they are read carry a newer state, and are read
    // again next time.
    NormTablesState state;
    const bool given = loaded.givenConnection == connection &&
                       std::chrono::steady_clock::now() - loaded.givenAt < kGivenStateLife;
    loaded.givenConnection = 0;
    // Nothing held for this connection yet: the tables are read anyway, and on a server the
    // state comes with them in one round trip.
    if (!given && !(loaded.source && loaded.connection == connection)) {
        loaded.source.reset();
        NormSnapshot snapshot;
        NormTables tables;
        if (DoReadNormsInOneRoundTrip(state, snapshot, tables)) {
            return keepNorms(loaded, connection, state, std::move(snapshot), tables);
        }
    }
    const bool readable = given ? (state = loaded.given, true) : DoReadNormTablesState(state);
    if (readable && loaded.source && loaded.connection == connection && loaded.state == state) {
        return *loaded.source;
    }
    loaded.source.reset();
    NormSnapshot snapshot;
    // The same tables as check-norms reads them, for its rules: a few milliseconds, paid only
    // when the tables are read afresh.
    NormTables tables;
    const int failuresBefore = reportedDatabaseFailures();
    // A norm table that cannot be read: the statements say what is wrong, lookup by lookup.
    if (!readable || DoReadNormSnapshot(snapshot) != DB_DONE ||
        DoReadNormTables(tables) != DB_DONE || reportedDatabaseFailures() != failuresBefore) {
        loaded.statements = std::make_unique<CachedNormSource>();
        return *loaded.statements;
    }
    return keepNorms(loaded, connection, state, std::move(snapshot), tables);
}

bool readNormsAfterCheck(const char* check) {
    LoadedNorms& loaded = loadedNorms();
    const int connection = connectionSerial();
    NormTablesState state;
    NormSnapshot snapshot;
    NormTables tables;
    if (connection == 0 || !DoReadNormsInOneRoundTrip(state, snapshot, tables, check)) {
        return false;
    }
    loaded.givenConnection = 0;
    keepNorms(loaded, connection, state, std::move(snapshot), tables);
    return true;
}

bool normsReloaded() {
    return loadedNorms().reloaded;
}

bool normStateJoinable() {
    const LoadedNorms& loaded = loadedNorms();
    return loaded.source && loaded.connection != 0 && loaded.connection == connectionSerial() &&
           loaded.state.stamp != kNoNormStamp;
}

void useNormTablesState(const NormTablesState& state) {
    LoadedNorms& loaded = loadedNorms();
    loaded.given = state;
    loaded.givenConnection = connectionSerial();
    loaded.givenAt = std::chrono::steady_clock::now();
}

DbResult readOccasionForResults(std::int32_t id, TestOccasion& occasion, bool& hasScores) {
    if (!normStateJoinable()) {
        return DoReadOccasion(id, occasion, hasScores);
    }
    NormTablesState state;
    const DbResult read = DoReadOccasionWithNormState(id, occasion, hasScores, state);
    if (read == DB_DONE) {
        useNormTablesState(state);
    }
    return read;
}
