-- SPDX-License-Identifier: Apache-2.0
-- Tables of the RIVO-IV database, the same text for the SQLite file and for a PostgreSQL server
-- that several workstations share, so that the program sends the same statements to both. Names
-- are left unquoted (PostgreSQL folds them to lower case, in the schema and in every statement
-- alike) except "INDEX", a keyword, quoted. Dates are DATE columns: the SQLite driver stores them
-- as text YYYY-MM-DD, and the server's driver delivers them in the same form.
-- Statements are separated by a semicolon at the end of a line.

CREATE TABLE TESTPERSON (
    ID INTEGER NOT NULL PRIMARY KEY,
    NAMN VARCHAR(50),
    ADRESS VARCHAR(50),
    TELEFON VARCHAR(50),
    NATIONALITET VARCHAR(50),
    HOMELANGUAGE VARCHAR(50),
    UTBILDNING VARCHAR(50),
    TESTAD_VID VARCHAR(50),
    TESTLEDARE VARCHAR(50),
    SEX INTEGER,
    AGE INTEGER,
    TESTDATE DATE,
    BORNDATE DATE,
    HANDEDNESS INTEGER,
    NI_TEST INTEGER,
    OTHER VARCHAR(50)
);

CREATE TABLE TESTDATA (
    PERSONALDATA_ID INTEGER NOT NULL PRIMARY KEY,
    TD_TESTDATE DATE,
    blockmonster INTEGER,
    BUT INTEGER,
    likheter INTEGER,
    sifferrepetition INTEGER,
    srfram INTEGER,
    srlfram INTEGER,
    srbak INTEGER,
    srlbak INTEGER,
    SS INTEGER,
    SSO INTEGER,
    Matriser INTEGER,
    Ordforrad INTEGER,
    aritmetik INTEGER,
    symbolletning INTEGER,
    visuellapussel INTEGER,
    information INTEGER,
    kodning INTEGER,
    BSS INTEGER,
    BO INTEGER,
    figurvikter INTEGER,
    forstaelse INTEGER,
    overstrykning INTEGER,
    bildkomplettering INTEGER
);

CREATE TABLE NAMEID (
    RECNO INTEGER NOT NULL PRIMARY KEY,
    IDNOW INTEGER NOT NULL
);

CREATE TABLE NORMER (
    NORMGRUPP VARCHAR(50) NOT NULL,
    DELSKALA VARCHAR(50) NOT NULL,
    DELGRUPP VARCHAR(50) NOT NULL,
    S1 INTEGER, S2 INTEGER, S3 INTEGER, S4 INTEGER, S5 INTEGER,
    S6 INTEGER, S7 INTEGER, S8 INTEGER, S9 INTEGER, S10 INTEGER,
    S11 INTEGER, S12 INTEGER, S13 INTEGER, S14 INTEGER, S15 INTEGER,
    S16 INTEGER, S17 INTEGER, S18 INTEGER, S19 INTEGER
);
CREATE INDEX NORMER_KEY ON NORMER (NORMGRUPP, DELSKALA, DELGRUPP);

CREATE TABLE INDEX_NORMER (
    NORMGRUPP VARCHAR(50) NOT NULL,
    "INDEX" VARCHAR(10) NOT NULL,
    SKAL INTEGER NOT NULL,
    IK INTEGER,
    PERC REAL,
    KONF_LOW90 INTEGER,
    KONF_HIGH90 INTEGER,
    KONF_LOW95 INTEGER,
    KONF_HIGH95 INTEGER
);
CREATE INDEX INDEX_NORMER_KEY ON INDEX_NORMER (NORMGRUPP, "INDEX", SKAL);

CREATE TABLE NORMGRUPPER (
    NORMGRUPP VARCHAR(50) NOT NULL,
    DELGRUPP VARCHAR(50) NOT NULL,
    SEKVENS INTEGER NOT NULL,
    BESKRIVNING VARCHAR(64)
);
CREATE INDEX NORMGRUPPER_KEY ON NORMGRUPPER (NORMGRUPP, DELGRUPP);

CREATE TABLE SEC (
    USERID VARCHAR(50) NOT NULL PRIMARY KEY,
    PASSWORD VARCHAR(128)
);

-- Where the norm tables come from: one row with RECNO = 1. SYNTETISKA is 1 for the synthetic
-- demonstration norms that init-db writes and 0 for licensed norms loaded by import-norms, which
-- also sets IMPORTERAD (when, UTC) and increases NORMVERSION, so that a workstation holding the
-- norm tables in memory sees that they were replaced. A database without this table counts as
-- holding the demonstration norms.
CREATE TABLE NORMKALLA (
    RECNO INTEGER NOT NULL PRIMARY KEY,
    SYNTETISKA INTEGER NOT NULL,
    IMPORTERAD VARCHAR(50),
    NORMVERSION INTEGER NOT NULL DEFAULT 0
);
