// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry: arbitrary bytes as a Map file, then every read-only
// operation on what loads.

#include <unistd.h>

#include <string>

#include "ReadOnlyOperations.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/dev/shm/quorin-fuzz-" + std::to_string(::getpid()) + ".map";
    quorin::fuzzing::LoadAndReadEverything(path, data, size);
    return 0;
}
