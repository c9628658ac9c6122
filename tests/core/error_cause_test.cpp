// SPDX-License-Identifier: GPL-3.0-or-later
// Each cause the core reports, made by a real file: the code a caller
// branches on and the file and offset it concerns. The words of the
// messages are owned by the tests of the operations that make them; a row
// checks them only where none does.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "builder/DemoMap.h"
#include "edit/MapProtection.h"
#include "map/FileLayout.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "map/MapWriter.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

using testing::TempDir;

struct Made {
    Error error;
    std::string path;                    // the path it must name
    std::optional<std::int64_t> offset;  // the offset it must name
};

struct CauseRow {
    const char* name;
    ErrorCode code;
    std::function<Made(const TempDir&)> make;
    std::optional<std::string> message;  // "PATH" stands for the path
};

Error RefusedLoad(const std::string& path, OpenMode mode = OpenMode::Edit) {
    MapState state;
    Status loaded = OpenMap(state, path, BuiltInMapNames(), mode);
    EXPECT_FALSE(loaded);
    return loaded ? Error() : loaded.error();
}

// The demo map with bytes changed after it was written.
std::string PatchedDemo(const TempDir& dir, const std::function<void(std::vector<std::uint8_t>&)>& patch) {
    const std::string path = testing::WriteMap(dir, DemoMap(), "demo.map");
    std::vector<std::uint8_t> bytes = testing::ReadBytes(path);
    patch(bytes);
    testing::WriteBytes(path, bytes);
    return path;
}

// What protecting the demo map says once change has been made after the load.
Made RefusedProtect(const TempDir& dir, OpenMode mode, const std::function<void(const std::string&)>& change) {
    const std::string path = testing::WriteMap(dir, DemoMap(), "demo.map");
    MapState state;
    EXPECT_TRUE(OpenMap(state, path, BuiltInMapNames(), mode));
    change(path);
    Status done = ProtectScripts(state);
    EXPECT_FALSE(done);
    return {done ? Error() : done.error(), path, std::nullopt};
}

std::string File(const TempDir& dir, const std::string& name, const std::string& bytes) {
    const std::string path = dir.path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

const CauseRow kCauses[] = {
    {"Missing", ErrorCode::CannotOpen,
     [](const TempDir& dir) {
         const std::string path = dir.path("missing.map");
         return Made{RefusedLoad(path), path, std::nullopt};
     },
     std::nullopt},
    {"Folder", ErrorCode::NotRegularFile,
     [](const TempDir& dir) {
         const std::string path = dir.path("folder.map");
         std::filesystem::create_directory(path);
         return Made{RefusedLoad(path), path, std::nullopt};
     },
     std::nullopt},
    {"LongNamesFile", ErrorCode::TooLong,
     [](const TempDir& dir) {
         const std::string path = File(dir, "names.txt", std::string(kLongestMapNamesFile + 1, 'a'));
         auto names = ReadMapNamesFile(path);
         return Made{names ? Error() : names.error(), path, std::nullopt};
     },
     std::nullopt},
    {"BlankNameLine", ErrorCode::BadValue,
     [](const TempDir& dir) {
         const std::string path = File(dir, "names.txt", "one\ntwo\n\nfour\n");
         auto names = ReadMapNamesFile(path);
         return Made{names ? Error() : names.error(), path, 8};  // where line 3 begins
     },
     std::nullopt},
    {"TextFile", ErrorCode::NotAMap,
     [](const TempDir& dir) {
         const std::string path = File(dir, "notes.txt", "not a map\n");
         return Made{RefusedLoad(path), path, layout::header::OtherIndexOffset.offset};
     },
     std::nullopt},
    {"RefusedVersion", ErrorCode::NotAMap,
     [](const TempDir& dir) {
         const std::string path = PatchedDemo(dir, [](auto& bytes) {
             testing::PutInt32(bytes, layout::header::Version.offset, layout::kRefusedVersion);
         });
         return Made{RefusedLoad(path), path, layout::header::Version.offset};
     },
     std::nullopt},
    {"TagIndexOutside", ErrorCode::OutOfBounds,
     [](const TempDir& dir) {
         const std::string path = PatchedDemo(
             dir, [](auto& bytes) { testing::PutInt32(bytes, layout::header::IndexOffset.offset, 0x7FFFFF00); });
         return Made{RefusedLoad(path), path, 0x7FFFFF00};
     },
     std::nullopt},
    {"WritePastEnd", ErrorCode::OutOfBounds,
     [](const TempDir& dir) {
         const std::string path = File(dir, "short.map", std::string(16, '\0'));
         auto writer = MapWriter::open(path);
         EXPECT_TRUE(writer);
         Status written = writer->writeInt32(20, 1);
         return Made{written ? Error() : written.error(), path, 20};
     },
     "Can't write 4 bytes at offset 0x14 of \"PATH\": that lies outside the file, which has 16 bytes. "
     "Nothing was written."},
    {"ChangedSinceLoad", ErrorCode::ChangedOnDisk,
     [](const TempDir& dir) {
         return RefusedProtect(dir, OpenMode::Edit,
                               [](const std::string& path) { std::ofstream(path, std::ios::app) << 'x'; });
     },
     std::nullopt},
    {"OpenedReadOnly", ErrorCode::ReadOnly,
     [](const TempDir& dir) { return RefusedProtect(dir, OpenMode::ReadOnly, [](const std::string&) {}); },
     std::nullopt},
    {"NothingLoaded", ErrorCode::NoMap,
     [](const TempDir&) {
         MapState state;
         Status done = ProtectScripts(state);
         return Made{done ? Error() : done.error(), "", std::nullopt};
     },
     "No map is loaded. Nothing was written."},
};

void PrintTo(const CauseRow& row, std::ostream* out) { *out << row.name; }

class ErrorCauseTest : public ::testing::TestWithParam<CauseRow> {};

TEST_P(ErrorCauseTest, SaysItsCauseFileAndOffset) {
    const CauseRow& row = GetParam();
    TempDir dir;
    const Made made = row.make(dir);
    EXPECT_EQ(made.error.code, row.code);
    EXPECT_EQ(made.error.path, made.path);
    EXPECT_EQ(made.error.offset, made.offset);
    const std::string message = MessageOf(made.error);
    if (row.message) {
        std::string expected = *row.message;
        if (const auto at = expected.find("PATH"); at != std::string::npos) expected.replace(at, 4, made.path);
        EXPECT_EQ(message, expected);
    }
    // Where the words quote the path, it is marked, so a window can show it
    // decoded as a file name.
    if (!made.path.empty() && message.find(made.path) != std::string::npos) {
        const auto marked = std::find_if(made.error.pieces.begin(), made.error.pieces.end(), [&](const auto& piece) {
            return piece.kind == Error::Piece::Kind::Path && piece.text == made.path;
        });
        EXPECT_NE(marked, made.error.pieces.end()) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(Causes, ErrorCauseTest, ::testing::ValuesIn(kCauses),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorin
