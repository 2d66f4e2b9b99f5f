// Reading a mirror table into selection entries, a group of several lines once or per line.
#include "reports/common/SelectionTable.h"

#include "common/SiteContext.h"

#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

QStringList shown(const SelectionTable& t) {
    QStringList out;
    for (const SelectionEntry& e : t.entries) out << e.key + '|' + e.text;
    return out;
}

TEST(SelectionTableTest, AGroupOnSeveralLinesIsListedOnceWithItsFirstName) {
    testsupport::TempHome home;
    home.write("trunk.csv", "5,North A\r\n5,North B\r\n12,South\r\n05,North C\r\n7\r\n7,Late\r\n");
    const QString path = home.file("trunk.csv");
    const SelectionTable once = readSelectionTable(path, true, KeyRepeats::FirstLineOnly);
    EXPECT_EQ(shown(once), (QStringList{"0005|0005 North A", "0012|0012 South", "0007|0007 "}));
    EXPECT_TRUE(once.problem.contains("1 line(s)"));
    const SelectionTable each = readSelectionTable(path, true);
    EXPECT_EQ(each.entries.size(), 6);
    EXPECT_TRUE(each.problem.contains("1 line(s)"));
    // Unformatted keys are told apart as the table holds them.
    const SelectionTable raw = readSelectionTable(path, false, KeyRepeats::FirstLineOnly);
    EXPECT_EQ(shown(raw),
              (QStringList{"5|0005 North A", "12|0012 South", "05|0005 North C", "7|0007 "}));
}

TEST(SelectionTableTest, TheSiteTableIsFoundWithoutRegardToCaseAndItsProblemTold) {
    testsupport::TempHome home;
    FixedSite north(1, "North");
    SiteContext::install(&north);
    home.write("North/Bats/TRUNK.CSV", "5,North\r\n");
    EXPECT_EQ(shown(loadSiteTable("trunk.csv", true)), QStringList{"0005|0005 North"});
    const SelectionTable missing = loadSiteTable("lt.csv", true);
    EXPECT_TRUE(missing.entries.isEmpty());
    testsupport::ScriptedPrompter prompter;
    prompter.ok();
    missing.tellProblem();
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_TRUE(prompter.prompts()[0].text.contains("lt.csv"));
    EXPECT_EQ(prompter.prompts()[0].icon, platform::Icon::Exclamation);
    SiteContext::install(nullptr);
}

}  // namespace
