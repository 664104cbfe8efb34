// Small file helpers for tests: temporary folders, whole-file reads and writes.
#ifndef ORVO_TESTS_SUPPORT_FILES_H
#define ORVO_TESTS_SUPPORT_FILES_H

#include <string>
#include <vector>

// A new empty folder under $TMPDIR (or /tmp), removed with everything in it when this goes away.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string &stem = "orvo-test");
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

// A temporary Wine prefix with the desktop folder c:\windows\desktop; WINEPREFIX points at it while
// this lives, for tests that call the layer in-process.
class DesktopPrefix {
public:
    DesktopPrefix();
    ~DesktopPrefix();
    DesktopPrefix(const DesktopPrefix &) = delete;
    DesktopPrefix &operator=(const DesktopPrefix &) = delete;
    const std::string &desktop() const { return desktop_; }

private:
    TemporaryFolder folder_;
    std::string desktop_;
};

bool Exists(const std::string &path);
bool IsDirectory(const std::string &path);
std::string ReadFile(const std::string &path);
void WriteFile(const std::string &path, const std::string &bytes);
void MakeDirectories(const std::string &path);
void RemoveTree(const std::string &path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::string> ListDirectory(const std::string &path);
// Removes everything inside a folder, keeping the folder.
void EmptyDirectory(const std::string &path);

#endif
