#include "interpreter/listing.h"

#include "interpreter/names.h"

namespace kestrin::cmd {

namespace {

// The size of the pieces a listing is handed on in: large enough that writing costs a few
// system calls, small enough that the buffer stays on a few pages however large the folder.
constexpr std::size_t kPieceBytes = 64 * 1024;

// Collects lines and hands them on whenever a piece is full.
class PieceWriter {
public:
    explicit PieceWriter(const ListingSink& sink) : sink_(sink) {
        // A line holds at most a 255-byte name and 16 more bytes; the header's folder label
        // may be longer, and then the buffer simply grows once.
        buffer_.reserve(kPieceBytes + 512);
    }

    template <typename... Parts> void line(const Parts&... parts) {
        (buffer_.append(parts), ...);
        buffer_.append(kLineEnd);
        if (buffer_.size() >= kPieceBytes) {
            flush();
        }
    }

    // Hands on what is left; false when the sink refused any piece.
    bool finish() {
        flush();
        return ok_;
    }

private:
    void flush() {
        if (ok_ && !buffer_.empty()) {
            ok_ = sink_(buffer_);
        }
        buffer_.clear();
    }

    const ListingSink& sink_;
    std::string buffer_;
    bool ok_ = true;
};

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

bool isListedFile(const Folder& folder, std::size_t k) {
    if (!hasBinExtension(folder.nameAt(k))) {
        return false;
    }
    switch (folder.types[k]) {
    case 'f':
        return true;
    case '?':
        // A link to a folder, a dangling link, or gone since the folder was read: left out.
        return isRegularFile(folder.path, folder.nameAt(k));
    default:
        return false;
    }
}

} // namespace

FolderScope scopeFor(ListingForm form) {
    return form == ListingForm::Bare ? FolderScope::BinNamesOnly : FolderScope::AllWithShortNames;
}

bool writeListing(const Folder& folder, std::string_view folderLabel, ListingForm form,
                  const ListingSink& sink) {
    PieceWriter out(sink);
    if (form == ListingForm::Bare) {
        for (std::size_t k = 0; k < folder.size(); ++k) {
            folder.inOrder().prefetchAhead(k);
            if (isListedFile(folder, k)) {
                out.line(folder.nameAt(k));
            }
        }
        return out.finish();
    }

    if (folder.shortNameNumbers.size() != folder.size()) {
        return false; // read without short names: no full listing can be made of it
    }
    out.line(std::string_view());
    out.line(std::string_view(" Files of the folder"));
    out.line(std::string_view(" "), sanitizedLabel(folderLabel));
    out.line(std::string_view(" matching *.bin, by name"));
    out.line(std::string_view());
    std::size_t count = 0;
    for (std::size_t k = 0; k < folder.size(); ++k) {
        folder.inOrder().prefetchAhead(k);
        if (isListedFile(folder, k)) {
            const std::string_view name = folder.nameAt(k);
            out.line(shortNameOf(name, folder.shortNameNumbers[k]).padded(), std::string_view("  "),
                     name);
            ++count;
        }
    }
    out.line(std::string_view("    "), std::to_string(count),
             std::string_view(count == 1 ? " file" : " files"));
    return out.finish();
}

std::string formatListing(const Folder& folder, std::string_view folderLabel, ListingForm form) {
    std::string text;
    writeListing(folder, folderLabel, form, [&text](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

} // namespace kestrin::cmd
