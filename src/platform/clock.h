#pragma once

#include "date_value.h"

// "Today" for the whole program. Everything that needs the current date asks here, so tests can
// fix the day.
DateValue today();

// Makes today() return the given date until clearFixedToday() is called.
void setFixedToday(DateValue date);
void clearFixedToday();
