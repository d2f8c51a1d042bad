// SPDX-License-Identifier: Apache-2.0
#include "screen_titles.h"

#include "message_box.h"
#include "screen_ids.h"

std::string screenName(int screenId) {
    switch (screenId) {
    case SCREEN_START:
        return "Start";
    case SCREEN_PERSONAL_DATA:
        return "Information om testpersonen";
    case SCREEN_EARLIER_TESTS:
        return "Tidigare test";
    case SCREEN_RAW_SCORES:
        return "Råpoäng";
    case SCREEN_RESULTS:
        return "Resultatredovisning";
    default:
        return {};
    }
}

std::string windowTitleOf(int screenId) {
    const std::string name = screenName(screenId);
    return name.empty() ? std::string(kProgramCaption)
                        : std::string(kProgramCaption) + " – " + name;
}
