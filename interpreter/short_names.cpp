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

// A short name of the form every generated one has, "PREFIX~N" with N written without leading
// zeros, as the prefix with the extension (the group) and N. Two short names are equal exactly
// when their groups and numbers are. A prefix holds at most six characters and an extension
// three, all ASCII, so seven bits of each make the group.
struct NumberedKey {
    std::uint64_t group;
    std::uint32_t number;
};

std::uint64_t groupOf(std::string_view prefix, std::string_view extension) {
    std::uint64_t group = 0;
    for (std::size_t i = 0; i < 6; ++i)
        group = (group << 7) |
                (i < prefix.size() ? (static_cast<unsigned char>(prefix[i]) & 0x7F) : 0u);
    for (std::size_t i = 0; i < 3; ++i)
        group = (group << 7) |
                (i < extension.size() ? (static_cast<unsigned char>(extension[i]) & 0x7F) : 0u);
    return group;
}

std::optional<NumberedKey> numberedKeyOf(const ShortName& name) {
    const std::string_view base = name.base();
    const std::size_t tilde = base.rfind('~');
    if (tilde == std::string_view::npos || tilde + 1 == base.size() || base[tilde + 1] == '0')
        return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : base.substr(tilde + 1)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return NumberedKey{groupOf(base.substr(0, tilde), name.extension()), number};
}

// The taken short names of the numbered form, as bits: one entry holds 32 numbers of a group.
// A stem numbers its names one after the other, so a whole folder's numbers fit in few entries
// that stay in the cache, and a search past numbers other stems took reads 32 at a time.
// Short names of any other form never equal a generated one, and the only ones of them that
// can meet are names that differ in letter case alone, neighbours in name order.
class TakenNumbers {
public:
    // True when the key was free, and is taken now.
    bool take(NumberedKey key) {
        Entry& entry = find(key.group, key.number / 32);
        const std::uint32_t bit = std::uint32_t{1} << (key.number % 32);
        if ((entry.bits & bit) != 0)
            return false;
        entry.bits |= bit;
        return true;
    }
    // The first number after `key`'s that its entry does not show taken: the next one, or
    // further past a stretch of taken ones.
    std::uint32_t nextCandidate(NumberedKey key) {
        const Entry& entry = find(key.group, key.number / 32);
        const std::uint32_t above =
            key.number % 32 == 31 ? 0 : ~entry.bits >> (key.number % 32 + 1);
        if (above == 0)
            return (key.number / 32 + 1) * 32;
        return key.number + 1 + static_cast<std::uint32_t>(__builtin_ctz(above));
    }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0}; // no group has its top bit set
    struct Entry {
        std::uint64_t group = kEmpty;
        std::uint32_t block = 0;
        std::uint32_t bits = 0;
    };

    Entry& find(std::uint64_t group, std::uint32_t block) {
        if ((used_ + 1) * 4 > slots_.size() * 3)
            grow();
        Entry& entry = probe(group, block);
        if (entry.group == kEmpty) {
            entry.group = group;
            entry.block = block;
            ++used_;
        }
        return entry;
    }

    Entry& probe(std::uint64_t group, std::uint32_t block) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = mix(group ^ mix(block)) & mask;; slot = (slot + 1) & mask) {
            Entry& entry = slots_[slot];
            if (entry.group == kEmpty || (entry.group == group && entry.block == block))
                return entry;
        }
    }

    void grow() {
        std::vector<Entry> old = std::move(slots_);
        slots_.assign(old.empty() ? 256 : old.size() * 2, Entry{});
        for (const Entry& entry : old)
            if (entry.group != kEmpty)
                probe(entry.group, entry.block) = entry;
    }

    std::vector<Entry> slots_;
    std::size_t used_ = 0;
};

ShortName numbered(const Converted& converted, std::uint32_t number) {
    char digits[16];
    digits[0] = '~';
    const std::size_t digitCount = 1 + writeDecimal(number, digits + 1);
    const std::size_t keep = std::min(converted.stemLength, digitCount < 8 ? 8 - digitCount : 0);
    char base[16];
    std::memcpy(base, converted.stem, keep);
    std::memcpy(base + keep, digits, digitCount);
    return ShortName({base, keep + digitCount}, converted.extensionView());
}

// The converted name a generated short name is made of; a stem that begins with "-" begins
// with "_" instead.
Converted convertForNumbering(std::string_view name) {
    Converted converted = convert(name);
    if (converted.stem[0] == '-')
        converted.stem[0] = '_';
    return converted;
}

// The key of `numbered(converted, number)`, made without making the name where the number fits.
NumberedKey keyOf(const Converted& converted, std::uint32_t number) {
    std::size_t digitCount = 1; // with the "~"
    for (std::uint32_t left = number; left != 0; left /= 10)
        ++digitCount;
    if (digitCount > 8) // cut to eight characters: the name tells
        return *numberedKeyOf(numbered(converted, number));
    const std::size_t keep = std::min(converted.stemLength, 8 - digitCount);
    return {groupOf({converted.stem, keep}, converted.extensionView()), number};
}

// Gives generated short names, "~N" numbers counted per stem, skipping taken names. Where many
// stems share their first characters, their numbered names meet once the number takes the room
// of a character ("HARBOR~9", "HARBO~10"), and a stem's next free number may lie behind
// thousands taken by other stems; those are passed 32 at a time.
class Numbering {
public:
    explicit Numbering(TakenNumbers& taken) : taken_(taken) {}

    std::uint32_t give(const Converted& converted) {
        std::uint32_t& last = lastNumber_[converted.stemView()];
        std::uint32_t number = last + 1;
        for (;;) {
            const NumberedKey key = keyOf(converted, number);
            if (taken_.take(key))
                break;
            // A number too long for the base is cut, and its key is not the number: one by one.
            number = key.number == number ? taken_.nextCandidate(key) : number + 1;
        }
        last = number;
        return number;
    }

private:
    TakenNumbers& taken_;
    StemNumbers lastNumber_;
};

} // namespace

std::vector<std::uint32_t> shortNameNumbers(const NamesInOrder& names) {
    constexpr std::uint32_t kUnset = ~std::uint32_t{0};
    std::vector<std::uint32_t> numbers(names.size(), kUnset);
    TakenNumbers taken;

    // Names that already are 8.3 names keep their own, so that a generated name never takes
    // the short name of a file that has it by right. Of names that differ only in case (always
    // neighbours in name order), the first keeps it and the others are generated below.
    ShortName previous;
    bool previousValid = false;
    for (std::size_t k = 0; k < names.size(); ++k) {
        names.prefetchAhead(k);
        const std::string_view name = names[k];
        const bool valid = isValidShortName(name) && name.front() != '-';
        if (!valid) {
            previousValid = false;
            continue;
        }
        const ShortName own = fromValidName(name);
        if (!(previousValid && own == previous)) {
            numbers[k] = kOwnShortName;
            if (const auto key = numberedKeyOf(own))
                taken.take(*key);
        }
        previous = own;
        previousValid = true;
    }

    Numbering numbering(taken);
    std::vector<std::uint32_t> dashed; // names whose stem begins with "-", numbered last
    for (std::size_t k = 0; k < names.size(); ++k) {
        names.prefetchAhead(k);
        if (numbers[k] != kUnset)
            continue;
        const Converted converted = convert(names[k]);
        if (converted.stem[0] == '-') {
            dashed.push_back(static_cast<std::uint32_t>(k));
            continue;
        }
        numbers[k] = numbering.give(converted);
    }
    for (const std::uint32_t k : dashed)
        numbers[k] = numbering.give(convertForNumbering(names[k]));
    return numbers;
}

ShortName shortNameOf(std::string_view name, std::uint32_t number) {
    if (number == kOwnShortName)
        return fromValidName(name);
    return numbered(convertForNumbering(name), number);
}

std::vector<ShortName> deriveShortNames(const std::vector<std::string>& namesInOrder) {
    const PackedNames names(namesInOrder);
    const std::vector<std::uint32_t> inOrder;
    const std::vector<std::uint32_t> numbers = shortNameNumbers({names, inOrder});
    std::vector<ShortName> result;
    result.reserve(numbers.size());
    for (std::size_t k = 0; k < numbers.size(); ++k)
        result.push_back(shortNameOf(names[k], numbers[k]));
    return result;
}

ShortNameIndex::ShortNameIndex(PackedNames names, std::vector<std::uint32_t> order,
                               std::vector<std::uint32_t> numbers)
    : names_(std::move(names)), order_(std::move(order)), numbers_(std::move(numbers)) {}

std::optional<std::string> ShortNameIndex::find(std::string_view base,
                                                std::string_view extension) const {
    const NamesInOrder names{names_, order_};
    const std::size_t count = std::min(names.size(), numbers_.size());
    for (std::size_t k = 0; k < count; ++k) {
        names.prefetchAhead(k);
        const ShortName shortName = shortNameOf(names[k], numbers_[k]);
        if (shortName.base() == base && shortName.extension() == extension)
            return std::string(names[k]);
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
