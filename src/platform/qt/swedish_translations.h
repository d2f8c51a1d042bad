// SPDX-License-Identifier: Apache-2.0
#pragma once

// Qt's own texts in Swedish, whatever the desktop's language, since the whole program is
// Swedish: Qt's translation file for Swedish (qt_sv.qm, package qt6-translations-l10n) and, in
// front of it, the program's own file with the texts that qt_sv.qm lacks (the standard button
// texts such as "Spara" and "Avbryt", and labels of the file and print dialogs). Numbers are not
// affected: the locale is left as it is.

// Installs both translations into the application (idempotent). False when Qt's Swedish file
// could not be loaded; the program's own file is compiled in and always loads.
bool installSwedishTranslations();

// Removes them again (tests that need Qt's English texts).
void removeSwedishTranslations();
