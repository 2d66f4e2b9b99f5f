// What the user-administration windows say, text by text: captions, the labels of the boxes and
// of the picker's two lists, and the buttons, for adding a user, editing rights, both password
// changes and deleting a user.
#include "access/PasswordWindows.h"
#include "access/frmPermissions.h"
#include "access/frmdeluser.h"
#include "access/frmmodusers.h"

#include "common/ButtonCatalogue.h"
#include "common/Globals.h"
#include "common/SiteContext.h"
#include "support/FakeServer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/WindowTexts.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

using namespace quillon;
using testsupport::Shown;
using testsupport::TextRow;

namespace {

using Maker = std::function<std::unique_ptr<QWidget>()>;
const std::map<std::string, Maker>& makers() {
    static const std::map<std::string, Maker> m{
        {"frmPermissions", [] { return std::make_unique<frmPermissions>(); }},
        {"frmmodusers", [] { return std::make_unique<frmmodusers>(); }},
        {"frmpasswd", [] { return std::make_unique<frmpasswd>(); }},
        {"frmchangepasswd", [] { return std::make_unique<frmchangepasswd>(); }},
        {"frmdeluser", [] { return std::make_unique<frmdeluser>(); }},
    };
    return m;
}

class AdminTexts : public ::testing::TestWithParam<TextRow> {
protected:
    void SetUp() override {
        testsupport::configureFakeSite(1);
        G().g_CurSite = 1;
        G().g_UserName = QStringLiteral("alice");
        fillButtonCatalogue();
        SiteContext::install(&site);
        server.on(QStringLiteral("ls -1 *.USE > UNAME.TXT")).reply(QString());
        server.addFile(QStringLiteral("/usr/varnel/ACL/USERS/UNAME.TXT"), "ALICE.USE\n");
    }
    void TearDown() override {
        SiteContext::install(nullptr);
        G().g_UserName.clear();
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    testsupport::FakeServer server;
    FixedSite site{1, QStringLiteral("Sim")};
};

TEST_P(AdminTexts, StandAsTheUserMustSeeThem) {
    const TextRow& row = GetParam();
    const auto window = makers().at(row.window)();
    window->show();
    EXPECT_EQ(testsupport::shownText(window.get(), row).toStdString(), row.expected);
}

#define LABEL(window, control, text) TextRow{window, control, Shown::Label, 0, text}
#define TEXT(window, control, text) TextRow{window, control, Shown::Text, 0, text}
#define CAPTION(window, text) TextRow{window, "", Shown::Caption, 0, text}

INSTANTIATE_TEST_SUITE_P(
    Windows, AdminTexts,
    ::testing::Values(
        // Adding a user.
        CAPTION("frmPermissions", "User Permissions"),
        LABEL("frmPermissions", "txtadduser", "User Name:"),
        LABEL("frmPermissions", "txtaddpasswd", "Password:"),
        LABEL("frmPermissions", "txtconfirmpasswd", "Confirm Password:"),
        TEXT("frmPermissions", "lblreporttype_0", "Functions"),
        TEXT("frmPermissions", "lblreporttype_1", "Added Functions"),
        TEXT("frmPermissions", "cmdadd", ">>"), TEXT("frmPermissions", "cmdremove", "<<"),
        TEXT("frmPermissions", "cmdadduser", "Add User"),
        // Editing rights.
        CAPTION("frmmodusers", "Modify Users Permissions"),
        LABEL("frmmodusers", "cbousers", "User Name:"),
        TEXT("frmmodusers", "lblreporttype_0", "Functions"),
        TEXT("frmmodusers", "lblreporttype_1", "Added Functions"),
        TEXT("frmmodusers", "cmdadd", ">>"), TEXT("frmmodusers", "cmdremove", "<<"),
        TEXT("frmmodusers", "cmdmoduser", "Modify User"),
        // One's own password.
        CAPTION("frmpasswd", "Change Password"), LABEL("frmpasswd", "txtuser", "Current User"),
        TEXT("frmpasswd", "txtuser", "alice"), LABEL("frmpasswd", "txtoldpasswd", "Old Password"),
        LABEL("frmpasswd", "txtnewpasswd", "New Password"),
        LABEL("frmpasswd", "txtconfirmpasswd", "Confirm New Password"),
        TEXT("frmpasswd", "cmdmodpasswd", "Change Password"),
        // Any user's password.
        CAPTION("frmchangepasswd", "Admin Manage Passwords"),
        LABEL("frmchangepasswd", "cbousers", "User Name:"),
        LABEL("frmchangepasswd", "txtnewpasswd", "New Password"),
        LABEL("frmchangepasswd", "txtconfirmpasswd", "Confirm New Password"),
        TEXT("frmchangepasswd", "cmdchgpasswd", "Change Password"),
        // Deleting a user.
        CAPTION("frmdeluser", "Delete Users"), LABEL("frmdeluser", "cbousers", "User Name:"),
        TEXT("frmdeluser", "cmddeleteuser", "Delete User")),
    testsupport::rowName);

}  // namespace
