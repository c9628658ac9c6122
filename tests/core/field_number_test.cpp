// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "edit/FieldWriteBack.h"

namespace quorin {
namespace {

struct NumberCase {
    std::string text;
    std::int32_t value;
};

TEST(FieldNumber, ReadsTheLeadingNumber) {
    const NumberCase cases[] = {
        {"70000", 70000},
        {"-7", -7},
        {"+7", 7},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"--5", 0},
        {"- 5", 0},
        {"  42", 42},       // leading blanks are skipped
        {"\t-42", -42},
        {"3.9", 3},         // the fraction is cut off
        {"-3.9", -3},
        {".5", 0},
        {"5.", 5},
        {"1e5", 1},         // no exponent
        {"1,000", 1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", INT32_MAX},  // outside int32: clamped
        {"-99999999999999999999999", INT32_MIN},
        {"99999999999999999999999", INT32_MAX},
        {"&h1A2B", 0x1A2B},
        {"&HfF", 255},
        {"&h7FFFFFFF", INT32_MAX},
        {"&hFFFFFFFF", -1},  // eight digits give their 32-bit pattern
        {"&h80000000", INT32_MIN},
        {"&h0000000000FF", 255},
        {"&h1FFFFFFFF", INT32_MAX},  // past 32 bits: clamped
        {"&h12xyz", 0x12},
        {"&h", 0},
        {"&hxyz", 0},
        {"&h-5", 0},
        {" &h10", 16},
        {"&", 0},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(ParseFieldNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(FieldNumber, HexadecimalFieldReadsDigitsWithoutPrefix) {
    const NumberCase cases[] = {
        {"1A2B", 0x1A2B}, {"", 0}, {"  FF", 255}, {"FFFFF000", -4096}, {"G1", 0}, {"&h10", 0}, {"10 20", 16},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(ParseFieldHexadecimal(c.text), c.value) << '"' << c.text << '"';
}

// Only the Return key and the keypad's Enter write a field. A shortcut
// keeps its meaning, whatever character the platform gives it: Ctrl+C
// types character 3 and Ctrl+M a carriage return on some platforms.
TEST(FieldNumber, OnlyReturnAndEnterCommit) {
    struct Case {
        const char* keys;
        FieldKey key;
        bool shortcut;
        bool commits;
    };
    const Case cases[] = {
        {"Return", FieldKey::Return, false, true},
        {"keypad Enter", FieldKey::KeypadEnter, false, true},
        {"Ctrl+Return", FieldKey::Return, true, false},
        {"Ctrl+keypad Enter", FieldKey::KeypadEnter, true, false},
        {"Ctrl+C, Ctrl+M or any other key", FieldKey::Other, true, false},
        {"a letter, Tab or Escape", FieldKey::Other, false, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsCommitKey(c.key, c.shortcut), c.commits) << c.keys;
}

}  // namespace
}  // namespace quorin
