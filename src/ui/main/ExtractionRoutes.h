#pragma once
// The Script Tools commands that the extraction windows carry out. The main
// window's menu handlers call these; start-up installs them.

#include <functional>

namespace quorin::ui {

struct ExtractionRoutes {
    std::function<void()> scriptRange;  // Extract... > Script Range
    std::function<void()> globalRange;  // Extract... > Global Range
    std::function<void()> all;          // Extract... > All
    std::function<void()> database;     // Database
};

}  // namespace quorin::ui
