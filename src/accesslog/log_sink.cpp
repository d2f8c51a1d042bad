// SPDX-License-Identifier: Apache-2.0
#include "log_sink.h"

#include <cstdio>

bool LogSink::open(const std::string& header, std::string& error) {
    if (path_ != "-" && !file_.open(path_, error)) {
        return false;
    }
    return put(header);
}

bool LogSink::put(const std::string& text) {
    if (path_ == "-") {
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    }
    return file_.write(text);
}

bool LogSink::commit(std::string& error) {
    if (path_ == "-") {
        if (std::fflush(stdout) != 0) {
            error = "Fel vid skrivning till standard ut.";
            return false;
        }
        return true;
    }
    return file_.commit(error);
}
