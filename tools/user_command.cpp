// SPDX-License-Identifier: Apache-2.0
#include "user_command.h"

#include "command_usage.h"
#include "db.h"
#include "exit_status.h"
#include "password_input.h"
#include "working_database.h"

#include <algorithm>
#include <cstdio>

namespace {

int addUser(const std::string& name, bool passwordFromStdin) {
    if (!credentialOk(name, "Användarnamnet")) {
        return kExitFailed;
    }
    std::string password;
    if (!readNewPassword(passwordFromStdin, password)) {
        return kExitFailed;
    }
    if (!connectWorkingDatabase(AccessLogNeed::Required)) {
        return 1;
    }
    // Asked first, so that a taken name is said in Swedish and not as the database's key error.
    bool taken = false;
    DoListUsers([&](const char* existing, bool) { taken = taken || name == existing; });
    if (taken) {
        DoDisconnect();
        std::fprintf(stderr, "Det finns redan en användare som heter %s; välj ett annat namn.\n",
                     name.c_str());
        return 1;
    }
    std::string takenBy;
    const DbResult added = DoInsertUser(name.c_str(), password.c_str(), &takenBy);
    DoDisconnect();
    if (added == DB_NAME_TAKEN) {
        std::fprintf(stderr,
                     "Användaren %s kan inte läggas till: det finns redan användaren %s, och "
                     "användarnamn skiljs inte åt av stora och små bokstäver eller av mellanslag "
                     "före och efter. Välj ett annat namn.\n",
                     name.c_str(), takenBy.c_str());
        return 1;
    }
    if (added != DB_DONE) {
        std::fprintf(stderr, "Användaren %s kunde inte läggas till (se meddelandet ovan).\n",
                     name.c_str());
        return 1;
    }
    std::printf("Användaren %s är tillagd.\n", name.c_str());
    return 0;
}

int removeUser(const std::string& name) {
    if (!credentialCharactersOk(name, "Användarnamnet")) {
        return kExitFailed;
    }
    if (!connectWorkingDatabase(AccessLogNeed::Required)) {
        return 1;
    }
    const DbResult removed = DoDeleteUser(name.c_str());
    DoDisconnect();
    if (removed == DB_NO_ROW) {
        std::fprintf(stderr, "Det finns ingen användare %s.\n", name.c_str());
        return 1;
    }
    if (removed != DB_DONE) {
        return 1;
    }
    std::printf("Användaren %s är borttagen.\n", name.c_str());
    return 0;
}

int listUsers() {
    if (!connectWorkingDatabase()) {
        return 1;
    }
    bool anyPlainText = false;
    const DbResult listed = DoListUsers([&anyPlainText](const char* name, bool plainText) {
        std::printf("%s%s\n", name, plainText ? "\t(lösenordet lagrat i klartext)" : "");
        anyPlainText = anyPlainText || plainText;
    });
    DoDisconnect();
    if (anyPlainText) {
        std::fprintf(stderr, "Lösenord i klartext ersätts av sina hashvärden med "
                             "rivo-admin user rehash.\n");
    }
    return listed == DB_DONE ? kExitClean : kExitFailed;
}

int rehashPasswords() {
    if (!connectWorkingDatabase(AccessLogNeed::Required)) {
        return kExitFailed;
    }
    int rehashed = 0;
    const DbResult done = DoRehashPlainTextPasswords(rehashed);
    DoDisconnect();
    if (done != DB_DONE) {
        std::fprintf(stderr, "Inga lösenord ändrades.\n");
        return kExitFailed;
    }
    std::printf("%d lösenord i klartext ersattes av sina hashvärden.\n", rehashed);
    return kExitClean;
}

// Says what is wrong with arguments no form of the command takes, then the usage.
void refuseUserArguments(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "Ange vad som ska göras: add, remove, list eller rehash.\n");
        printCommandUsage(stderr, "user");
        return;
    }
    const std::string& action = args[0];
    const bool named = action == "add" || action == "remove";
    if (!named && action != "list" && action != "rehash") {
        refuseArgument("user", action);
        return;
    }
    if (named && args.size() == 1) {
        std::fprintf(stderr, "Ange användarens namn: rivo-admin user %s NAMN.\n", action.c_str());
        printCommandUsage(stderr, "user");
        return;
    }
    // The first argument past those the action takes.
    std::size_t extra = named ? 2 : 1;
    if (action == "add" && extra < args.size() && args[extra] == "--password-stdin") {
        ++extra;
    }
    refuseArgument("user", args[std::min(extra, args.size() - 1)]);
}

} // namespace

int runUserCommand(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "list") {
        return listUsers();
    }
    if (args.size() == 1 && args[0] == "rehash") {
        return rehashPasswords();
    }
    if (args.size() == 2 && args[0] == "remove") {
        return removeUser(args[1]);
    }
    if ((args.size() == 2 || (args.size() == 3 && args[2] == "--password-stdin")) &&
        args[0] == "add") {
        return addUser(args[1], args.size() == 3);
    }
    refuseUserArguments(args);
    return kExitFailed;
}
