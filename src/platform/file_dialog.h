// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>
#include <string>

// The one way the program asks for the name of a file to write (backup, export). The application
// installs a handler that shows the real dialog; tests install one that answers.

struct SaveFileRequest {
    std::string caption;
    std::string directory;
    std::string fileName; // proposed name
    std::string filter;   // for example "Textfiler (*.txt)"
    // Added to a name typed without an extension, for example "txt".
    std::string defaultSuffix;
    void* owner = nullptr; // null: the main window
};

using SaveFileHandler = std::function<std::string(const SaveFileRequest&)>;

// The chosen path, or an empty text when the user cancelled. Without a handler nothing is asked
// and the answer is "cancelled".
std::string askSaveFileName(const SaveFileRequest& request);

// Installs a handler and returns the previous one.
SaveFileHandler setSaveFileHandler(SaveFileHandler handler);
