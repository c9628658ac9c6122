// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The maximal map loaded once for a window benchmark, and the benchmark's
// main: an offscreen application, the map written to a temporary file and
// loaded through the load chain, then every benchmark.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "fixtures/MaximalMap.h"

namespace quorin::bench {

inline MapState& Maximal() {
    static MapState map;
    return map;
}

// The maximal map with one record in a hundred changed, loaded on first use.
inline const MapState& ChangedMaximal() {
    static const MapState map = [] {
        MapState loaded;
        const QString path = QDir::temp().filePath(
            QStringLiteral("quorin-window-bench-changed-%1.map").arg(QCoreApplication::applicationPid()));
        const bool written = ChangedMaximalMap().writeTo(path.toStdString()).ok();
        if (!written || !OpenMap(loaded, path.toStdString(), BuiltInMapNames()).ok()) {
            std::fprintf(stderr, "the changed maximal map did not load\n");
            std::exit(1);
        }
        QFile::remove(path);
        return loaded;
    }();
    return map;
}

inline int RunWithMaximalMap(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString path =
        QDir::temp().filePath(QStringLiteral("quorin-window-bench-%1.map").arg(QCoreApplication::applicationPid()));
    const bool written = MaximalMap().writeTo(path.toStdString()).ok();
    const bool loaded = written && OpenMap(Maximal(), path.toStdString(), BuiltInMapNames()).ok();
    QFile::remove(path);
    if (!loaded) {
        std::fprintf(stderr, "the maximal map did not load\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace quorin::bench
