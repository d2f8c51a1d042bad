// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "statement.h"

#include <string>
#include <string_view>

DbResult DoCheckRegisterIntact() {
    if (connectedToServer()) {
        return DB_DONE; // a server keeps its own pages whole
    }
    Statement statement;
    char finding[512] = {};
    SQLLEN length = 0;
    if (!statement.executeDirect("PRAGMA quick_check") ||
        !statement.bindColumnText(1, finding, sizeof finding, &length)) {
        return DB_FAILED; // a file SQLite cannot even check: reported
    }
    std::string found;
    int findings = 0;
    const int listed = statement.fetchEach([&] {
        std::string_view text = finding;
        if (text == "ok") {
            return;
        }
        ++findings;
        // The first finding, without the line naming the schema ("*** in database main ***").
        if (found.empty()) {
            if (text.starts_with("***") && text.find('\n') != std::string_view::npos) {
                text.remove_prefix(text.find('\n') + 1);
            }
            found = text.substr(0, text.find('\n'));
        }
    });
    statement.closeCursor();
    statement.commit();
    if (listed != 1) {
        return DB_FAILED;
    }
    if (findings == 0) {
        return DB_DONE;
    }
    reportDatabaseFailure(std::string(kDamagedRegisterMessage) + " SQLite fann " +
                          (findings == 1 ? "ett fel" : std::to_string(findings) + " fel") +
                          ", det första: " + found);
    return DB_FAILED;
}
