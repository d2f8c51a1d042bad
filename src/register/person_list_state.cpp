#include "person_list_state.h"

PersonListState& personListState() {
    static PersonListState state;
    return state;
}
