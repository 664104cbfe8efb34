// Runs a program as a child process, as a user would: its own directory, environment and pipes.
#ifndef ORVO_TESTS_SUPPORT_PROCESS_H
#define ORVO_TESTS_SUPPORT_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

struct Command {
    std::vector<std::string> argv;
    std::string directory;                // current directory of the child
    std::vector<std::string> environment; // the child's whole environment, "NAME=value"
    bool mergeStandardError = false;      // standard error into the same pipe as standard output
};

struct ProcessResult {
    int exitStatus = -1; // the exit status, or -1 when the child did not exit normally
    int signal = 0;      // the signal that ended it, if any
    bool timedOut = false;
    std::string output;
};

// How a one-shot run gets its standard input.
enum class Input {
    Closed,   // the descriptor is closed
    AtEnd,    // an empty pipe whose writing end is closed: reads see end of input at once
    HeldOpen, // a pipe that holds `text` and stays open, so a read past it would block
};

// Runs the child to its end (killing it after timeoutSeconds). With Input::HeldOpen, *unread receives
// what the child left in its standard input.
ProcessResult RunToEnd(const Command &command, Input input, const std::string &text = "",
                       std::string *unread = nullptr, int timeoutSeconds = 60);

// A child that a test talks to while it runs.
class Conversation {
public:
    explicit Conversation(const Command &command);
    ~Conversation();
    Conversation(const Conversation &) = delete;
    Conversation &operator=(const Conversation &) = delete;

    // Reads output until everything read so far ends with `text`, or the time runs out.
    bool ReadUntilEndsWith(const std::string &text, int timeoutMilliseconds);
    // Reads whatever output arrives within the time (nothing, if the child is waiting).
    std::string ReadFor(int timeoutMilliseconds);
    void Send(const std::string &text);
    void CloseInput();
    // Reads to the end of output and waits for the child.
    ProcessResult Finish(int timeoutSeconds = 60);

    const std::string &output() const { return output_; }

private:
    bool ReadSome(int timeoutMilliseconds);

    pid_t pid_ = -1;
    int input_ = -1;
    int outputFd_ = -1;
    std::string output_;
};

// The current environment's value of name, or "" when unset.
std::string EnvironmentValue(const char *name);

#endif
