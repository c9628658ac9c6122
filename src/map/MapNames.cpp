// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapNames.h"

#include <algorithm>
#include <string_view>

#include "file/SystemFile.h"
#include "base/TextFormat.h"

namespace quorin {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A header name is compared byte for byte, so a name is only what a person
// can type and see: a byte-order mark, a no-break space or a byte of a
// UTF-16 file would make a name that looks right and matches nothing.
bool IsPrintableAscii(char c) { return c >= 0x20 && c <= 0x7E; }

// line with each byte outside printable ASCII shown as "\xHH".
std::string AsciiText(std::string_view line) {
    std::string shown;
    for (const char c : line) shown += IsPrintableAscii(c) ? std::string(1, c) : EscapedByte(static_cast<unsigned char>(c));
    return shown;
}

// What a byte outside printable ASCII at the start of line most likely is.
std::string_view Likely(std::string_view line, std::size_t at) {
    if (at == 0 && line.starts_with(kByteOrderMark)) return " (a second byte-order mark?)";
    if (at == 0 && (line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF"))) return " (is the file UTF-16?)";
    if (line[at] == '\xA0' || line.substr(at).starts_with("\xC2\xA0")) return " (a no-break space?)";
    return "";
}

}  // namespace

const std::vector<std::string>& BuiltInMapNames() {
    // Placeholder level names: ten campaign levels, then the user-interface map.
    static const std::vector<std::string> names = {
        "emberreach", "saltmarsh",  "ironcauseway", "hollowspire", "tidewatch", "cindervault",
        "greywater",  "sunkenchoir", "ashfall",     "lastlantern", "ui",
    };
    return names;
}

Result<std::vector<std::string>> ParseMapNames(std::string_view text, const std::string& path) {
    // Each refusal names the file and the offset of the line it is about.
    const std::size_t whole = text.size();
    const auto refused = [&](std::optional<std::int64_t> at, const std::string& words) {
        return Error(ErrorCode::BadValue, path, at) << "The map names file \"" << FilePath{path} << "\"" << words;
    };
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    std::vector<std::string> names;
    std::int64_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const auto lineAt = static_cast<std::int64_t>(whole - text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::string where = ", line " + Decimal(lineNumber) + ": ";
        // A header name is never blank, so a blank line would only widen
        // what is accepted; blanks around a name would never match one.
        if (line.find_first_not_of(" \t") == std::string_view::npos) {
            return refused(lineAt, where + "the line is blank; write one name a line, with no blank lines.");
        }
        if (IsBlank(line.front()) || IsBlank(line.back())) {
            return refused(lineAt,
                           where + "\"" + VisibleText(line) + "\" begins or ends with a blank; a name has none there.");
        }
        const auto outside = std::find_if_not(line.begin(), line.end(), IsPrintableAscii);
        if (outside != line.end()) {
            const auto at = static_cast<std::size_t>(outside - line.begin());
            const std::string byte = EscapedByte(static_cast<unsigned char>(*outside));
            if (IsControlByte(static_cast<unsigned char>(*outside))) {
                return refused(lineAt + static_cast<std::int64_t>(at),
                               where + "\"" + VisibleText(line) + "\" holds the control byte " + byte +
                                   (*outside == '\r' ? " (is the line end doubled?)" : "") + "; a name has none.");
            }
            return refused(
                lineAt + static_cast<std::int64_t>(at),
                where + "\"" + AsciiText(line) + "\" holds the byte " + byte + std::string(Likely(line, at)) +
                    ", which is not printable ASCII; a name has only letters, digits, blanks and punctuation.");
        }
        names.emplace_back(line);
    }
    if (names.size() != kStockMapNameCount) {
        return refused(std::nullopt, " must hold exactly " + Decimal(kStockMapNameCount) +
                                         " names, one a line; it holds " +
                                         Decimal(static_cast<std::int64_t>(names.size())) + ".");
    }
    return names;
}

Result<std::vector<std::string>> ReadMapNamesFile(const std::string& path) {
    auto file = SystemFile::open(path, SystemFile::Access::Read);
    if (!file) return file.error();
    // One byte past the limit tells a file that is too long from one that
    // fills it exactly, without ever holding more.
    auto bytes = file->readFromStart(kLongestMapNamesFile + 1);
    if (!bytes) return bytes.error();
    if (bytes->size() > kLongestMapNamesFile) {
        return Error(ErrorCode::TooLong, path, std::nullopt)
               << "The map names file \"" << FilePath{path} << "\" is longer than "
               << Decimal(kLongestMapNamesFile / 1024) << " KiB; it holds eleven names, one a line.";
    }
    return ParseMapNames(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), path);
}

Result<std::vector<std::string>> ResolveMapNames(const std::optional<std::string>& optionFile,
                                                 const char* environmentFile) {
    if (optionFile) return ReadMapNamesFile(*optionFile);
    if (environmentFile && *environmentFile) return ReadMapNamesFile(environmentFile);
    return BuiltInMapNames();
}

}  // namespace quorin
