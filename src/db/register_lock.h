// SPDX-License-Identifier: Apache-2.0
#pragma once

// One lock per register file, whoever opens it and from whatever session: a flock on a lock file
// beside the register. The program and every rivo-admin command that opens the register hold it
// shared, for as long as the process lives: several of them may use the register together (two
// users on one shared register, a nightly backup while the program runs). A restore, which
// replaces the register's file, holds it exclusively: it waits for no one and no one starts
// while it runs. The lock lies on its own file because the register's file is replaced by a
// rename, and a lock on the old inode would not keep anyone from the new one.
//
// The per-user single-instance rule (instance_lock.h) is another matter and stays as it is.

#include "register_files.h" // kRegisterLockFileName, the lock file's name beside the register

#include <string>

enum class RegisterLockMode { Shared, Exclusive };

// The lock file of the register in folder.
std::string registerLockPath(const std::string& folder);

// Takes the lock on the register in folder for this process and keeps it until the process ends,
// releaseRegisterLock, or the lock of another folder is taken. A lock the process already holds
// on that folder is kept (an exclusive one answers a request for a shared one). false with a
// Swedish message when another process holds it in a way that excludes this one, or when the
// lock file cannot be used.
bool holdRegisterLock(const std::string& folder, RegisterLockMode mode, std::string& error);

void releaseRegisterLock();
