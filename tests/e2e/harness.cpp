// What the end-to-end tests need; see harness.h.
#include "harness.h"

#include <iconv.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>

namespace {

Build gBuild;
std::unique_ptr<Prefix> gPrefix;

const char kWineOverrides[] = "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d";

bool OnPath(const std::string &program)
{
    Command command;
    command.argv = {"sh", "-c", "command -v " + program};
    command.environment = {"PATH=" + EnvironmentValue("PATH")};
    return RunToEnd(command, Input::AtEnd).exitStatus == 0;
}

std::string Resolved(const std::string &path)
{
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) {
        throw std::runtime_error("cannot resolve " + path);
    }
    return resolved;
}

} // namespace

void ChooseBuild(BuildKind kind)
{
    if (kind == BuildKind::Native) {
        gBuild = Build{kind, "native", ORVO_NATIVE_PROGRAM, ORVO_FAKECOM_PROGRAM, ""};
    } else {
        gBuild = Build{kind, "windows", ORVO_WINDOWS_PROGRAM, "", ORVO_WINDOWS_READ_LINK};
    }
}

const Build &CurrentBuild()
{
    return gBuild;
}

std::string MissingForBuild(BuildKind kind)
{
    if (kind == BuildKind::Native) {
        return "";
    }
    if (!OnPath("wine") || !OnPath("wineboot") || !OnPath("wineserver")) {
        return "Wine is not installed (apt-get install wine wine32:i386)";
    }
    if (!Exists(ORVO_WINDOWS_PROGRAM)) {
        return std::string("the Windows build is missing: ") + ORVO_WINDOWS_PROGRAM +
               " (build it with cmake --preset win32 && cmake --build --preset win32)";
    }
    return "";
}

Prefix::Prefix(BuildKind kind) : kind_(kind), folder_("orvo-e2e")
{
    path_ = Resolved(folder_.path()) + "/prefix";
    home_ = Resolved(folder_.path()) + "/home";
    MakeDirectories(home_);
    if (kind_ == BuildKind::Native) {
        MakeDirectories(DriveC() + "/windows");
        return;
    }
    // A persistent wineserver first, so that no Wine process started later holds a test's pipes open.
    // It needs the prefix folder to exist; wineboot then fills it.
    MakeDirectories(path_);
    Command command;
    command.environment = Environment();
    command.argv = {"sh", "-c", "wineserver -p </dev/null >/dev/null 2>&1 && wineboot -i </dev/null >/dev/null 2>&1"};
    ProcessResult result = RunToEnd(command, Input::AtEnd, "", nullptr, 300);
    if (result.exitStatus != 0 || !IsDirectory(DriveC() + "/windows")) {
        throw std::runtime_error("wineboot failed to make a prefix at " + path_);
    }
}

Prefix::~Prefix()
{
    if (kind_ == BuildKind::Windows) {
        Command command;
        command.environment = Environment();
        command.argv = {"sh", "-c", "wineserver -k </dev/null >/dev/null 2>&1; wineserver -w </dev/null >/dev/null 2>&1"};
        RunToEnd(command, Input::AtEnd, "", nullptr, 60);
    }
}

std::vector<std::string> Prefix::Environment() const
{
    std::vector<std::string> environment = {"PATH=" + EnvironmentValue("PATH"), "HOME=" + home_,
                                            "WINEPREFIX=" + path_, "LANG=C.UTF-8"};
    if (kind_ == BuildKind::Windows) {
        environment.push_back("WINEDEBUG=-all");
        environment.push_back(kWineOverrides);
    }
    for (const char *passed : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (getenv(passed) != nullptr) {
            environment.push_back(std::string(passed) + "=" + getenv(passed));
        }
    }
    return environment;
}

std::string Prefix::WindowsPath(const std::string &hostPath) const
{
    std::string drive = DriveC();
    std::string windows;
    if (hostPath == drive) {
        windows = "C:\\";
    } else if (hostPath.compare(0, drive.size() + 1, drive + "/") == 0) {
        windows = "C:" + hostPath.substr(drive.size());
    } else {
        windows = "Z:" + hostPath;
    }
    for (char &c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windows;
}

Prefix &CurrentPrefix()
{
    return *gPrefix;
}

void SetCurrentPrefix(std::unique_ptr<Prefix> prefix)
{
    gPrefix = std::move(prefix);
}

std::vector<std::string> CommandLine(const std::string &program, const std::vector<std::string> &arguments)
{
    std::vector<std::string> argv;
    if (gBuild.kind == BuildKind::Windows) {
        argv.push_back("wine");
    }
    argv.push_back(program);
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return argv;
}

std::string AsPrinted(const std::string &text)
{
    if (gBuild.kind != BuildKind::Windows) {
        return text;
    }
    std::string printed;
    for (char c : text) {
        if (c == '\n') {
            printed += '\r';
        }
        printed += c;
    }
    return printed;
}

std::string InAnsi(const std::string &utf8)
{
    if (gBuild.kind != BuildKind::Windows) {
        return utf8;
    }
    iconv_t converter = iconv_open("CP1252", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv cannot convert to CP1252");
    }
    std::string out(utf8.size(), '\0');
    char *in = const_cast<char *>(utf8.data());
    size_t inLeft = utf8.size();
    char *to = out.data();
    size_t outLeft = out.size();
    size_t done = iconv(converter, &in, &inLeft, &to, &outLeft);
    iconv_close(converter);
    if (done == static_cast<size_t>(-1)) {
        throw std::runtime_error("text not in CP1252: " + utf8);
    }
    out.resize(out.size() - outLeft);
    return out;
}

namespace {

bool gPrivateMounts = false;

} // namespace

bool HavePrivateMounts()
{
    return gPrivateMounts;
}

void SetPrivateMounts(bool available)
{
    gPrivateMounts = available;
}

namespace {

std::string Traced(const std::string &text)
{
    return kTraceBuild ? text : "";
}

std::string Combined(const std::string &directory, const std::string &name)
{
    return directory + "\\" + name;
}

} // namespace

std::string ExpectedOutput(const Expectation &e)
{
    const std::string desktop = "c:\\windows\\desktop";
    const std::string exe = Combined(e.directory, "recorder.bat");
    const std::string html = Combined(e.directory, "QirPlayer.html");
    const std::string icon = Combined(e.directory, "vandrel.ico");
    const std::string link = Combined(desktop, "Orvo Recorder.pif");
    const std::string web = Combined(desktop, "Orvo Player.url");

    std::string out = Traced(" Enter any key to proceed: MAIN \n");
    if (e.outcome == Outcome::CoInitializeFails) {
        return out + Traced(" Error in CoInitialize ");
    }
    if (e.outcome == Outcome::DirectoryRefused) {
        return out + Traced(" Error in Current Directory ");
    }
    out += Traced(" Current Directory:" + e.directory + " \n");
    const struct {
        const char *label;
        std::string base;
        std::string name;
    } paths[] = {{"EXEPATH", e.directory, "recorder.bat"},
                 {"HTMLPATH", e.directory, "QirPlayer.html"},
                 {"ICONPATH", e.directory, "vandrel.ico"},
                 {"TO PATH", desktop, "Orvo Recorder.pif"},
                 {"TO WEBPATH", desktop, "Orvo Player.url"}};
    for (const auto &p : paths) {
        std::string total = Combined(p.base, p.name);
        out += Traced(" Combine:" + p.base + " " + p.name + " \n TOTAL:" + total + " \n RETURNS " + p.label + ":" +
                      total + " \n");
    }
    out += "\n Creating Shortcut on Desktop:Orvo Recorder.pif";
    out += Traced(" In ShortCut: File:" + exe + " \n Link:" + link + " \n Name:Orvo Recorder.pif \n Use Icon:" + icon +
                  " \n");
    if (e.outcome == Outcome::LinkFails) {
        return out + Traced(e.linkTrace + " Error in ShortCut ");
    }
    out += Traced(" Succeeded thru CoCreateInstance:0 \n Succeeded thru Query Interface:0 \n SAVE RETURNS:0 \n");
    out += "\n Creating Shortcut on Desktop:Orvo Player.url";
    out += Traced(" WebShortCut:" + web + " \n " + html + "\n");
    if (e.outcome == Outcome::WebOpenFails) {
        return out + Traced(" Unable to open Web Destination file:" + web + " \n");
    }
    if (e.outcome == Outcome::WebWriteFails) {
        return out + Traced(" Unable to write Web Destination file:" + web + " \n");
    }
    out += "\n Successfully Created Shortcuts...";
    return out + Traced(" \nEnter any key to proceed:");
}

std::string UrlFileOf(const std::string &desktop)
{
    return desktop + "/Orvo Player.url";
}

std::string LinkFileOf(const std::string &desktop)
{
    return desktop + "/Orvo Recorder.pif";
}
