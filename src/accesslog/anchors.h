// SPDX-License-Identifier: Apache-2.0
#pragma once

// Anchors: heads of the access log kept outside the register (the system log, the log
// controller's file of `rivo-admin log head` lines, the copies in a backup folder). The chain is
// checked against each: someone who can write the register can rewrite the chain so that it
// holds together, but not the anchors taken before the rewrite.

#include "access_log.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct AccessLogAnchor {
    AccessLogHead head;
    std::string registerName; // empty when the source does not say (a copy's own head)
    std::string source;       // in Swedish, for messages: "heads.txt rad 3", "kopia.db"
};

// The anchor in a line that holds "rad=N hash=H" (accessLogAnchorLine, with or without the
// system log's prefix); nullopt when the line holds none.
std::optional<AccessLogAnchor> parseAnchorLine(std::string_view line);

// A source of anchors as read. complete: the source has a line for every append of the register
// (the system log), so a row after its newest anchor was not written by the program.
struct AnchorSource {
    std::string name;
    bool complete = false;
    std::vector<AccessLogAnchor> anchors;
};

// A file of anchor lines. Blank lines and lines starting with # are skipped; any other line
// without an anchor is an error (a file the controller keeps must not be half read).
bool readAnchorFile(const std::string& path, bool complete, AnchorSource& source,
                    std::string& error);

// How encrypted copies are recognised and read, supplied by the caller, who holds the passphrase:
// decrypt gives the plaintext (the register's SQLite file), or false with the reason in error.
struct CopyDecrypter {
    std::function<bool(int fd)> isEncrypted;
    std::function<bool(int fd, std::string& plain, std::string& error)> decrypt;
};

// The head recorded in each copy in the folder: a plain copy is the register's SQLite file, an
// encrypted one is read through decrypt (whose authentication covers the head). Files that are
// neither are skipped; a copy that cannot be read is an error naming it.
bool readBackupAnchors(const std::string& folder, const CopyDecrypter& decrypt,
                       AnchorSource& source, std::vector<std::string>& errors);

// The system journal's lines of ident RIVO-IV (journalctl -t RIVO-IV -o cat). false with the
// reason when the journal cannot be read here.
bool readJournalAnchors(AnchorSource& source, std::string& reason);

struct AnchorVerdict {
    std::vector<std::string> failures; // each names the anchor and its source
    std::vector<std::string> notes;    // anchors explained by a restore, sources without lines
    int confirmed = 0;
};

// Checks the sound chain against every anchor of the sources that names this register or no
// register: a head number beyond the last row, or a hash that differs at that number, is a
// failure, unless a restore in the chain replaced a register whose head reached that number.
// From a complete source, a row after its newest anchor is a failure when its time is more than
// a minute from now (earlier: written behind the program's back; later: a forged time).
AnchorVerdict checkAnchors(const AccessLogCheck& chain, const std::string& registerName,
                           const std::vector<AnchorSource>& sources, std::int64_t nowUnixSeconds);
