#include "common/TextFormats.h"

#include <gtest/gtest.h>

namespace {

TEST(TextFormatsTest, NumberTest) {
    const std::pair<const char*, bool> cases[] = {
        {"7", true},   {"123", true},  {"1.", true}, {".5", true},     {"-1", true},   {"+2", true},
        {"1e5", true}, {" 12 ", true}, {"", false},  {" ", false},     {"1a", false},  {"a", false},
        {"1e", false}, {"-", false},   {".", false}, {"1.2.3", false}, {"1 2", false},
        {"\t7\t", true}, {"12\n", false}, {"12\r\n", false}, {"12\r", false}, {"\n12", false},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(quillon::isNumberText(text), number) << '"' << text << '"';
}

TEST(TextFormatsTest, KeysShowWithAtLeastFourDigits) {
    const std::pair<const char*, const char*> cases[] = {
        {"12", "0012"}, {"7", "0007"},        {"12345", "12345"}, {"00001", "0001"},
        {"0", "0000"},  {"PH-123", "PH-123"}, {"A17", "A17"},     {"", ""},
        // A key with a line break is no number: it stays as it is.
        {"12\n", "12\n"}, {"12\r\n", "12\r\n"}, {"12\r", "12\r"},
    };
    for (const auto& [key, shown] : cases) EXPECT_EQ(quillon::formatKey(key), shown) << key;
}

}  // namespace
