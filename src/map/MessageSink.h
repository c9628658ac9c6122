#pragma once
// Where the core's messages go: modal boxes in the desktop tool, stderr in
// quorin-cli, a list in the tests.

#include <string>
#include <string_view>
#include <vector>

namespace quorin {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(std::string_view text) = 0;
};

// Keeps every message; for tests and for callers that show them later.
class CollectedMessages final : public MessageSink {
public:
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

}  // namespace quorin
