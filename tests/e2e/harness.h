// What the end-to-end tests need: the build under test (the native program, or the Windows exe under
// Wine), a prefix for it to run in, one run of it as a process, and the output it should print.
#ifndef ORVO_TESTS_E2E_HARNESS_H
#define ORVO_TESTS_E2E_HARNESS_H

#include <memory>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/process.h"

#ifndef ORVO_TRACE_BUILD
#define ORVO_TRACE_BUILD 0
#endif

constexpr bool kTraceBuild = ORVO_TRACE_BUILD != 0;

enum class BuildKind { Native, Windows };

struct Build {
    BuildKind kind;
    std::string name;      // "native" or "windows", as the test names show it
    std::string program;   // the program's host path
    std::string fakeCom;   // the native program on the fake COM library ("" for Windows)
    std::string readLink;  // the Windows link reader (read-link.exe), "" for the native build
};

// The build chosen on the command line (--build=native|windows).
const Build &CurrentBuild();
void ChooseBuild(BuildKind kind);

// Why the chosen build cannot run here ("" when it can): no Wine, or no Windows exe.
std::string MissingForBuild(BuildKind kind);

// A Wine prefix, made for the whole test run: drive_c with the windows folder and a temporary HOME.
// For the Windows build it is made by wineboot, with a wineserver that stays up until the end.
class Prefix {
public:
    explicit Prefix(BuildKind kind);
    ~Prefix();

    const std::string &path() const { return path_; }
    std::string DriveC() const { return path_ + "/drive_c"; }
    std::string Desktop() const { return DriveC() + "/windows/desktop"; }
    // The environment of a run: the prefix, HOME, and for Wine its quiet settings.
    std::vector<std::string> Environment() const;
    // The Windows form of a host path in this prefix, as GetCurrentDirectoryA reports it.
    std::string WindowsPath(const std::string &hostPath) const;

private:
    BuildKind kind_;
    TemporaryFolder folder_;
    std::string path_;
    std::string home_;
};

Prefix &CurrentPrefix();
void SetCurrentPrefix(std::unique_ptr<Prefix> prefix);

// The command line that runs a program of the chosen build with these arguments.
std::vector<std::string> CommandLine(const std::string &program, const std::vector<std::string> &arguments);

// Turns the line feeds of expected output into what the build prints: CR LF for Windows' text mode.
std::string AsPrinted(const std::string &text);

// UTF-8 text in the build's ANSI code page: UTF-8 itself on the native layer, Windows-1252 under Wine
// (its code page for the test's locale). This is what the program prints and writes for such text.
std::string InAnsi(const std::string &utf8);

// Whether this run has a mount namespace of its own, in which tests may mount file systems.
bool HavePrivateMounts();
void SetPrivateMounts(bool available);

// How a run ends, for the output it should print.
enum class Outcome {
    Success,
    LinkFails,       // Save (or an earlier COM call) fails: the run stops after the link step
    CoInitializeFails,
    DirectoryRefused,
    WebOpenFails,
    WebWriteFails,
};

struct Expectation {
    Outcome outcome = Outcome::Success;
    std::string directory;   // the current directory in Windows form
    std::string linkTrace;   // for LinkFails: the link step's trace after the " In ShortCut:" block
};

// The whole standard output of a run, trace lines included in a trace build ("\n" line ends).
std::string ExpectedOutput(const Expectation &expectation);

// A run's files on the desktop, and what is known of them.
std::string UrlFileOf(const std::string &desktop);
std::string LinkFileOf(const std::string &desktop);

#endif
