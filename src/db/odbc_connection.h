// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <sql.h>

// The process-wide ODBC handles, shared by the statement operations.
SQLHENV environmentHandle();
SQLHDBC connectionHandle();
