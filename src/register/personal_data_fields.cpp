// SPDX-License-Identifier: Apache-2.0
#include "personal_data_fields.h"

const PersonalDataFieldInfo kPersonalDataFields[kPersonalDataFieldCount] = {
    {"namnField", 17, 0, 105, 120, 400, 49, false, true, "Namn"},
    {"adressField", 18, 0, 105, 150, 400, 49, false, false, "Adress"},
    {"telefonField", 19, 0, 105, 180, 150, 20, false, false, "Telefon"},
    {"nationalitetField", 20, 0, 105, 210, 150, 20, false, false, "Nationalitet"},
    {"hemsprakField", 21, 0, 105, 240, 150, 20, false, false, "HomeLanguage"},
    {"utbildningField", 22, 0, 105, 270, 400, 49, false, false, "Utbildning"},
    {"testadVidField", 23, 0, 105, 300, 400, 49, false, false, "TestadVid"},
    {"testledareField", 24, 0, 105, 330, 400, 49, false, true, "Testledare"},
    {"ovrigtField", 30, 0, 105, 360, 400, 49, false, false, "Other"},
    {"testdatumField", 25, 32, 605, 120, 80, 8, false, true, "TestDate"},
    {"fodelsedatumField", 26, 32, 605, 150, 80, 8, false, true, "BornDate"},
    {"testalderField", 27, 33, 605, 180, 60, 8, false, false, nullptr},
    {"konField", 28, 34, 605, 210, 20, 1, true, true, "Sex"},
    {"hanthetField", 29, 35, 605, 240, 20, 1, true, false, "Handedness"},
};
