// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "access_log.h"
#include "safe_file.h"

#include <string>

// Where one form of the access log goes: standard output ("-"), or a file through the safe
// writer, which appears only at commit().
class LogSink {
  public:
    using LineForm = std::string (*)(const AccessLogRow&);
    LogSink(std::string path, LineForm line) : path_(std::move(path)), line_(line) {}

    // Opens the file (not standard output) and writes the form's header.
    bool open(const std::string& header, std::string& error);
    bool put(const std::string& text);
    bool row(const AccessLogRow& row) { return put(line_(row)); }
    bool commit(std::string& error);

  private:
    std::string path_;
    LineForm line_;
    SafeFile file_;
};
