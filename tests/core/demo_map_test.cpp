// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "builder/DemoMap.h"
#include "map/MapLoader.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

TEST(DemoMap, LoadsEveryScriptGlobalAndNode) {
    testing::TempDir dir;
    const MapBuilder demo = DemoMap();
    const std::string path = testing::WriteMap(dir, demo);
    MapState state;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(state, path, messages));
    EXPECT_EQ(messages.messages, std::vector<std::string>{"Map loaded!"});
    ASSERT_EQ(state.ScriptHeaderCache.size(), demo.scripts.size());
    ASSERT_EQ(state.GlobalHeaderCache.size(), demo.globals.size());
    ASSERT_EQ(state.SyntaxCache.size(), demo.nodes.size());
    std::set<std::int32_t> scriptTypes;
    for (std::size_t i = 0; i < demo.scripts.size(); ++i) {
        EXPECT_EQ(state.ScriptHeaderCache[i].Name, demo.scripts[i].Name);
        EXPECT_EQ(state.ScriptHeaderCache[i].ExpPointer, demo.scripts[i].ExpPointer);
        scriptTypes.insert(state.ScriptHeaderCache[i].Type);
    }
    EXPECT_EQ(scriptTypes, (std::set<std::int32_t>{0, 1, 2, 3, 4}));
    // Every node but node 0 reads back as built; node 0's sibling is the count.
    for (std::size_t i = 1; i < demo.nodes.size(); ++i) {
        const Syntax& read = state.SyntaxCache[i];
        EXPECT_EQ(read.ExpIdentity, demo.nodes[i].ExpIdentity) << i;
        EXPECT_EQ(read.SibExpPointer, demo.nodes[i].SibExpPointer) << i;
        EXPECT_EQ(read.KidExpPointer, demo.nodes[i].KidExpPointer) << i;
        EXPECT_EQ(read.ScriptValue, demo.nodes[i].ScriptValue) << i;
        EXPECT_EQ(read.Command, demo.nodes[i].Command) << i;
    }
    EXPECT_EQ(state.SyntaxCache[0].SibExpPointer, static_cast<std::int32_t>(demo.nodes.size()));
}

}  // namespace
}  // namespace quorin
