-- SPDX-License-Identifier: Apache-2.0
-- Failed logins per user name, so that the wait after repeated failures holds across a restart
-- of the program and across workstations (src/register/login_backoff.h). ANVANDARNYCKEL is the
-- user name as compared (src/db/user_name_key.h: spaces trimmed, without case), so that
-- "PSYKOLOG" and "psykolog " count as "psykolog". ANTAL is the number of failures in a row,
-- SENAST the time of the last one in milliseconds since 1970-01-01 UTC. A successful login
-- removes the name's row.
-- Statements are separated by a semicolon at the end of a line.

CREATE TABLE INLOGGNINGSFORSOK (
    ANVANDARNYCKEL VARCHAR(200) NOT NULL PRIMARY KEY,
    ANTAL INTEGER NOT NULL,
    SENAST BIGINT NOT NULL
);
