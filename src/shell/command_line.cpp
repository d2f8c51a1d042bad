// SPDX-License-Identifier: Apache-2.0
#include "command_line.h"

#include "first_start.h"

#include <cstdio>
#include <cstring>

bool hasOption(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) {
            return true;
        }
    }
    return false;
}

namespace {

void printUsage(std::FILE* stream) {
    std::fprintf(stream,
                 "Användning: RIVO_IV [%s]\n"
                 "Startar RIVO-IV. Programmet arbetar med databasen DODODA.db i arbetskatalogen,\n"
                 "eller med registret på en databasserver när en datakälla är inställd i\n"
                 "~/.config/RIVO-IV/datakalla.ini eller /etc/RIVO-IV/datakalla.ini.\n"
                 "\n"
                 "  %s  arbeta i användarens datamapp ($XDG_DATA_HOME/RIVO-IV/, annars\n"
                 "                 ~/.local/share/RIVO-IV/) och erbjud att skapa en databas där\n"
                 "                 när ingen finns; så startar programmenyn programmet\n"
                 "  --help         visa den här texten\n"
                 "  --version      visa programmets version\n"
                 "Slutstatus 1: okänt argument.\n",
                 kDataFolderOption, kDataFolderOption);
}

} // namespace

int answerInformationOptions(int argc, char** argv) {
    if (hasOption(argc, argv, "--version")) {
        std::printf("RIVO-IV %s\nLicens: %s\n", RIVO_IV_VERSION, RIVO_IV_LICENCE);
        return 0;
    }
    if (hasOption(argc, argv, "--help")) {
        printUsage(stdout);
        return 0;
    }
    return -1;
}

int refuseUnknownOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], kDataFolderOption) != 0) {
            std::fprintf(stderr, "RIVO_IV: okänt argument: %s\n\n", argv[i]);
            printUsage(stderr);
            return kUsageExitCode;
        }
    }
    return -1;
}
