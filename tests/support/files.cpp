// Small file helpers for tests; see files.h.
#include "files.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder(const std::string &stem)
{
    std::string base = getenv("TMPDIR") != nullptr ? getenv("TMPDIR") : "/tmp";
    std::string pattern = base + "/" + stem + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed for " + pattern);
    }
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    RemoveTree(path_);
}

DesktopPrefix::DesktopPrefix() : folder_("orvo-prefix"), desktop_(folder_.path() + "/drive_c/windows/desktop")
{
    MakeDirectories(desktop_);
    setenv("WINEPREFIX", folder_.path().c_str(), 1);
}

DesktopPrefix::~DesktopPrefix()
{
    unsetenv("WINEPREFIX");
}

bool Exists(const std::string &path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

bool IsDirectory(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

void MakeDirectories(const std::string &path)
{
    fs::create_directories(path);
}

void RemoveTree(const std::string &path)
{
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
}

std::vector<std::string> ListDirectory(const std::string &path)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto &entry : fs::directory_iterator(path, ignored)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void EmptyDirectory(const std::string &path)
{
    std::error_code ignored;
    for (const auto &entry : fs::directory_iterator(path, ignored)) {
        fs::remove_all(entry.path(), ignored);
    }
}
