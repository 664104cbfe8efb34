// Reads a shell link file with libyal's liblnk, a reader that neither of the project's writers is.
#ifndef ORVO_TESTS_SUPPORT_LINK_READER_H
#define ORVO_TESTS_SUPPORT_LINK_READER_H

#include <ostream>
#include <string>

struct LinkReading {
    bool opened = false;
    std::string error;
    std::string localPath;
    std::string description;
    std::string iconLocation;
    long long iconIndex = -1;

    bool operator==(const LinkReading &other) const;
};

std::ostream &operator<<(std::ostream &out, const LinkReading &reading);

// A target as the shell's SetPath stores it: each run of backslashes written once.
std::string NormalisedTarget(const std::string &path);

// What liblnk reads from the link at hostPath (strings in UTF-8).
LinkReading ReadLinkWithLiblnk(const std::string &hostPath);

// What lnkinfo prints for the same fields, or opened = false when lnkinfo is missing or fails.
LinkReading ReadLinkWithLnkinfo(const std::string &hostPath);

#endif
