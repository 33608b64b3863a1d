// Runs a program and tells the most memory it held. A process forked from a large one starts
// out counted at the large one's size, so the tests start this small program, which forks
// the one to measure.
//
// peak_run ADDRESS_SPACE_BYTES SECONDS PROGRAM [ARGUMENT...]
// ADDRESS_SPACE_BYTES 0 leaves the address space unlimited. Prints "peak KB" on stdout, or
// "hang" when the program was still running after SECONDS and was killed; exits with the
// program's status, or 128 + the signal that ended it.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: peak_run ADDRESS_SPACE_BYTES SECONDS PROGRAM [ARGUMENT...]\n");
        return 125;
    }
    const long long limit = std::atoll(argv[1]);
    const int seconds = std::atoi(argv[2]);
    const pid_t pid = fork();
    if (pid == 0) {
        if (limit > 0) {
            const rlimit rl{rlim_t(limit), rlim_t(limit)};
            setrlimit(RLIMIT_AS, &rl);
        }
        execv(argv[3], argv + 3);
        _exit(127);
    }
    if (pid < 0)
        return 126;
    int status = 0;
    rusage usage{};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    pid_t done = 0;
    while ((done = wait4(pid, &status, WNOHANG, &usage)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (done == 0) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        std::printf("hang\n");
    } else {
        std::printf("peak %ld\n", usage.ru_maxrss);
    }
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}
