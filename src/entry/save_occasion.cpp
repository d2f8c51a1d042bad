// SPDX-License-Identifier: Apache-2.0
#include "save_occasion.h"

#include "access_log.h"
#include "db.h"
#include "message_box.h"
#include "occasion_changes.h"
#include "statement.h"
#include "transaction.h"

#include <string>

namespace {

// The message has one "%d", for the person's ID.
void tellRowGone(std::string message, std::int32_t id) {
    const std::size_t slot = message.find("%d");
    if (slot != std::string::npos) {
        message.replace(slot, 2, std::to_string(id));
    }
    MessageRequest request;
    request.text = message;
    request.caption = kProgramCaption;
    request.icon = MessageIcon::Warning;
    showMessageBox(request);
}

int insertOccasion(TestOccasion& occasion) {
    const std::int32_t counter = idCounter();
    const std::int32_t formerId = occasion.person.ID;
    Transaction transaction;
    if (transaction.started() && DoInsertPD(occasion.person) == DB_DONE &&
        DoInsertTD(occasion) == DB_DONE &&
        DoAppendAccessLog(AccessEvent::OccasionCreated, occasion.person.ID, "") == DB_DONE &&
        transaction.commit()) {
        return 1;
    }
    transaction.rollback();
    // The ID was not given out after all: the next attempt takes the same one.
    idCounter() = counter;
    occasion.person.ID = formerId;
    return 0;
}

// Claims the person's row for writing and reads what is stored, so that the log can say what the
// update changes. The claim comes first for the same reason as the ID counter's: SQLite cannot
// wait for another writer once a transaction has only read. rows tells whether the person is
// still stored; stored is filled only then.
bool readStoredForUpdate(std::int32_t id, TestOccasion& stored, std::int64_t& rows) {
    Statement claim;
    if (!claim.prepare("UPDATE TESTPERSON SET ID = ID WHERE ID = ?") || !claim.bindInt(1, &id) ||
        !claim.execute()) {
        return false;
    }
    rows = claim.rowCount();
    if (rows == 0) {
        return true;
    }
    stored = TestOccasion{};
    stored.person.ID = id;
    return DoReadPD(id, stored.person) == DB_DONE && DoReadTD(stored) != DB_FAILED;
}

int updateOccasion(TestOccasion& occasion) {
    Transaction transaction;
    if (!transaction.started()) {
        return 0;
    }
    std::int64_t rows = -1;
    TestOccasion stored;
    if (!readStoredForUpdate(occasion.person.ID, stored, rows)) {
        return 0;
    }
    if (rows != 0 && DoUpdatePD(occasion.person, &rows) != DB_DONE) {
        return 0;
    }
    if (rows == 0) {
        tellRowGone(kPersonGoneMessage, occasion.person.ID);
        return 0;
    }
    if (DoUpdateTD(occasion, &rows) != DB_DONE) {
        return 0;
    }
    if (rows == 0) {
        tellRowGone(kRawScoresGoneMessage, occasion.person.ID);
        return 0;
    }
    const std::string personFields = changedPersonFields(stored.person, occasion.person);
    const int rawScores = changedRawScores(stored, occasion);
    const bool logged =
        (personFields.empty() || DoAppendAccessLog(AccessEvent::PersonChanged, occasion.person.ID,
                                                   personFields) == DB_DONE) &&
        (rawScores == 0 || DoAppendAccessLog(AccessEvent::RawScoresChanged, occasion.person.ID,
                                             std::to_string(rawScores) + " råpoäng") == DB_DONE);
    return logged && transaction.commit() ? 1 : 0;
}

} // namespace

int saveTestOccasion(TestOccasion& occasion, int mode) {
    return mode == 0 ? insertOccasion(occasion) : updateOccasion(occasion);
}
