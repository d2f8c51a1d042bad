#include "save_occasion.h"

#include "db.h"
#include "message_box.h"
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
        DoInsertTD(occasion) == DB_DONE && transaction.commit()) {
        return 1;
    }
    transaction.rollback();
    // The ID was not given out after all: the next attempt takes the same one.
    idCounter() = counter;
    occasion.person.ID = formerId;
    return 0;
}

int updateOccasion(TestOccasion& occasion) {
    Transaction transaction;
    if (!transaction.started()) {
        return 0;
    }
    std::int64_t rows = -1;
    if (DoUpdatePD(occasion.person, &rows) != DB_DONE) {
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
    return transaction.commit() ? 1 : 0;
}

} // namespace

int saveTestOccasion(TestOccasion& occasion, int mode) {
    return mode == 0 ? insertOccasion(occasion) : updateOccasion(occasion);
}
