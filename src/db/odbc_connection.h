// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <sql.h>

// The process-wide ODBC handles, shared by the statement operations.
SQLHENV environmentHandle();
SQLHDBC connectionHandle();

#include <string>
#include <vector>

// Statements whose answer nobody waits for (a session setting, a fix of old rows), held back on a
// server to travel in the same round trip as the next statement: Statement::executeDirect sends
// them in front of its own, in one string, while no transaction is open. Whatever runs on the
// connection otherwise sends them alone first (sendDeferredStatements), a transaction before it
// begins and a disconnect before it closes, so that none is lost or runs out of order.
void deferStatement(std::string sql);
const std::vector<std::string>& deferredStatements();
// The deferred statements ran, folded into another statement's string: they are done.
void deferredStatementsSent();
// Sends each deferred statement alone, as an ordinary statement whose failure is reported.
void sendDeferredStatements();
// Whether the connection reads long answers through the driver's cursor (UseDeclareFetch): a
// string of several statements would bypass the cursor, so none is folded into a read there.
bool readsThroughCursor();
