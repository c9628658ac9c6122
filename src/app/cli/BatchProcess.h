// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a quorin-cli process takes memory, in one place so that a benchmark
// measuring a whole run against a baseline process starts the same way.

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace quorin::cli {

// A run is short and its peak is bounded by the map: memory the loader
// frees is kept for what follows rather than handed back and faulted in
// again, and large blocks come from the heap instead of fresh mappings.
inline void TuneMemoryForBatchRun() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

}  // namespace quorin::cli
