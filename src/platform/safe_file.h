// SPDX-License-Identifier: Apache-2.0
#pragma once

// The one way an output file is written (export, JSON, PDF, norm files, backups, logs).
//
// The data goes to a temporary file created beside the target with O_CREAT|O_EXCL|O_NOFOLLOW,
// mode 0600 whatever the umask, and is renamed over the target only when it is complete and on
// disk. A failure, or a kill at any moment, leaves an earlier file of that name as it was and no
// partial file under the target's name. A target that is a symbolic link (dangling or not), a
// folder, a FIFO, a device or a socket is refused with a message naming it.
//
// No output is ever written onto the register or a file kept beside it (register_files.h); only
// the restore, which replaces the register on purpose, and the copies it keeps, say so.
//
// While a writer lives it holds an exclusive flock on its temporary file. Opening a writer first
// removes the temporaries of earlier writers of the same target whose lock is free: what a killed
// run left behind.

#include "register_files.h"

#include <cstddef>
#include <string>
#include <string_view>

enum class SafeFileTarget {
    Output,      // every export, report, log, norm file and backup
    RegisterFile // the register itself or a copy kept beside it, written by a restore
};

class SafeFile {
  public:
    SafeFile() = default;
    ~SafeFile(); // abandons an uncommitted temporary
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Checks the target and creates the empty temporary. False with a Swedish message naming the
    // target when the target may not be written or the temporary cannot be made.
    bool open(const std::string& target, std::string& error,
              SafeFileTarget kind = SafeFileTarget::Output);

    // Appends bytes. False (and the writer is spoilt) on any failure such as a full disk; the
    // reason is given by commit().
    bool write(std::string_view bytes);

    // For writers that fill the file themselves (a PDF printer, VACUUM INTO): the temporary's path
    // and descriptor. What they write there is committed like the bytes given to write().
    const std::string& temporaryPath() const { return temporary_; }
    int descriptor() const { return fd_; }

    // Makes the file the target: flush, fsync, rename, fsync of the folder. False with a message
    // naming the target when anything failed; the temporary is then removed. A folder that cannot
    // be flushed after the rename is also a failure: the file stands under its name, but a power
    // cut could still take it away, and the message says so.
    bool commit(std::string& error);

    // The same, but the target is claimed only when no file of that name exists (a link, a
    // folder or a file another writer has just claimed counts): the rename never replaces
    // anything. False when the name is taken, with a message naming it; targetTaken() then
    // tells that this was the reason. The temporary is removed on every failure.
    bool commitNoReplace(std::string& error);
    bool targetTaken() const { return targetTaken_; }

    // Removes the temporary; the target is left as it was.
    void abandon();

    const std::string& target() const { return target_; }

  private:
    // Flushes the temporary and gives it mode 0600; the errno of a failure, or 0.
    int flushTemporary();
    // After the rename: closes the writer and makes the rename durable. False, with a message,
    // when the folder could not be flushed.
    bool finishRenamed(std::string& error);

    std::string target_;
    std::string temporary_;
    SafeFileTarget kind_ = SafeFileTarget::Output;
    int fd_ = -1;
    int writeErrno_ = 0;
    bool targetTaken_ = false;
};

// Checks that a path may be written as an output file: it does not exist, or it is a regular file
// (not a symbolic link) and, for an output, neither the register nor a file of its. False with a
// Swedish message naming it otherwise.
bool outputTargetAllowed(const std::string& target, std::string& error,
                         SafeFileTarget kind = SafeFileTarget::Output);

// Writes bytes to a target through a SafeFile in one call.
bool writeFileSafely(const std::string& target, std::string_view bytes, std::string& error);

// Removes the temporaries that killed writers left beside the target (their lock is free).
// Returns how many were removed.
int removeLeftoverTemporaries(const std::string& target);

// Removes the leftover temporaries of every target in folder whose name starts with namePrefix,
// for outputs that get a new name each run (a backup named by the time of day). A temporary whose
// writer still runs is kept. Returns how many were removed.
int removeLeftoverTemporariesOfFamily(const std::string& folder, std::string_view namePrefix);

// The prefix and marker of a temporary's name: ".<name>.rivo-tmp-XXXXXX" beside "<name>".
inline constexpr std::string_view kTemporaryMarker = ".rivo-tmp-";
