// SPDX-License-Identifier: Apache-2.0
#include "system_error_text.h"

#include <cerrno>
#include <cstring>

namespace {

struct ErrorText {
    int errnum;
    const char* text;
};

constexpr ErrorText kTexts[] = {
    {ENOENT, "filen eller mappen finns inte"},
    {EEXIST, "det finns redan en fil med det namnet"},
    {EACCES, "behörighet saknas"},
    {EPERM, "åtgärden är inte tillåten"},
    {ENOSPC, "disken är full"},
    {EDQUOT, "diskkvoten är slut"},
    {EROFS, "filsystemet är skrivskyddat"},
    {EISDIR, "det är en mapp"},
    {ENOTDIR, "en del av sökvägen är ingen mapp"},
    {ENAMETOOLONG, "namnet är för långt"},
    {ELOOP, "för många symboliska länkar i sökvägen"},
    {EIO, "in- eller utmatningsfel (disken kan vara skadad)"},
    {EMFILE, "programmet har för många öppna filer"},
    {ENFILE, "systemet har för många öppna filer"},
    {ENOMEM, "minnet räcker inte"},
    {EXDEV, "filen kan inte flyttas till ett annat filsystem"},
    {EBUSY, "filen eller enheten används"},
    {ETXTBSY, "filen används"},
    {EAGAIN, "resursen är tillfälligt upptagen"},
    {EINVAL, "ogiltigt argument"},
    {ENXIO, "enheten finns inte"},
    {ENOTEMPTY, "mappen är inte tom"},
    {EFBIG, "filen blir för stor"},
};

} // namespace

std::string systemErrorText(int errnum) {
    for (const ErrorText& entry : kTexts) {
        if (entry.errnum == errnum) {
            return entry.text;
        }
    }
    return "systemfel " + std::to_string(errnum) + " (" + std::strerror(errnum) + ")";
}
