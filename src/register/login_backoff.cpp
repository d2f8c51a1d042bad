// SPDX-License-Identifier: Apache-2.0
#include "login_backoff.h"

#include "clock.h"
#include "login_failures.h"
#include "user_name_key.h"

#include <algorithm>

namespace {

constexpr int kFreeFailures = 3;
constexpr std::int64_t kFirstWaitMs = 1000;
constexpr std::int64_t kLongestWaitMs = 30000;

// A last failure dated after now (a clock set back, another workstation's clock ahead) makes
// the wait no longer than the count alone asks.
std::int64_t remaining(int count, std::int64_t lastAt) {
    const std::int64_t wait = LoginBackoff::waitAfter(count);
    return std::clamp<std::int64_t>(lastAt + wait - utcMilliseconds(), 0, wait);
}

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
    std::int64_t wait = 0;
    LoginFailures kept;
    const std::string key = userNameKey(userName);
    readWithoutFailures_.clear();
    if (DoReadLoginFailures(userName, kept) == DB_DONE) {
        wait = remaining(kept.count, kept.lastAtMs);
        if (kept.count == 0 && unkept_.count(key) == 0) {
            readWithoutFailures_ = key;
        }
    }
    if (const auto found = unkept_.find(key); found != unkept_.end()) {
        wait = std::max(wait, remaining(found->second.count, found->second.lastAt));
    }
    return wait;
}

void LoginBackoff::recordFailure(const std::string& userName) {
    readWithoutFailures_.clear();
    const std::int64_t now = utcMilliseconds();
    LoginFailures kept;
    if (DoRecordLoginFailure(userName, now, kept) == DB_DONE) {
        return;
    }
    Failures& failures = unkept_[userNameKey(userName)];
    failures.count = std::max(failures.count, kept.count) + 1;
    failures.lastAt = now;
}

void LoginBackoff::recordSuccess(const std::string& userName) {
    const std::string key = userNameKey(userName);
    // Another workstation's failures for the name since the read are left counted: only a
    // count this success was checked against is cleared.
    if (key != readWithoutFailures_) {
        DoClearLoginFailures(userName);
    }
    readWithoutFailures_.clear();
    unkept_.erase(key);
}

LoginBackoff& loginBackoff() {
    static LoginBackoff backoff;
    return backoff;
}
