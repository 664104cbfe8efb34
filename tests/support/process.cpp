// Runs a program as a child process; see process.h.
#include "process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <stdexcept>

namespace {

long long NowMilliseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// Starts the child with the given descriptors as its standard input and output (-1: closed input).
pid_t Start(const Command &command, int inputFd, int outputFd)
{
    std::vector<char *> argv;
    for (const std::string &argument : command.argv) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char *> environment;
    for (const std::string &variable : command.environment) {
        environment.push_back(const_cast<char *>(variable.c_str()));
    }
    environment.push_back(nullptr);

    pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        if (inputFd >= 0) {
            dup2(inputFd, 0);
        } else {
            close(0);
        }
        dup2(outputFd, 1);
        if (command.mergeStandardError) {
            dup2(outputFd, 2);
        }
        for (int fd = 3; fd < 256; ++fd) {
            close(fd);
        }
        if (!command.directory.empty() && chdir(command.directory.c_str()) != 0) {
            _exit(126);
        }
        execvpe(argv[0], argv.data(), environment.data());
        _exit(127);
    }
    return pid;
}

ProcessResult Reap(pid_t pid, bool timedOut)
{
    ProcessResult result;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.timedOut = timedOut;
    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

} // namespace

std::string EnvironmentValue(const char *name)
{
    const char *value = getenv(name);
    return value != nullptr ? value : "";
}

ProcessResult RunToEnd(const Command &command, Input input, const std::string &text, std::string *unread,
                       int timeoutSeconds)
{
    int inputPipe[2] = {-1, -1};
    int outputPipe[2];
    if (input != Input::Closed && pipe2(inputPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    if (pipe2(outputPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    if (input == Input::HeldOpen && !text.empty() &&
        write(inputPipe[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        throw std::runtime_error("write to pipe failed");
    }
    if (input == Input::AtEnd) {
        close(inputPipe[1]);
        inputPipe[1] = -1;
    }

    pid_t pid = Start(command, inputPipe[0], outputPipe[1]);
    close(outputPipe[1]);

    std::string output;
    bool timedOut = false;
    long long deadline = NowMilliseconds() + timeoutSeconds * 1000LL;
    for (;;) {
        long long left = deadline - NowMilliseconds();
        if (left <= 0) {
            timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd ready = {outputPipe[0], POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left)) <= 0) {
            continue;
        }
        char buffer[4096];
        ssize_t got = read(outputPipe[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        output.append(buffer, static_cast<size_t>(got));
    }
    close(outputPipe[0]);
    ProcessResult result = Reap(pid, timedOut);
    result.output = output;

    if (inputPipe[1] >= 0) {
        close(inputPipe[1]);
    }
    if (inputPipe[0] >= 0) {
        // The child has ended: whatever is still in the pipe was never read.
        if (unread != nullptr) {
            unread->clear();
            fcntl(inputPipe[0], F_SETFL, O_NONBLOCK);
            char buffer[4096];
            ssize_t got;
            while ((got = read(inputPipe[0], buffer, sizeof buffer)) > 0) {
                unread->append(buffer, static_cast<size_t>(got));
            }
        }
        close(inputPipe[0]);
    }
    return result;
}

Conversation::Conversation(const Command &command)
{
    int inputPipe[2];
    int outputPipe[2];
    if (pipe2(inputPipe, O_CLOEXEC) != 0 || pipe2(outputPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_ = Start(command, inputPipe[0], outputPipe[1]);
    close(inputPipe[0]);
    close(outputPipe[1]);
    input_ = inputPipe[1];
    outputFd_ = outputPipe[0];
}

Conversation::~Conversation()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        Reap(pid_, false);
    }
    CloseInput();
    if (outputFd_ >= 0) {
        close(outputFd_);
    }
}

bool Conversation::ReadSome(int timeoutMilliseconds)
{
    pollfd ready = {outputFd_, POLLIN, 0};
    if (outputFd_ < 0 || poll(&ready, 1, timeoutMilliseconds) <= 0) {
        return false;
    }
    char buffer[4096];
    ssize_t got = read(outputFd_, buffer, sizeof buffer);
    if (got <= 0) {
        close(outputFd_);
        outputFd_ = -1;
        return false;
    }
    output_.append(buffer, static_cast<size_t>(got));
    return true;
}

bool Conversation::ReadUntilEndsWith(const std::string &text, int timeoutMilliseconds)
{
    long long deadline = NowMilliseconds() + timeoutMilliseconds;
    auto endsWith = [&] {
        return output_.size() >= text.size() && output_.compare(output_.size() - text.size(), text.size(), text) == 0;
    };
    while (!endsWith()) {
        long long left = deadline - NowMilliseconds();
        if (left <= 0 || (!ReadSome(static_cast<int>(left)) && outputFd_ < 0)) {
            return endsWith();
        }
    }
    return true;
}

std::string Conversation::ReadFor(int timeoutMilliseconds)
{
    size_t before = output_.size();
    long long deadline = NowMilliseconds() + timeoutMilliseconds;
    for (long long left; (left = deadline - NowMilliseconds()) > 0 && outputFd_ >= 0;) {
        ReadSome(static_cast<int>(left));
    }
    return output_.substr(before);
}

void Conversation::Send(const std::string &text)
{
    if (input_ >= 0 && write(input_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        throw std::runtime_error("write to the child failed");
    }
}

void Conversation::CloseInput()
{
    if (input_ >= 0) {
        close(input_);
        input_ = -1;
    }
}

ProcessResult Conversation::Finish(int timeoutSeconds)
{
    long long deadline = NowMilliseconds() + timeoutSeconds * 1000LL;
    bool timedOut = false;
    while (outputFd_ >= 0) {
        long long left = deadline - NowMilliseconds();
        if (left <= 0) {
            timedOut = true;
            kill(pid_, SIGKILL);
            break;
        }
        ReadSome(static_cast<int>(left));
    }
    ProcessResult result = Reap(pid_, timedOut);
    pid_ = -1;
    result.output = output_;
    return result;
}
