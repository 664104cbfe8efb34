// Reads a shell link file with libyal's liblnk; see link_reader.h.
#include "link_reader.h"

#include <liblnk.h>

#include <vector>

#include "process.h"

namespace {

typedef int (*Utf8SizeGetter)(liblnk_file_t *, size_t *, liblnk_error_t **);
typedef int (*Utf8Getter)(liblnk_file_t *, uint8_t *, size_t, liblnk_error_t **);

// One string field; "" when the link does not hold it.
std::string ReadString(liblnk_file_t *file, Utf8SizeGetter getSize, Utf8Getter get, std::string &error)
{
    liblnk_error_t *failure = nullptr;
    size_t size = 0;
    int found = getSize(file, &size, &failure);
    if (found == 1 && size > 0) {
        std::vector<uint8_t> text(size);
        if (get(file, text.data(), size, &failure) == 1) {
            return std::string(reinterpret_cast<char *>(text.data()));
        }
        found = -1;
    }
    if (found == -1) {
        char message[512] = {0};
        liblnk_error_sprint(failure, message, sizeof message);
        error += message;
        liblnk_error_free(&failure);
    }
    return "";
}

std::string FieldOf(const std::string &report, const std::string &label)
{
    size_t at = report.find("\t" + label);
    if (at == std::string::npos) {
        return "";
    }
    at = report.find(": ", at);
    size_t end = report.find('\n', at);
    return at == std::string::npos ? "" : report.substr(at + 2, end - at - 2);
}

} // namespace

bool LinkReading::operator==(const LinkReading &other) const
{
    return opened == other.opened && localPath == other.localPath && description == other.description &&
           iconLocation == other.iconLocation && iconIndex == other.iconIndex;
}

std::ostream &operator<<(std::ostream &out, const LinkReading &reading)
{
    return out << "{opened " << reading.opened << ", path \"" << reading.localPath << "\", description \""
               << reading.description << "\", icon \"" << reading.iconLocation << "\", index "
               << reading.iconIndex << (reading.error.empty() ? "" : ", error " + reading.error) << "}";
}

std::string NormalisedTarget(const std::string &path)
{
    std::string normalised;
    for (char c : path) {
        if (!(c == '\\' && !normalised.empty() && normalised.back() == '\\')) {
            normalised += c;
        }
    }
    return normalised;
}

LinkReading ReadLinkWithLiblnk(const std::string &hostPath)
{
    LinkReading reading;
    liblnk_file_t *file = nullptr;
    liblnk_error_t *failure = nullptr;
    if (liblnk_file_initialize(&file, &failure) != 1 ||
        liblnk_file_open(file, hostPath.c_str(), LIBLNK_OPEN_READ, &failure) != 1) {
        char message[512] = {0};
        liblnk_error_sprint(failure, message, sizeof message);
        reading.error = message;
        liblnk_error_free(&failure);
        liblnk_file_free(&file, nullptr);
        return reading;
    }
    reading.opened = true;
    reading.localPath = ReadString(file, liblnk_file_get_utf8_local_path_size, liblnk_file_get_utf8_local_path,
                                   reading.error);
    reading.description = ReadString(file, liblnk_file_get_utf8_description_size,
                                     liblnk_file_get_utf8_description, reading.error);
    reading.iconLocation = ReadString(file, liblnk_file_get_utf8_icon_location_size,
                                      liblnk_file_get_utf8_icon_location, reading.error);
    uint32_t index = 0;
    if (liblnk_file_get_icon_index(file, &index, nullptr) == 1) {
        reading.iconIndex = static_cast<int32_t>(index);
    }
    liblnk_file_close(file, nullptr);
    liblnk_file_free(&file, nullptr);
    return reading;
}

LinkReading ReadLinkWithLnkinfo(const std::string &hostPath)
{
    LinkReading reading;
    Command command;
    command.argv = {"lnkinfo", hostPath};
    command.environment = {"PATH=" + EnvironmentValue("PATH"), "LANG=C.UTF-8"};
    ProcessResult result = RunToEnd(command, Input::AtEnd);
    if (result.exitStatus != 0) {
        reading.error = "lnkinfo failed: " + result.output;
        return reading;
    }
    reading.opened = true;
    reading.localPath = FieldOf(result.output, "Local path");
    reading.description = FieldOf(result.output, "Description");
    reading.iconLocation = FieldOf(result.output, "Icon location");
    std::string index = FieldOf(result.output, "Icon index");
    reading.iconIndex = index.empty() ? -1 : std::stoll(index);
    return reading;
}
