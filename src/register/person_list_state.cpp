// SPDX-License-Identifier: Apache-2.0
#include "person_list_state.h"

PersonListState& personListState() {
    static PersonListState state;
    return state;
}
