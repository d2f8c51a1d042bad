// rivo-admin: the command-line companion of RIVO-IV. It creates the database and, without a
// display, runs the jobs the program offers on its screens.

#include "backup_commands.h"
#include "data_source.h"
#include "db.h"
#include "demo_database.h"
#include "exit_status.h"
#include "export_command.h"
#include "norm_commands.h"
#include "password_input.h"
#include "report_command.h"
#include "user_command.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void printUsage(std::FILE* out) {
    std::fprintf(out,
                 "Användning:\n"
                 "  rivo-admin init-db --user NAMN [--password-stdin]\n"
                 "      Skapar %s i arbetskatalogen med demonstrationsnormer och en användare.\n"
                 "      Lösenordet läses från standard in (--password-stdin) eller efterfrågas.\n"
                 "      Är en datakälla inställd (/etc/RIVO-IV/datakalla.ini eller\n"
                 "      ~/.config/RIVO-IV/datakalla.ini) skapas registret där i stället.\n"
                 "  rivo-admin user add NAMN [--password-stdin] | user remove NAMN | user list\n"
                 "      Lägger till, tar bort eller listar registrets användare. Namn och\n"
                 "      lösenord: 3-10 tecken, giltig UTF-8, inga styrtecken. list märker\n"
                 "      lösenord som ännu är lagrade i klartext.\n"
                 "  rivo-admin user rehash\n"
                 "      Ersätter alla lösenord i klartext med sina hashvärden (en transaktion).\n"
                 "  rivo-admin export --groups 0,1,2,3 FIL\n"
                 "      Exporterar alla testpersoner i %s till en tabbseparerad textfil.\n"
                 "      Grupper: 0 personuppgifter, 1 råpoäng, 2 skalpoäng, 3 index.\n"
                 "  rivo-admin report (--id N | --all) [--age-band TEXT] [--ci 90|95]\n"
                 "                    [--sw-base 0|1] [--index-base 0|1] [--json FIL] [--pdf FIL]\n"
                 "      Resultaten av sparade test som JSON, ett objekt per rad (FIL - är\n"
                 "      standard ut), beräknade som på resultatskärmen. --pdf skriver en\n"
                 "      testpersons rapport (--id N) som de fem utskrivna sidorna.\n"
                 "  rivo-admin export-norms MAPP\n"
                 "      Skriver normtabellerna som CSV-filer (UTF-8) i MAPP, en mall att fylla i.\n"
                 "  rivo-admin import-norms MAPP\n"
                 "      Kontrollerar CSV-filerna i MAPP och ersätter normtabellerna med dem,\n"
                 "      efter en säkerhetskopia av databasen. Vid fel ändras ingenting.\n"
                 "  rivo-admin check-norms\n"
                 "      Kontrollerar normtabellerna i %s.\n"
                 "  rivo-admin backup (FIL | --folder MAPP [--keep N])\n"
                 "                    [--encrypt [--passphrase-file FIL]]\n"
                 "      Skriver en säkerhetskopia av %s, samma som knappen Säkerhetskopia.\n"
                 "      --folder: en kopia med datum och tid i namnet; bara de N nyaste sparas\n"
                 "      (14 om inget anges). --encrypt: krypterad med en lösenfras som\n"
                 "      efterfrågas två gånger, eller läses ur en fil som bara ägaren kan läsa.\n"
                 "  rivo-admin restore FIL [--passphrase-file FIL]\n"
                 "      Kontrollerar kopian och ersätter %s med den. Det tidigare registret\n"
                 "      sparas som DODODA-fore-aterstallning-<tid>.db. RIVO-IV ska vara stängt.\n"
                 "  rivo-admin --help | --version\n"
                 "      Visar den här texten eller programmets version.\n"
                 "Varje FIL blir till först när den är fullständig (rättigheter 0600); vid fel\n"
                 "eller avbrott står en tidigare fil kvar orörd. En symbolisk länk, en mapp,\n"
                 "en FIFO eller en enhet som FIL vägras.\n"
                 "Slutstatus:\n"
                 "  0  klart, inget att anmärka på.\n"
                 "  1  misslyckades: felaktig användning, databasfel eller filfel.\n"
                 "  2  skrivet, men data för minst ett testtillfälle har problem; meddelandena\n"
                 "     står på standard fel (och i JSON-fältet messages). Granska dem innan\n"
                 "     resultaten används.\n",
                 kDatabaseFileName, kDatabaseFileName, kDatabaseFileName, kDatabaseFileName,
                 kDatabaseFileName);
}

int initDatabase(const std::vector<std::string>& args) {
    std::string user;
    bool passwordFromStdin = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--user" && i + 1 < args.size()) {
            user = args[++i];
        } else if (args[i] == "--password-stdin") {
            passwordFromStdin = true;
        } else {
            printUsage(stderr);
            return kExitFailed;
        }
    }
    if (user.empty()) {
        std::fprintf(stderr, "Ange användarnamnet med --user NAMN.\n");
        return kExitFailed;
    }
    if (!credentialOk(user, "Användarnamnet")) {
        return kExitFailed;
    }
    std::string password;
    if (!readNewPassword(passwordFromStdin, password)) {
        return kExitFailed;
    }
    DataSourceSetting setting;
    std::string error;
    if (!readDataSourceSetting(setting, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (setting.configured) {
        if (!createDemoRegisterOnServer(setting.connectionString, user, password, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::printf("Registret skapat i datakällan från %s med syntetiska demonstrationsnormer "
                    "(inte för kliniskt bruk).\n",
                    setting.file.c_str());
        return 0;
    }
    if (!createDemoDatabase(kDatabaseFileName, user, password, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%s skapad med syntetiska demonstrationsnormer (inte för kliniskt bruk).\n",
                kDatabaseFileName);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return kExitFailed;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        printUsage(stdout);
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("rivo-admin (RIVO-IV) %s\n", RIVO_IV_VERSION);
        return 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (std::strcmp(argv[1], "init-db") == 0) {
        return initDatabase(args);
    }
    if (std::strcmp(argv[1], "export") == 0) {
        return runExportCommand(args);
    }
    if (std::strcmp(argv[1], "user") == 0) {
        return runUserCommand(args);
    }
    if (std::strcmp(argv[1], "report") == 0) {
        return runReportCommand(args);
    }
    if (std::strcmp(argv[1], "export-norms") == 0) {
        return runExportNormsCommand(args);
    }
    if (std::strcmp(argv[1], "import-norms") == 0) {
        return runImportNormsCommand(args);
    }
    if (std::strcmp(argv[1], "backup") == 0) {
        return runBackupCommand(args);
    }
    if (std::strcmp(argv[1], "restore") == 0) {
        return runRestoreCommand(args);
    }
    if (std::strcmp(argv[1], "check-norms") == 0) {
        return runCheckNormsCommand(args);
    }
    printUsage(stderr);
    return kExitFailed;
}
