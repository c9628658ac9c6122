// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small success-or-error value for the core's API: the core never throws
// across its interface and never asserts on what it reads from a file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quorin {

// Why something failed, for code that branches on the cause.
enum class ErrorCode : std::uint8_t {
    CannotOpen,       // the file could not be opened or looked at
    NotRegularFile,   // a folder, a device or a pipe where a file belongs
    TooLong,          // an input file longer than the tool takes
    NotAMap,          // the header says the file is no map the tool reads
    OutOfBounds,      // a structure of the map lies outside the file
    ChangedOnDisk,    // the file is no longer the one that was loaded
    ReadOnly,         // the map or file may not be written
    Busy,             // another program is writing the file
    NotEnoughMemory,  // the system gave less memory than the map asks for
    ReadFailed,       // a read of an open file failed
    WriteFailed,      // a write, flush, rename or copy failed
    NoMap,            // no map is loaded
    UnknownName,      // no record, field, command or option of that name
    BadValue,         // a value a field, option or file refuses
    NothingToDo,      // no write to undo or redo
    Usage,            // a command line of the wrong form
};

// A file's path inside an error's words: its bytes are the file system's
// encoding, not map text, so a window decodes it as a file name.
struct FilePath {
    std::string_view bytes;
};

// A file offset inside an error's words, shown in the one offset notation.
struct FileOffset {
    std::int64_t value;
};

// What went wrong: its cause, the file and offset it concerns where there
// are such, and the words for a person with the paths and offsets marked.
// The text itself is made at the edge (MessageOf, a window's message box).
struct Error {
    struct Piece {
        enum class Kind : std::uint8_t { Words, Path, Offset };
        Kind kind = Kind::Words;
        std::string text;  // the words (map text) or the path's bytes
        std::int64_t offset = 0;
    };

    ErrorCode code = ErrorCode::BadValue;
    std::string path;                    // the file concerned; empty when none
    std::optional<std::int64_t> offset;  // the offset in it concerned
    std::vector<Piece> pieces;

    Error() = default;
    Error(ErrorCode cause, std::string words) : code(cause) { *this << words; }
    Error(ErrorCode cause, std::string file, std::optional<std::int64_t> at)
        : code(cause), path(std::move(file)), offset(at) {}

    // The same cause, file and offset as another error, with no words yet:
    // for an error that says what was being done around another's words.
    static Error Like(const Error& cause) { return Error(cause.code, cause.path, cause.offset); }

    Error& operator<<(std::string_view words) & {
        if (!pieces.empty() && pieces.back().kind == Piece::Kind::Words) {
            pieces.back().text += words;
        } else {
            pieces.push_back({Piece::Kind::Words, std::string(words), 0});
        }
        return *this;
    }
    Error& operator<<(FilePath file) & {
        pieces.push_back({Piece::Kind::Path, std::string(file.bytes), 0});
        return *this;
    }
    Error& operator<<(FileOffset at) & {
        pieces.push_back({Piece::Kind::Offset, {}, at.value});
        return *this;
    }
    // Another error's words, marks kept.
    Error& operator<<(const Error& words) & {
        for (const Piece& piece : words.pieces) {
            if (piece.kind == Piece::Kind::Words) {
                *this << piece.text;
            } else {
                pieces.push_back(piece);
            }
        }
        return *this;
    }
    template <typename Part>
    Error&& operator<<(const Part& part) && {
        static_cast<Error&>(*this) << part;
        return std::move(*this);
    }
};

// The one notation of a file offset in messages: "0x" and capital
// hexadecimal digits ("-0x10" below zero).
std::string OffsetText(std::int64_t offset);

// The words of error as one text: paths as their bytes, offsets in the one
// notation. The command line writes this; a window decodes the paths.
std::string MessageOf(const Error& error);

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};

// For operations that give nothing back but may fail.
struct Done {};
using Status = Result<Done>;
inline Status success() { return Done{}; }

}  // namespace quorin
