// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "db.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

// Where the scoring engine reads its norms. Results follow the database operations:
// 1 row, 9 no row, 0 error (already reported).
class NormSource {
  public:
    virtual ~NormSource() = default;
    virtual DbResult readNormRow(NormRequest& request) = 0;
    virtual DbResult readIndexRange(const char* normgrupp, const char* indexKey,
                                    std::int32_t& maximum, std::int32_t& minimum) = 0;
    // unreadable: as DoReadIndexNormer's.
    virtual DbResult readIndexRow(const char* normgrupp, const char* indexKey, std::int32_t sum,
                                  IndexResult& result, std::uint32_t& unreadable) = 0;
    // As DoReadNormDescription and DoListDelgrupp.
    virtual DbResult readNormDescription(TestOccasion& occasion) {
        return DoReadNormDescription(occasion);
    }
    virtual void listSubgroups(const char* normgrupp,
                               const std::function<void(const char*)>& onName) {
        DoListDelgrupp(normgrupp, onName);
    }
    // The rules of the norm checks (norm_checks.h) that the tables behind this source break, one
    // text each naming table, row and rule; empty when they keep them all or were not checked.
    virtual const std::vector<std::string>& brokenRules() const {
        static const std::vector<std::string> none;
        return none;
    }
};

// One statement per lookup, nothing kept: what the screens use, so that a norm table changed
// while the program runs is read afresh.
NormSource& databaseNorms();

// Keeps every row (and every missing row) it has read, for a job that scores many occasions in
// one run, such as the export. A lookup that failed with a database error is kept as failed too:
// it was reported once, and is not tried and reported again for every later occasion of the run.
// Results are otherwise exactly those of databaseNorms().
class CachedNormSource : public NormSource {
  public:
    DbResult readNormRow(NormRequest& request) override;
    DbResult readIndexRange(const char* normgrupp, const char* indexKey, std::int32_t& maximum,
                            std::int32_t& minimum) override;
    DbResult readIndexRow(const char* normgrupp, const char* indexKey, std::int32_t sum,
                          IndexResult& result, std::uint32_t& unreadable) override;

  private:
    struct NormRowEntry {
        DbResult result;
        std::int32_t S[kSubscaleCount];
        std::uint32_t unreadable;
    };
    struct RangeEntry {
        DbResult result;
        std::int32_t maximum;
        std::int32_t minimum;
    };
    struct IndexRowEntry {
        DbResult result;
        IndexResult values;
        std::uint32_t unreadable;
    };
    std::map<std::tuple<std::string, std::string, std::string>, NormRowEntry> normRows_;
    std::map<std::pair<std::string, std::string>, RangeEntry> ranges_;
    std::map<std::tuple<std::string, std::string, std::int32_t>, IndexRowEntry> indexRows_;
};
