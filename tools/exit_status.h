// SPDX-License-Identifier: Apache-2.0
#pragma once

// What rivo-admin's exit status tells a clinic's script.
enum ExitStatus : int {
    kExitClean = 0,        // done, and nothing to warn about
    kExitFailed = 1,       // not done: wrong use, a database or file error; no output written
    kExitWithWarnings = 2, // written, but an occasion in it has a problem that was reported
};
