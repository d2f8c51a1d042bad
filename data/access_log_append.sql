-- SPDX-License-Identifier: Apache-2.0
-- On a server, a row of the access log is appended by one call of atkomstlogg_skriv: it claims
-- the head (a second appender waits there until the first has committed), numbers the row,
-- stamps it with the server's clock in UTC, computes its HASH with the server's sha256() over the
-- encoding of src/db/access_log.h (each item as its length in bytes, a colon, its UTF-8 bytes and
-- a line feed), inserts it and moves the head, and answers the row's number and hash, with the
-- database's name for the anchor the program sends to the system log. The program sends one
-- statement and waits for one answer; the lock on the head is held only on the server, for the
-- rest of the caller's transaction.
--
-- The function runs with its owner's rights (SECURITY DEFINER), so that a workstation's role,
-- which may only read the log, can append to it but never change it. Its search path is fixed
-- to the schema it was made in, with pg_temp last, so that no table of the caller's can stand in
-- for the log's. Nobody but the owner may call it until a role is granted that right.
-- Statements are separated by a semicolon at the end of a line outside a $$-quoted body; every
-- one is for PostgreSQL.

-- PostgreSQL only
CREATE OR REPLACE FUNCTION atkomstlogg_skriv(ny_anvandare VARCHAR, ny_arbetsstation VARCHAR, ny_program VARCHAR, ny_handelse VARCHAR, ny_person INTEGER, ny_detalj VARCHAR)
RETURNS TABLE (rad_sekvens INTEGER, rad_hash VARCHAR, rad_databas VARCHAR)
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
    forra VARCHAR;
    ny_nummer INTEGER;
    ny_tid VARCHAR;
    post TEXT;
    kod BYTEA := ''::BYTEA;
    ny_hash VARCHAR;
BEGIN
    UPDATE ATKOMSTLOGG_HUVUD h SET SEKVENS = h.SEKVENS + 1 WHERE h.RECNO = 1
        RETURNING h.SEKVENS, h.HASH INTO ny_nummer, forra;
    IF ny_nummer IS NULL THEN
        RAISE EXCEPTION 'Åtkomstloggens huvud saknas.';
    END IF;
    ny_tid := to_char(clock_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD"T"HH24:MI:SS.MS"Z"');
    FOREACH post IN ARRAY ARRAY[forra, ny_nummer::TEXT, ny_tid, ny_anvandare, ny_arbetsstation, ny_program, ny_handelse, COALESCE(ny_person::TEXT, ''), ny_detalj] LOOP
        kod := kod || convert_to(octet_length(convert_to(post, 'UTF8'))::TEXT || ':', 'UTF8') || convert_to(post, 'UTF8') || decode('0a', 'hex');
    END LOOP;
    ny_hash := encode(sha256(kod), 'hex');
    INSERT INTO ATKOMSTLOGG (SEKVENS, TID, ANVANDARE, ARBETSSTATION, PROGRAM, HANDELSE, PERSON_ID, DETALJ, HASH)
        VALUES (ny_nummer, ny_tid, ny_anvandare, ny_arbetsstation, ny_program, ny_handelse, ny_person, ny_detalj, ny_hash);
    UPDATE ATKOMSTLOGG_HUVUD h SET HASH = ny_hash WHERE h.RECNO = 1;
    rad_sekvens := ny_nummer;
    rad_hash := ny_hash;
    rad_databas := current_database();
    RETURN NEXT;
END$$;
-- PostgreSQL only
DO $$BEGIN EXECUTE format('ALTER FUNCTION atkomstlogg_skriv(VARCHAR, VARCHAR, VARCHAR, VARCHAR, INTEGER, VARCHAR) SET search_path = %I, pg_temp', current_schema()); END$$;
-- PostgreSQL only
REVOKE ALL ON FUNCTION atkomstlogg_skriv(VARCHAR, VARCHAR, VARCHAR, VARCHAR, INTEGER, VARCHAR) FROM PUBLIC;
-- PostgreSQL only
REVOKE ALL ON FUNCTION atkomstlogg_vagra() FROM PUBLIC;
