// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test support: writes maps made with MapBuilder into a private temporary
// folder and reads files back for byte comparisons.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "builder/MapBuilder.h"
#include "map/MapState.h"

namespace quorin::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return (root_ / name).string(); }

private:
    std::filesystem::path root_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string WriteMap(const TempDir& dir, const MapBuilder& builder, const std::string& name = "test.map");
// WriteMap, then the file made size bytes long without writing the rest: a
// file of gigabytes that takes a few kilobytes on disk.
std::string WriteSparseMap(const TempDir& dir, const MapBuilder& builder, std::int64_t size,
                           const std::string& name = "sparse.map");

// The demo map claiming kHugeCount globals, for a sparse file of
// kHugeCountFileSize bytes: the table lies inside the file, all zero bytes
// past the demo's own globals.
inline constexpr std::int32_t kHugeCount = 50'000'000;
inline constexpr std::int64_t kHugeCountFileSize = std::int64_t{5} << 30;
MapBuilder HugeCountMap();

// The messages a window would show, in order.
struct CollectedMessages {
    std::vector<std::string> messages;
};

// Loads path into state with the built-in stock names; the one message a
// window shows for it ("Map loaded!" or the refusal) is kept in messages.
bool Load(MapState& state, const std::string& path, CollectedMessages& messages);
// Protects the loaded map; the message a window shows on success is kept.
Status Protect(MapState& state, CollectedMessages& messages);

// A descriptor of path open for writing that holds the file's write lock,
// as another Quorin writer would while it writes; -1 when either fails.
// Closing it releases the lock.
int LockAsAnotherWriter(const std::string& path);

// Little-endian patching of a byte image.
void PutInt16(std::vector<std::uint8_t>& bytes, std::int64_t at, std::int32_t value);
void PutInt32(std::vector<std::uint8_t>& bytes, std::int64_t at, std::int32_t value);

}  // namespace quorin::testing
