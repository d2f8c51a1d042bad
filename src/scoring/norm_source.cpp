// SPDX-License-Identifier: Apache-2.0
#include "norm_source.h"

#include <cstring>

namespace {

class DatabaseNormSource : public NormSource {
  public:
    DbResult readNormRow(NormRequest& request) override { return DoReadNormerRow(request); }
    DbResult readIndexRange(const char* normgrupp, const char* indexKey, std::int32_t& maximum,
                            std::int32_t& minimum) override {
        return DoReadIndexRange(normgrupp, indexKey, maximum, minimum);
    }
    DbResult readIndexRow(const char* normgrupp, const char* indexKey, std::int32_t sum,
                          IndexResult& result, std::uint32_t& unreadable) override {
        return DoReadIndexNormer(normgrupp, indexKey, sum, result, &unreadable);
    }
};

// The fields an index-row lookup writes.
void copyLookupFields(IndexResult& to, const IndexResult& from) {
    to.IK = from.IK;
    to.PERC = from.PERC;
    to.KONF_LOW90 = from.KONF_LOW90;
    to.KONF_HIGH90 = from.KONF_HIGH90;
    to.KONF_LOW95 = from.KONF_LOW95;
    to.KONF_HIGH95 = from.KONF_HIGH95;
}

} // namespace

NormSource& databaseNorms() {
    static DatabaseNormSource source;
    return source;
}

DbResult CachedNormSource::readNormRow(NormRequest& request) {
    const auto key = std::make_tuple(std::string(request.NORMGRUPP), std::string(request.DELSKALA),
                                     std::string(request.DELGRUPP));
    if (const auto found = normRows_.find(key); found != normRows_.end()) {
        if (found->second.result == DB_DONE) {
            std::memcpy(request.S, found->second.S, sizeof request.S);
            request.unreadable = found->second.unreadable;
        }
        return found->second.result;
    }
    const DbResult result = DoReadNormerRow(request);
    NormRowEntry entry{result, {}, request.unreadable};
    std::memcpy(entry.S, request.S, sizeof entry.S);
    normRows_.emplace(key, entry);
    return result;
}

DbResult CachedNormSource::readIndexRange(const char* normgrupp, const char* indexKey,
                                          std::int32_t& maximum, std::int32_t& minimum) {
    const auto key = std::make_pair(std::string(normgrupp), std::string(indexKey));
    if (const auto found = ranges_.find(key); found != ranges_.end()) {
        if (found->second.result == DB_DONE) {
            maximum = found->second.maximum;
            minimum = found->second.minimum;
        }
        return found->second.result;
    }
    const DbResult result = DoReadIndexRange(normgrupp, indexKey, maximum, minimum);
    ranges_.emplace(key, RangeEntry{result, maximum, minimum});
    return result;
}

DbResult CachedNormSource::readIndexRow(const char* normgrupp, const char* indexKey,
                                        std::int32_t sum, IndexResult& result,
                                        std::uint32_t& unreadable) {
    const auto key = std::make_tuple(std::string(normgrupp), std::string(indexKey), sum);
    if (const auto found = indexRows_.find(key); found != indexRows_.end()) {
        if (found->second.result == DB_DONE) {
            copyLookupFields(result, found->second.values);
            unreadable = found->second.unreadable;
        }
        return found->second.result;
    }
    const DbResult read = DoReadIndexNormer(normgrupp, indexKey, sum, result, &unreadable);
    indexRows_.emplace(key, IndexRowEntry{read, result, unreadable});
    return read;
}
