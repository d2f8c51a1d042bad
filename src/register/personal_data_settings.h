// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The remembered entries of the personal-data form: section "PD" of the settings file kvade.ini
// (settings_location.h), one key per field, each value the field's text as typed. The file holds
// a person's name and address, so it is made readable by its owner only after every write.

// Writes one key at once (the file is rewritten). False when the file could not be written.
bool writePersonalDataSetting(const char* key, const QString& value);

// The value of a key, at most 127 characters, or fallback when the key is missing.
QString readPersonalDataSetting(const char* key, const QString& fallback);
