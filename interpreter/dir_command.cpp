#include "interpreter/dir_command.h"

#include "interpreter/names.h"

namespace kestrin::cmd {

bool isDirCommand(const std::vector<std::string>& words) {
    return !words.empty() && asciiUpper(words.front()) == "DIR";
}

std::optional<ListingForm> dirForm(const std::vector<std::string>& words) {
    if (!isDirCommand(words)) {
        return std::nullopt;
    }
    bool byName = false;
    bool bare = false;
    bool pattern = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string word = asciiUpper(words[i]);
        bool* seen = nullptr;
        if (word == "/ON") {
            seen = &byName;
        } else if (word == "/B") {
            seen = &bare;
        } else if (word == "*.BIN") {
            seen = &pattern;
        }
        if (seen == nullptr || *seen) {
            return std::nullopt;
        }
        *seen = true;
    }
    if (!byName || !pattern) {
        return std::nullopt;
    }
    return bare ? ListingForm::Bare : ListingForm::Full;
}

std::optional<std::string> makeListing(const std::string& folderPath, std::string_view folderLabel,
                                       ListingForm form, std::string& error) {
    const std::optional<Folder> folder = readFolder(folderPath, error, scopeFor(form));
    if (!folder) {
        return std::nullopt;
    }
    return formatListing(*folder, folderLabel, form);
}

} // namespace kestrin::cmd
