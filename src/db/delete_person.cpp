// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"
#include "db.h"
#include "statement.h"
#include "transaction.h"

namespace {

// Runs one bound statement of the transaction; it does not commit by itself.
bool runWithId(const char* sql, std::int32_t* id) {
    Statement statement;
    return statement.prepare(sql) && statement.bindInt(1, id) && statement.execute();
}

} // namespace

DbResult DoDeletePerson(std::int32_t id) {
    Transaction transaction;
    if (!transaction.started()) {
        return DB_FAILED;
    }
    const bool done = runWithId("DELETE FROM TESTPERSON WHERE ID = ?", &id) &&
                      runWithId("DELETE FROM TESTDATA WHERE PERSONALDATA_ID = ?", &id) &&
                      DoAppendAccessLog(AccessEvent::PersonDeleted, id, "") == DB_DONE &&
                      transaction.commit();
    return done ? DB_DONE : DB_FAILED;
}
