// SPDX-License-Identifier: Apache-2.0
#include "command_usage.h"

#include "db.h"

namespace {

struct CommandText {
    const char* command;
    const char* usage; // every %s is the register file's name
};

// In the order `rivo-admin --help` lists them.
constexpr CommandText kCommands[] = {
    {"init-db", "  rivo-admin init-db --user NAMN [--password-stdin] [--workstation-role ROLL]\n"
                "      Skapar %s i arbetskatalogen med demonstrationsnormer och en användare.\n"
                "      Lösenordet läses från standard in (--password-stdin) eller efterfrågas.\n"
                "      Är en datakälla inställd (/etc/RIVO-IV/datakalla.ini eller\n"
                "      ~/.config/RIVO-IV/datakalla.ini) skapas registret där i stället.\n"
                "      --workstation-role: på en server äger den anslutna rollen allt, och\n"
                "      arbetsstationernas ROLL får bara läsa och ändra registrets uppgifter\n"
                "      och skriva i åtkomstloggen.\n"},
    {"user", "  rivo-admin user add NAMN [--password-stdin] | user remove NAMN | user list\n"
             "      Lägger till, tar bort eller listar registrets användare. Namn och\n"
             "      lösenord: 3-10 tecken, giltig UTF-8, inga styrtecken. list märker\n"
             "      lösenord som ännu är lagrade i klartext.\n"
             "  rivo-admin user rehash\n"
             "      Ersätter alla lösenord i klartext med sina hashvärden (en transaktion).\n"},
    {"export", "  rivo-admin export --groups 0,1,2,3 FIL\n"
               "      Exporterar alla testpersoner i %s till en tabbseparerad textfil.\n"
               "      Grupper: 0 personuppgifter, 1 råpoäng, 2 skalpoäng, 3 index.\n"},
    {"report", "  rivo-admin report (--id N | --all) [--age-band TEXT] [--ci 90|95]\n"
               "                    [--sw-base 0|1] [--index-base 0|1] [--json FIL] [--pdf FIL]\n"
               "                    [--html FIL]\n"
               "      Resultaten av sparade test som JSON, ett objekt per rad (FIL - är\n"
               "      standard ut), beräknade som på resultatskärmen. --pdf skriver en\n"
               "      testpersons rapport (--id N) som de fem utskrivna sidorna, --html\n"
               "      samma sidor som ett tillgängligt HTML-dokument. Minst ett av --json,\n"
               "      --pdf och --html krävs.\n"},
    {"export-norms",
     "  rivo-admin export-norms MAPP\n"
     "      Skriver normtabellerna som CSV-filer (UTF-8) i MAPP, en mall att fylla i.\n"},
    {"import-norms", "  rivo-admin import-norms MAPP\n"
                     "      Kontrollerar CSV-filerna i MAPP och ersätter normtabellerna med dem,\n"
                     "      efter en säkerhetskopia av databasen. Vid fel ändras ingenting. Är\n"
                     "      filerna demonstrationsnormerna oförändrade förblir de märkta som\n"
                     "      syntetiska (inte för kliniskt bruk).\n"},
    {"check-norms", "  rivo-admin check-norms\n"
                    "      Kontrollerar normtabellerna i %s.\n"},
    {"backup", "  rivo-admin backup (FIL | --folder MAPP [--keep N])\n"
               "                    [--encrypt [--passphrase-file FIL]]\n"
               "      Skriver en säkerhetskopia av %s, samma som knappen Säkerhetskopia.\n"
               "      --folder: en kopia med datum och tid i namnet; bara de N nyaste sparas\n"
               "      (14 om inget anges). --encrypt: krypterad med en lösenfras som\n"
               "      efterfrågas två gånger, eller läses ur en fil som bara ägaren kan läsa.\n"},
    {"restore", "  rivo-admin restore FIL [--passphrase-file FIL]\n"
                "      Kontrollerar kopian och ersätter %s med den. Det tidigare registret\n"
                "      sparas som DODODA-fore-aterstallning-<tid>.db. RIVO-IV ska vara stängt.\n"},
    {"log", "  rivo-admin log [--person ID] [--user NAMN] [--from ÅÅÅÅ-MM-DD]\n"
            "                 [--to ÅÅÅÅ-MM-DD] [--json FIL|-] [--csv FIL|-]\n"
            "      Åtkomstloggen: vem som såg, ändrade, skrev ut eller exporterade vems\n"
            "      uppgifter. Utan --json och --csv en tabell på standard ut.\n"
            "  rivo-admin log head\n"
            "      Skriver loggens huvud (sista radens nummer och hash) på en rad, ett ankare\n"
            "      att spara utanför registret.\n"
            "  rivo-admin log verify [--anchors FIL|MAPP]... [--syslog FIL]... [--journal]\n"
            "                        [--passphrase-file FIL]\n"
            "      Räknar om loggens kedja av hashvärden och namnger första ändrade rad;\n"
            "      prövar den också mot ankarna i filer, kopior och systemloggen.\n"},
    {"upgrade-db", "  rivo-admin upgrade-db [--workstation-role ROLL]\n"
                   "      Ger ett register från en äldre version dess åtkomstlogg.\n"
                   "      --workstation-role: ger på en server arbetsstationernas ROLL samma\n"
                   "      begränsade rättigheter som init-db ger den.\n"},
};

constexpr const char* kCommon =
    "  rivo-admin --help | --version | KOMMANDO --help\n"
    "      Visar den här texten, programmets version eller ett kommandos användning.\n"
    "Varje FIL blir till först när den är fullständig (rättigheter 0600); vid fel\n"
    "eller avbrott står en tidigare fil kvar orörd. En symbolisk länk, en mapp,\n"
    "en FIFO eller en enhet som FIL vägras.\n"
    "Slutstatus:\n"
    "  0  klart, inget att anmärka på.\n"
    "  1  misslyckades: felaktig användning, databasfel eller filfel; ingen fil\n"
    "     skrevs.\n"
    "  2  skrivet, men data för minst ett testtillfälle har problem; meddelandena\n"
    "     står på standard fel (och i JSON-fältet messages). Granska dem innan\n"
    "     resultaten används.\n";

// The text with every "%s" replaced by the register file's name.
std::string withFileName(const char* text) {
    std::string result = text;
    for (std::size_t at = result.find("%s"); at != std::string::npos; at = result.find("%s", at)) {
        result.replace(at, 2, kDatabaseFileName);
        at += std::char_traits<char>::length(kDatabaseFileName);
    }
    return result;
}

} // namespace

std::string commandUsage(const std::string& command) {
    for (const CommandText& text : kCommands) {
        if (command == text.command) {
            return withFileName(text.usage);
        }
    }
    return "";
}

void printFullUsage(std::FILE* out) {
    std::fputs("Användning:\n", out);
    for (const CommandText& text : kCommands) {
        std::fputs(withFileName(text.usage).c_str(), out);
    }
    std::fputs(kCommon, out);
}

void printCommandUsage(std::FILE* out, const std::string& command) {
    std::fprintf(out, "Användning:\n%s", commandUsage(command).c_str());
}

void refuseArgument(const std::string& command, const std::string& argument) {
    std::fprintf(stderr, "Okänt argument: %s\n", argument.c_str());
    printCommandUsage(stderr, command);
}
