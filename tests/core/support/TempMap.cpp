// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempMap.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <random>

#include "builder/DemoMap.h"
#include "edit/MapProtection.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"

namespace quorin::testing {

TempDir::TempDir() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() / ("quorin-test-" + std::to_string(random()) + "-" +
                                                      std::to_string(random()));
    std::filesystem::create_directories(root_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(root_, ignored);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string WriteMap(const TempDir& dir, const MapBuilder& builder, const std::string& name) {
    const std::string path = dir.path(name);
    WriteBytes(path, builder.build());
    return path;
}

std::string WriteSparseMap(const TempDir& dir, const MapBuilder& builder, std::int64_t size, const std::string& name) {
    const std::string path = WriteMap(dir, builder, name);
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));
    return path;
}

MapBuilder HugeCountMap() {
    MapBuilder map = DemoMap();
    map.globalCount = kHugeCount;
    return map;
}

bool Load(MapState& state, const std::string& path, CollectedMessages& messages) {
    const Status loaded = OpenMap(state, path, BuiltInMapNames());
    messages.messages.push_back(loaded ? std::string(kMapLoaded) : MessageOf(loaded.error()));
    return loaded.ok();
}

Status Protect(MapState& state, CollectedMessages& messages) {
    Status done = ProtectScripts(state);
    if (done) messages.messages.emplace_back(kProtectedMessage);
    return done;
}

int LockAsAnotherWriter(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (descriptor >= 0 && ::fcntl(descriptor, F_OFD_SETLK, &whole) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

void PutInt16(std::vector<std::uint8_t>& bytes, std::int64_t at, std::int32_t value) {
    bytes.at(at) = static_cast<std::uint8_t>(value & 0xFF);
    bytes.at(at + 1) = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void PutInt32(std::vector<std::uint8_t>& bytes, std::int64_t at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF);
}

}  // namespace quorin::testing
