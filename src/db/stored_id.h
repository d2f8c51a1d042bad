// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>

// Person IDs are 32-bit integers: the ID counter gives them out so, the forms, the export and
// the reports print them so. A stored ID that does not fit (4294967297, 1.5, a text) or is NULL
// is no ID of the program: it is never read as another person (the statements leave 0 in its
// place), and every output that meets it names it by the text the database holds and leaves it
// out.

// The size of a buffer that keeps such a stored ID's text, as the statement read it.
inline constexpr int kStoredIdSize = 40;

// "ID 4294967297", "ID \"1.5\"", or "ID NULL" when stored is null or empty. Control characters
// are shown as '?', so that a hostile value cannot change what a terminal shows.
std::string storedIdName(const char* stored);

// The Swedish message for an output that leaves the person out: the stored ID named, why it
// cannot be read, the consequence ("testpersonen exporteras inte"), and what to do.
std::string unreadableIdMessage(const char* stored, const std::string& consequence);

// The Swedish refusal of an ID given on a command line that does not fit a person ID; empty
// when text is a person ID (an integer 0 to 2147483647). option is named in the message.
std::string personIdArgumentProblem(const std::string& option, const std::string& text);
