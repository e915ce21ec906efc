#include "interpreter/short_names.h"

#include "interpreter/names.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kestrin::cmd {

namespace {

// Characters an 8.3 name may hold besides letters and digits.
constexpr std::string_view kShortNameSymbols = "!#$%&'()-@^_`{}~";

// What each byte of a long name becomes in a short name: letters upper case, digits and the
// symbols above as they are, blanks and dots nothing (0), the first byte of a non-ASCII
// character one "_" and its other bytes nothing, any other character "_".
constexpr std::array<char, 256> kShortForm = [] {
    std::array<char, 256> form{};
    for (std::size_t c = 0; c < form.size(); ++c) {
        const bool continuation = c >= 0x80 && c < 0xC0;
        form[c] = continuation ? '\0' : '_';
    }
    for (char c = '0'; c <= '9'; ++c) {
        form[static_cast<unsigned char>(c)] = c;
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        form[static_cast<unsigned char>(c)] = c;
        form[static_cast<unsigned char>(c - 'A' + 'a')] = c;
    }
    for (const char c : kShortNameSymbols) {
        form[static_cast<unsigned char>(c)] = c;
    }
    form[' '] = '\0';
    form['.'] = '\0';
    return form;
}();

// True for a character an 8.3 name may hold as it is, in either letter case.
bool isShortNameChar(char c) {
    const char form = kShortForm[static_cast<unsigned char>(c)];
    return form != '\0' && (form != '_' || c == '_');
}

bool isAllShortNameChars(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isShortNameChar);
}

// Converts one part of a long name (the base or the extension) to short-name characters as
// `kShortForm` says, into `out`, until `room` characters are there; the result is their count.
std::size_t convertPart(std::string_view part, char* out, std::size_t room) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < part.size() && length < room; ++i) {
        if (const char c = kShortForm[static_cast<unsigned char>(part[i])]; c != '\0') {
            out[length++] = c;
        }
    }
    return length;
}

// A converted name: its stem (at most six characters, never empty) and extension (at most
// three), in fixed buffers.
struct Converted {
    char stem[6];
    std::size_t stemLength = 0;
    char extension[3];
    std::size_t extensionLength = 0;

    std::string_view stemView() const { return {stem, stemLength}; }
    std::string_view extensionView() const { return {extension, extensionLength}; }
};

Converted convert(std::string_view name) {
    Converted result;
    const std::size_t dot = name.rfind('.');
    const std::string_view base = dot == std::string_view::npos ? name : name.substr(0, dot);
    result.stemLength = convertPart(base, result.stem, 6);
    if (result.stemLength == 0) {
        result.stem[0] = '_';
        result.stemLength = 1;
    }
    if (dot != std::string_view::npos) {
        result.extensionLength = convertPart(name.substr(dot + 1), result.extension, 3);
    }
    return result;
}

ShortName fromValidName(std::string_view name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) {
        return {asciiUpper(name), {}};
    }
    return {asciiUpper(name.substr(0, dot)), asciiUpper(name.substr(dot + 1))};
}

std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb53fe63a5ae3ULL;
    x ^= x >> 33;
    return x;
}

// Writes `number` in decimal to `out`; the result is the count of digits (at most ten).
std::size_t writeDecimal(std::uint32_t number, char* out) {
    char reversed[10];
    std::size_t count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = reversed[count - 1 - i];
    }
    return count;
}

std::size_t tableSizeFor(std::size_t entries) {
    std::size_t size = 16;
    while (size < entries + entries / 2 + 1) {
        size *= 2;
    }
    return size;
}

// The set of short names given so far. Open addressing over indexes into the result vector: one
// allocation of four bytes a slot, sized once for the whole folder, instead of a heap node and
// a string per name.
class TakenNames {
public:
    static constexpr std::uint32_t kAdded = UINT32_MAX;

    TakenNames(const std::vector<ShortName>& names, std::size_t capacity)
        : names_(names), slots_(tableSizeFor(capacity), 0) {}

    // Marks `names_[index]` as taken: `kAdded`, or the index of the equal name already taken.
    std::uint32_t insert(std::uint32_t index) {
        const std::string_view key = names_[index].padded();
        for (std::size_t slot = hash(key) & (slots_.size() - 1);;
             slot = (slot + 1) & (slots_.size() - 1)) {
            const std::uint32_t held = slots_[slot];
            if (held == 0) {
                slots_[slot] = index + 1;
                return kAdded;
            }
            if (names_[held - 1].padded() == key) {
                return held - 1;
            }
        }
    }

private:
    static std::uint64_t hash(std::string_view padded) {
        std::uint64_t head = 0;
        std::uint32_t tail = 0;
        std::memcpy(&head, padded.data(), 8);
        std::memcpy(&tail, padded.data() + 8, 4);
        return mix(head ^ mix(tail));
    }

    const std::vector<ShortName>& names_;
    std::vector<std::uint32_t> slots_; // index + 1, 0 for an empty slot
};

// The last number given to each stem. A stem has at most six characters, so its bytes are the
// key itself; the table grows with the number of different stems, which is usually small.
class StemNumbers {
public:
    std::uint32_t& operator[](std::string_view stem) {
        std::uint64_t key = 0;
        std::memcpy(&key, stem.data(), stem.size()); // never 0: a stem is never empty
        if (used_ + 1 > slots_.size() / 2) {
            grow();
        }
        Slot& slot = find(key);
        if (slot.key == 0) {
            slot.key = key;
            ++used_;
        }
        return slot.number;
    }

private:
    struct Slot {
        std::uint64_t key = 0;
        std::uint32_t number = 0;
    };

    Slot& find(std::uint64_t key) {
        for (std::size_t slot = mix(key) & (slots_.size() - 1);;
             slot = (slot + 1) & (slots_.size() - 1)) {
            if (slots_[slot].key == key || slots_[slot].key == 0) {
                return slots_[slot];
            }
        }
    }

    void grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
        for (const Slot& slot : old) {
            if (slot.key != 0) {
                find(slot.key) = slot;
            }
        }
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

} // namespace

ShortName::ShortName(std::string_view base, std::string_view extension) : ShortName() {
    base = base.substr(0, 8);
    extension = extension.substr(0, 3);
    std::copy(base.begin(), base.end(), padded_.begin());
    std::copy(extension.begin(), extension.end(), padded_.begin() + 9);
}

std::string_view ShortName::base() const {
    const std::string_view all = padded().substr(0, 8);
    return all.substr(0, all.find(' '));
}

std::string_view ShortName::extension() const {
    const std::string_view all = padded().substr(9);
    return all.substr(0, all.find(' '));
}

std::string ShortName::text() const {
    std::string result(base());
    if (const std::string_view ext = extension(); !ext.empty()) {
        result += '.';
        result += ext;
    }
    return result;
}

bool isValidShortName(std::string_view name) {
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    if (base.empty() || base.size() > 8 || !isAllShortNameChars(base)) {
        return false;
    }
    if (dot == std::string_view::npos) {
        return true;
    }
    const std::string_view extension = name.substr(dot + 1);
    return !extension.empty() && extension.size() <= 3 && isAllShortNameChars(extension);
}

namespace {

// The first number with one digit more than `number`.
std::uint32_t nextDigitCount(std::uint32_t number) {
    std::uint32_t bound = 10;
    while (bound <= number && bound < 1000000000) {
        bound *= 10;
    }
    return bound;
}

// Gives generated short names, "~N" numbers counted per stem, skipping taken names. Where many
// stems share their first characters, their numbered names meet once the number takes the room
// of a character ("HARBOR~9", "HARBO~10"), and a stem's next free number may lie behind
// thousands taken by other stems. So each taken generated name keeps a hint: every number from
// its own up to the hint, with the same beginning and extension, is taken too. A search follows
// the hints and then shortens them for the names it passed, so that no stretch of taken numbers
// is walked twice.
class Numbering {
public:
    Numbering(std::vector<ShortName>& result, TakenNames& taken)
        : result_(result), taken_(taken), hints_(result.size(), 0) {}

    void give(std::size_t k, const Converted& converted) {
        std::uint32_t& last = lastNumber_[converted.stemView()];
        passed_.clear();
        std::uint32_t number = last + 1;
        for (;;) {
            result_[k] = numbered(converted, number);
            const std::uint32_t held = taken_.insert(static_cast<std::uint32_t>(k));
            if (held == TakenNames::kAdded) {
                break;
            }
            passed_.emplace_back(held, number);
            number = std::max(number + 1, hints_[held]);
        }
        last = number;
        for (const auto& [index, from] : passed_) {
            hints_[index] = std::min(number, nextDigitCount(from));
        }
    }

private:
    static ShortName numbered(const Converted& converted, std::uint32_t number) {
        char digits[16];
        digits[0] = '~';
        const std::size_t digitCount = 1 + writeDecimal(number, digits + 1);
        const std::size_t keep =
            std::min(converted.stemLength, digitCount < 8 ? 8 - digitCount : 0);
        char base[16];
        std::memcpy(base, converted.stem, keep);
        std::memcpy(base + keep, digits, digitCount);
        return ShortName({base, keep + digitCount}, converted.extensionView());
    }

    std::vector<ShortName>& result_;
    TakenNames& taken_;
    std::vector<std::uint32_t> hints_; // by index into `result_`; 0 when none is known
    StemNumbers lastNumber_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> passed_; // taken names a search passed
};

} // namespace

std::vector<ShortName> deriveShortNames(const PackedNames& names) {
    std::vector<ShortName> result(names.size());
    std::vector<bool> assigned(names.size(), false);
    TakenNames taken(result, names.size());

    // Names that already are 8.3 names keep their own, so that a generated name never takes
    // the short name of a file that has it by right. Of names that differ only in case, the
    // first in name order keeps it and the others are generated below.
    for (std::size_t k = 0; k < names.size(); ++k) {
        const std::string_view name = names[k];
        if (!isValidShortName(name) || name.front() == '-') {
            continue;
        }
        result[k] = fromValidName(name);
        assigned[k] = taken.insert(static_cast<std::uint32_t>(k)) == TakenNames::kAdded;
    }

    Numbering numbering(result, taken);
    std::vector<std::uint32_t> dashed; // names whose stem begins with "-", numbered last
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (assigned[k]) {
            continue;
        }
        const Converted converted = convert(names[k]);
        if (converted.stem[0] == '-') {
            dashed.push_back(static_cast<std::uint32_t>(k));
            continue;
        }
        numbering.give(k, converted);
    }
    for (const std::uint32_t k : dashed) {
        Converted converted = convert(names[k]);
        converted.stem[0] = '_';
        numbering.give(k, converted);
    }
    return result;
}

std::vector<ShortName> deriveShortNames(const std::vector<std::string>& namesInOrder) {
    return deriveShortNames(PackedNames(namesInOrder));
}

ShortNameIndex::ShortNameIndex(PackedNames namesInOrder, std::vector<ShortName> shortNames)
    : names_(std::move(namesInOrder)), shortNames_(std::move(shortNames)) {}

ShortNameIndex::ShortNameIndex(const std::vector<std::string>& namesInOrder,
                               const std::vector<ShortName>& shortNames)
    : ShortNameIndex(PackedNames(namesInOrder), shortNames) {}

std::optional<std::string> ShortNameIndex::find(std::string_view base,
                                                std::string_view extension) const {
    const std::size_t count = std::min(names_.size(), shortNames_.size());
    for (std::size_t k = 0; k < count; ++k) {
        if (shortNames_[k].base() == base && shortNames_[k].extension() == extension) {
            return std::string(names_[k]);
        }
    }
    return std::nullopt;
}

std::optional<std::string> ShortNameIndex::longNameFor(std::string_view argument) const {
    const std::string key = asciiUpper(argument);
    const std::size_t dot = key.find('.');
    if (dot == std::string::npos) {
        if (auto found = find(key, "BIN")) {
            return found;
        }
        return find(key, "");
    }
    const std::string_view extension = std::string_view(key).substr(dot + 1);
    if (extension.empty()) {
        return std::nullopt; // "NAME." is no short name's text
    }
    return find(std::string_view(key).substr(0, dot), extension);
}

} // namespace kestrin::cmd
