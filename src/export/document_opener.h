// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>
#include <string>

// Shows a written file to the user with the desktop's default application for it, without
// waiting. A desktop without such an application is not an error: the file stays where it is.
// Tests install a handler that records the path instead.

using DocumentOpener = std::function<void(const std::string& path)>;

void openDocument(const std::string& path);

// Installs a handler and returns the previous one; an empty handler restores the desktop's.
DocumentOpener setDocumentOpener(DocumentOpener opener);
