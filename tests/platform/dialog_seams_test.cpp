// SPDX-License-Identifier: Apache-2.0
#include "file_dialog.h"
#include "message_capture.h"

#include <gtest/gtest.h>

namespace {

TEST(SaveFileSeam, HandlerAnswersAndWithoutOneTheQuestionIsCancelled) {
    EXPECT_EQ(askSaveFileName(SaveFileRequest{}), "");
    SaveFileRequest seen;
    SaveFileHandler previous = setSaveFileHandler([&seen](const SaveFileRequest& request) {
        seen = request;
        return std::string("/tmp/export.txt");
    });
    SaveFileRequest request;
    request.caption = "Spara textfil";
    request.fileName = "DODODA_backup.db";
    EXPECT_EQ(askSaveFileName(request), "/tmp/export.txt");
    EXPECT_EQ(seen.caption, "Spara textfil");
    EXPECT_EQ(seen.fileName, "DODODA_backup.db");
    setSaveFileHandler(previous);
    EXPECT_EQ(askSaveFileName(request), "");
}

TEST(MessageSeam, OwnerAndAnswerReachTheHandler) {
    MessageCapture messages(AnswerNo);
    int owner = 0;
    MessageRequest request;
    request.text = "Ta bort?";
    request.buttons = MessageButtons::YesNo;
    request.owner = &owner;
    EXPECT_EQ(showMessageBox(request), AnswerNo);
    EXPECT_EQ(showMessage("Klart."), AnswerNo);
    ASSERT_EQ(messages.requests().size(), 2u);
    EXPECT_EQ(messages.requests()[0].owner, &owner);
    EXPECT_EQ(messages.requests()[1].caption, "RIVO-IV");
    EXPECT_EQ(messages.requests()[1].owner, nullptr);
    EXPECT_FALSE(messages.requests()[1].withoutOwner);
}

} // namespace
