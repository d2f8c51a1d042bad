// SPDX-License-Identifier: Apache-2.0
#pragma once

// The fourteen entry fields of the personal-data form, in tab order; the index is the field's
// control id.

inline constexpr int kPersonalDataFieldCount = 14;

enum PersonalDataField : int {
    PD_NAMN = 0,
    PD_ADRESS,
    PD_TELEFON,
    PD_NATIONALITET,
    PD_HEMSPRAK,
    PD_UTBILDNING,
    PD_TESTAD_VID,
    PD_TESTLEDARE,
    PD_OVRIGT,
    PD_TESTDATUM,
    PD_FODELSEDATUM,
    PD_TESTALDER, // read-only, shows the test age; Tab and Enter pass over it
    PD_KON,
    PD_HANTHET,
};

struct PersonalDataFieldInfo {
    const char* objectName;
    unsigned short label; // text id of the painted label
    unsigned short hint;  // text id of the painted format hint, 0 for none
    int x;
    int y;
    int width;
    int maxLength;
    bool upperCase;
    bool required;
    const char* settingsKey; // nullptr: not remembered
};

extern const PersonalDataFieldInfo kPersonalDataFields[kPersonalDataFieldCount];

inline constexpr int kPersonalDataFieldHeight = 25;
