-- SPDX-License-Identifier: Apache-2.0
-- One stored test person with raw scores, for the report from the installed files (isql, one
-- statement a line).
INSERT INTO TESTPERSON (ID, NAMN, SEX, AGE, TESTDATE, BORNDATE, HANDEDNESS, NI_TEST) VALUES (1, 'Eva Lind', 2, 42, '2011-02-13', '1968-09-30', 1, 0)
INSERT INTO TESTDATA VALUES (1, '2011-02-13', 40, 10, 25, 26, 9, 6, 8, 5, 9, 6, 17, 30, 12, 27, 13, 14, 60, -9, -9, 15, 20, -9, -9)
UPDATE NAMEID SET IDNOW = 1
