#pragma once

#include <string>
#include <vector>

// rivo-admin user add NAME [--password-stdin] | user remove NAME | user list | user rehash: the
// users who may log in to the register the data-source settings name (the working directory's
// DODODA.db by default). Names and passwords follow the login's 3-10 character rule and hold no
// control characters. list marks the users whose password is still plain text; rehash replaces
// every such password by its hash in one transaction. Exit code 0 done, 1 a
// database failure or no such user (said on standard error), 2 a usage error.
int runUserCommand(const std::vector<std::string>& args);
