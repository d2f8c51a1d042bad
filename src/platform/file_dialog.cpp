// SPDX-License-Identifier: Apache-2.0
#include "file_dialog.h"

#include <utility>

namespace {

SaveFileHandler& currentHandler() {
    static SaveFileHandler handler;
    return handler;
}

} // namespace

std::string askSaveFileName(const SaveFileRequest& request) {
    if (const SaveFileHandler& handler = currentHandler()) {
        return handler(request);
    }
    return {};
}

SaveFileHandler setSaveFileHandler(SaveFileHandler handler) {
    return std::exchange(currentHandler(), std::move(handler));
}
