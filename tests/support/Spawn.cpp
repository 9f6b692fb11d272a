#include "Spawn.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

pid_t Spawn(const std::vector<std::string>& arguments, const SpawnOptions& options) {
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, options.log, O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (options.closeFd >= 0)
        posix_spawn_file_actions_addclose(&actions, options.closeFd);
    if (options.folder)
        posix_spawn_file_actions_addchdir_np(&actions, options.folder);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void StopProcess(pid_t& pid, int graceMs) {
    if (pid <= 0)
        return;
    if (graceMs > 0) {
        kill(pid, SIGTERM);
        for (int waited = 0; waited < graceMs; waited += 20) {
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                pid = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
}
