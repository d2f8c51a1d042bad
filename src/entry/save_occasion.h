// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "test_occasion.h"

// Saving a test occasion: the person and its raw scores are written together or not at all.
//
// mode 0 (a new occasion): a person ID is taken from the counter (NAMEID), the TESTPERSON row and
// the TESTDATA row are inserted. mode 1 (a stored occasion changed): both rows of person.ID are
// rewritten; TD_TESTDATE keeps its stored value.
//
// Returns 1 when everything is committed. Returns 0 when nothing was written: the failure has
// been shown to the user, the database is as it was, and so are the ID counter and person.ID.
// An update that finds no row (the person was deleted meanwhile) is such a failure.
int saveTestOccasion(TestOccasion& occasion, int mode);

// The messages for an occasion whose stored rows are gone; %d is the person's ID.
inline constexpr const char* kPersonGoneMessage =
    "Testpersonen med ID %d finns inte längre i databasen (den kan ha tagits bort). Ändringarna "
    "har inte sparats.";
inline constexpr const char* kRawScoresGoneMessage =
    "Råpoängen för testpersonen med ID %d finns inte i databasen. Ändringarna har inte sparats.";
