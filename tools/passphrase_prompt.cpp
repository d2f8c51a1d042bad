// SPDX-License-Identifier: Apache-2.0
#include "passphrase_prompt.h"

#include "passphrase_input.h"
#include "silent_terminal.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// One line from standard input, byte by byte into the buffer (no stream buffers a copy of it),
// without echo on a terminal. false at the end of the input before any line.
bool readTypedLine(const char* prompt, SecretBuffer& line) {
    line = SecretBuffer(kLongestPassphrase);
    bool gotAny = false;
    {
        const SilentTerminal silent(prompt);
        for (;;) {
            unsigned char byte = 0;
            const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            gotAny = true;
            if (byte == '\n') {
                break;
            }
            line.push_back(byte); // a longer line is cut at the buffer's end
            byte = 0;
        }
    }
    if (!line.empty() && line.view().back() == '\r') {
        line.resize(line.size() - 1);
    }
    return gotAny;
}

} // namespace

bool readPassphrase(const std::string& file, bool confirm, SecretBuffer& passphrase) {
    if (!file.empty()) {
        std::string error;
        if (!readPassphraseFile(file, passphrase, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        // A file is its own confirmation; only the length rule applies.
        if (confirm) {
            if (const std::string problem = newPassphraseProblem(passphrase, nullptr);
                !problem.empty()) {
                std::fprintf(stderr, "%s\n", problem.c_str());
                return false;
            }
        }
        return true;
    }
    if (!readTypedLine("Lösenfras: ", passphrase) || passphrase.empty()) {
        std::fprintf(stderr, "Ingen lösenfras angavs.\n");
        return false;
    }
    if (!confirm) {
        return true;
    }
    SecretBuffer again;
    readTypedLine("Lösenfrasen igen: ", again);
    if (const std::string problem = newPassphraseProblem(passphrase, &again); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return false;
    }
    return true;
}
