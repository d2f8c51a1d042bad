#include "login_backoff.h"

#include "clock.h"

#include <algorithm>

namespace {

constexpr int kFreeFailures = 3;
constexpr std::int64_t kFirstWaitMs = 1000;
constexpr std::int64_t kLongestWaitMs = 30000;

} // namespace

std::int64_t LoginBackoff::waitAfter(int failures) {
    if (failures < kFreeFailures) {
        return 0;
    }
    // Doubling stops at the longest wait long before the shift could overflow.
    const int doublings = std::min(failures - kFreeFailures, 5);
    return std::min(kFirstWaitMs << doublings, kLongestWaitMs);
}

std::int64_t LoginBackoff::remainingWait(const std::string& userName) const {
    const auto found = failures_.find(userName);
    if (found == failures_.end()) {
        return 0;
    }
    const std::int64_t until = found->second.lastAt + waitAfter(found->second.count);
    return std::max<std::int64_t>(0, until - steadyMilliseconds());
}

void LoginBackoff::recordFailure(const std::string& userName) {
    Failures& failures = failures_[userName];
    ++failures.count;
    failures.lastAt = steadyMilliseconds();
}

void LoginBackoff::recordSuccess(const std::string& userName) {
    failures_.erase(userName);
}

LoginBackoff& loginBackoff() {
    static LoginBackoff backoff;
    return backoff;
}
