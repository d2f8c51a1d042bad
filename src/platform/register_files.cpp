// SPDX-License-Identifier: Apache-2.0
#include "register_files.h"

#include <sys/stat.h>

#include <filesystem>

namespace {

// "DODODA-fore-": the copies a restore or a norm import keeps of the register it replaced.
std::string keptCopyPrefix() {
    return std::filesystem::path(kRegisterFileName).stem().string() + "-fore-";
}

std::string refusal(const std::string& target) {
    return target + " är registret " + kRegisterFileName +
           " eller en fil som hör till det, och skrivs aldrig över. Välj ett annat filnamn.";
}

} // namespace

bool isRegisterFileName(std::string_view name) {
    const std::string_view registerName = kRegisterFileName;
    // SQLite's companions: "-journal", "-wal", "-shm" and super-journals "-mj...".
    return name == registerName ||
           (name.starts_with(registerName) && name.substr(registerName.size()).starts_with('-')) ||
           name == kRegisterLockFileName || name.starts_with(keptCopyPrefix());
}

bool outputTargetIsNotRegister(const std::string& target, std::string& error) {
    if (isRegisterFileName(std::filesystem::path(target).filename().string())) {
        error = refusal(target);
        return false;
    }
    struct stat wanted {};
    if (::stat(target.c_str(), &wanted) != 0) {
        return true; // nothing there yet, and not a register's name
    }
    const auto same = [&wanted](const std::string& path) {
        struct stat companion {};
        return ::stat(path.c_str(), &companion) == 0 && companion.st_dev == wanted.st_dev &&
               companion.st_ino == wanted.st_ino;
    };
    // Looked at by name first, so that a folder that cannot be listed still protects them.
    const std::string registerName = kRegisterFileName;
    for (const std::string& name : {registerName, registerName + "-journal", registerName + "-wal",
                                    registerName + "-shm", std::string(kRegisterLockFileName)}) {
        if (same(name)) {
            error = refusal(target);
            return false;
        }
    }
    // The kept copies (and super-journals) bear names with a time in them: looked for by name.
    std::error_code ec;
    for (std::filesystem::directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
        if (isRegisterFileName(it->path().filename().string()) && same(it->path().string())) {
            error = refusal(target);
            return false;
        }
    }
    return true;
}
