// SPDX-License-Identifier: Apache-2.0
#include "child_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

int runInFolder(const char* program, const std::filesystem::path& dir,
                const std::vector<std::string>& args, const std::filesystem::path& inFile,
                const std::filesystem::path& outFile, const std::filesystem::path& errFile,
                std::chrono::microseconds killAfter) {
    const pid_t child = fork();
    if (child == 0) {
        if (!inFile.empty()) {
            dup2(open(inFile.c_str(), O_RDONLY), STDIN_FILENO);
        }
        const int outFd = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd =
            errFile == outFile ? outFd : open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        if (chdir(dir.c_str()) != 0) {
            _exit(127);
        }
        std::vector<char*> argv{const_cast<char*>(program)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(program, argv.data());
        _exit(127);
    }
    if (killAfter.count() >= 0) {
        std::this_thread::sleep_for(killAfter);
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}
