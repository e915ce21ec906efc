#include "interpreter/listing.h"

#include "interpreter/names.h"

#include <cstdio>
#include <ctime>

namespace kestrin::cmd {

namespace {

std::string sanitizedLabel(std::string_view label) {
    std::string result(label);
    for (char& c : result) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            c = '?';
        }
    }
    return result;
}

void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += kLineEnd;
}

// "      12345  2024-05-01  14:03  " : size right-aligned in twelve columns, local date and time.
void appendDetails(std::string& out, const FileDetails& details) {
    char size[32];
    std::snprintf(size, sizeof size, "%12llu", static_cast<unsigned long long>(details.size));
    out += "  ";
    out += size;
    std::tm local{};
    char stamp[32] = "0000-00-00  00:00";
    if (::localtime_r(&details.modified, &local) != nullptr) {
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d  %H:%M", &local);
    }
    out += "  ";
    out += stamp;
    out += "  ";
}

} // namespace

std::vector<ListedFile> binFiles(const Folder& folder, bool withDetails) {
    std::vector<ListedFile> files;
    for (const FolderEntry& entry : folder.entries) {
        if (!hasBinExtension(entry.name) || entry.type == 'd' || entry.type == 'o') {
            continue;
        }
        FileDetails details;
        if (withDetails || entry.type != 'f') {
            const auto found = regularFileDetails(folder.path, entry.name);
            if (!found) {
                continue; // a link to a folder, a dangling link, or gone since it was read
            }
            details = *found;
        }
        files.push_back({&entry, details});
    }
    return files;
}

std::string formatBareListing(const std::vector<ListedFile>& files) {
    std::string out;
    std::size_t bytes = 0;
    for (const auto& file : files) {
        bytes += file.entry->name.size() + kLineEnd.size();
    }
    out.reserve(bytes);
    for (const auto& file : files) {
        appendLine(out, file.entry->name);
    }
    return out;
}

std::string formatFullListing(std::string_view folderLabel, const std::vector<ListedFile>& files) {
    std::string out;
    out.reserve(files.size() * 64 + 256);
    appendLine(out, "");
    appendLine(out, " Files of the folder");
    appendLine(out, " " + sanitizedLabel(folderLabel));
    appendLine(out, " matching *.bin, by name");
    appendLine(out, "");

    std::uint64_t total = 0;
    for (const auto& file : files) {
        out += file.entry->shortName.padded();
        appendDetails(out, file.details);
        appendLine(out, file.entry->name);
        total += file.details.size;
    }
    appendLine(out, "    " + std::to_string(files.size()) +
                        (files.size() == 1 ? " file, " : " files, ") + std::to_string(total) +
                        " bytes");
    return out;
}

} // namespace kestrin::cmd
