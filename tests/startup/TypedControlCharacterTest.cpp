// Every check of a typed value refuses control characters, the C1 ones (U+0080-U+009F) with
// C0 and DEL: five of them are bytes of their own in Windows-1252 (0x81 ...), so a check that
// stopped at DEL let them into a record. Printable text beyond ASCII passes.
#include "access/AccessFiles.h"
#include "changes/ChangeRequest.h"
#include "common/ShellQuote.h"
#include "startup/SiteSetup.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

struct CharCase {
    char16_t c;
    bool control;
};
void PrintTo(const CharCase& c, std::ostream* os) {
    *os << "U+" << std::hex << int(c.c);
}

class TypedControlCharacter : public ::testing::TestWithParam<CharCase> {};

TEST_P(TypedControlCharacter, IsRefusedByEveryCheck) {
    const CharCase& c = GetParam();
    const QString text = QStringLiteral("Sales") + QChar(c.c) + QStringLiteral("East");
    EXPECT_EQ(isControlCharacter(QChar(c.c)), c.control);
    EXPECT_EQ(!nameProblem(QStringLiteral("name"), text).isEmpty(), c.control);
    EXPECT_EQ(!isSafeSiteFolderName(text), c.control);
    // User names are plain ASCII in any case.
    EXPECT_FALSE(isValidUserName(text));
}

INSTANTIATE_TEST_SUITE_P(
    Characters, TypedControlCharacter,
    ::testing::Values(CharCase{0x01, true}, CharCase{0x1F, true}, CharCase{0x7F, true},
                      CharCase{0x80, true}, CharCase{0x81, true}, CharCase{0x8D, true},
                      CharCase{0x90, true}, CharCase{0x9D, true}, CharCase{0x9F, true},
                      CharCase{0xA0, false}, CharCase{0xE9, false}, CharCase{0x20AC, false}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
