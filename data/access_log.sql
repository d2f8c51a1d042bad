-- SPDX-License-Identifier: Apache-2.0
-- The access log: who read, changed, printed or exported whose data, when and where. One row per
-- event, numbered by SEKVENS from 1 without gaps. HASH chains every row to the one before it
-- (src/db/access_log.h gives the encoding), so a row altered, removed or inserted behind the
-- program's back breaks the chain from that row on. The log holds IDs, never names or scores.
-- TID is UTC, ISO 8601 with milliseconds ("2024-05-06T07:08:09.123Z").
-- Statements are separated by a semicolon at the end of a line. The two ways of refusing changes
-- cannot share one text: a line "-- SQLite only" or "-- PostgreSQL only" makes the next statement
-- run on that database alone. Everything else is the same for both.

CREATE TABLE ATKOMSTLOGG (
    SEKVENS INTEGER NOT NULL PRIMARY KEY,
    TID VARCHAR(30) NOT NULL,
    ANVANDARE VARCHAR(100) NOT NULL,
    ARBETSSTATION VARCHAR(100) NOT NULL,
    PROGRAM VARCHAR(20) NOT NULL,
    HANDELSE VARCHAR(30) NOT NULL,
    PERSON_ID INTEGER,
    DETALJ VARCHAR(500) NOT NULL,
    HASH VARCHAR(64) NOT NULL
);
CREATE INDEX ATKOMSTLOGG_PERSON ON ATKOMSTLOGG (PERSON_ID, TID);
CREATE INDEX ATKOMSTLOGG_ANVANDARE ON ATKOMSTLOGG (ANVANDARE, TID);

-- The head of the chain: the last row's number and hash, in the one row RECNO = 1. Every append
-- claims this row first, so appends from several workstations follow one another and the chain
-- never forks.
CREATE TABLE ATKOMSTLOGG_HUVUD (
    RECNO INTEGER NOT NULL PRIMARY KEY,
    SEKVENS INTEGER NOT NULL,
    HASH VARCHAR(64) NOT NULL
);
INSERT INTO ATKOMSTLOGG_HUVUD (RECNO, SEKVENS, HASH) VALUES (1, 0, '0000000000000000000000000000000000000000000000000000000000000000');

-- SQLite only
CREATE TRIGGER ATKOMSTLOGG_INGEN_ANDRING BEFORE UPDATE ON ATKOMSTLOGG BEGIN SELECT RAISE(ABORT, 'Åtkomstloggen kan inte ändras.'); END;
-- SQLite only
CREATE TRIGGER ATKOMSTLOGG_INGEN_BORTTAGNING BEFORE DELETE ON ATKOMSTLOGG BEGIN SELECT RAISE(ABORT, 'Åtkomstloggen kan inte ändras.'); END;
-- PostgreSQL only
CREATE FUNCTION atkomstlogg_vagra() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RAISE EXCEPTION 'Åtkomstloggen kan inte ändras.'; END$$;
-- PostgreSQL only
CREATE TRIGGER ATKOMSTLOGG_INGEN_ANDRING BEFORE UPDATE OR DELETE ON ATKOMSTLOGG FOR EACH ROW EXECUTE FUNCTION atkomstlogg_vagra();
-- PostgreSQL only
CREATE TRIGGER ATKOMSTLOGG_INGEN_TOMNING BEFORE TRUNCATE ON ATKOMSTLOGG FOR EACH STATEMENT EXECUTE FUNCTION atkomstlogg_vagra();
