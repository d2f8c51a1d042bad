// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>
#include <string>

// Shows a written file to the user with the desktop's default application for it (xdg-open),
// without waiting for it. When no such application can be started (no opener installed, or the
// opener finds nothing for the file) whenNoViewer runs, later, from the event loop: the file
// stays where it is and the caller says where. Tests install a handler that records the path.

// Returns whether a viewer was started.
using DocumentOpener = std::function<bool(const std::string& path)>;

void openDocument(const std::string& path, std::function<void()> whenNoViewer = {});

// Installs a handler and returns the previous one; an empty handler restores the desktop's.
DocumentOpener setDocumentOpener(DocumentOpener opener);
