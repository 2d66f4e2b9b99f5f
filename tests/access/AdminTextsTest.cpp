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

const testsupport::WindowMakers& makers() {
    static const testsupport::WindowMakers m{
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
    testsupport::expectShownText(makers(), GetParam());
}

TextRow labelOf(const char* window, const char* control, const char* text) {
    return {window, control, Shown::Label, 0, text};
}
TextRow textOf(const char* window, const char* control, const char* text) {
    return {window, control, Shown::Text, 0, text};
}
TextRow captionOf(const char* window, const char* text) {
    return {window, "", Shown::Caption, 0, text};
}

INSTANTIATE_TEST_SUITE_P(
    Windows, AdminTexts,
    ::testing::Values(
        // Adding a user.
        captionOf("frmPermissions", "User Permissions"),
        labelOf("frmPermissions", "txtadduser", "User Name:"),
        labelOf("frmPermissions", "txtaddpasswd", "Password:"),
        labelOf("frmPermissions", "txtconfirmpasswd", "Confirm Password:"),
        textOf("frmPermissions", "lblreporttype_0", "Functions"),
        textOf("frmPermissions", "lblreporttype_1", "Added Functions"),
        textOf("frmPermissions", "cmdadd", ">>"), textOf("frmPermissions", "cmdremove", "<<"),
        textOf("frmPermissions", "cmdadduser", "Add User"),
        // Editing rights.
        captionOf("frmmodusers", "Modify Users Permissions"),
        labelOf("frmmodusers", "cbousers", "User Name:"),
        textOf("frmmodusers", "lblreporttype_0", "Functions"),
        textOf("frmmodusers", "lblreporttype_1", "Added Functions"),
        textOf("frmmodusers", "cmdadd", ">>"), textOf("frmmodusers", "cmdremove", "<<"),
        textOf("frmmodusers", "cmdmoduser", "Modify User"),
        // One's own password.
        captionOf("frmpasswd", "Change Password"), labelOf("frmpasswd", "txtuser", "Current User"),
        textOf("frmpasswd", "txtuser", "alice"),
        labelOf("frmpasswd", "txtoldpasswd", "Old Password"),
        labelOf("frmpasswd", "txtnewpasswd", "New Password"),
        labelOf("frmpasswd", "txtconfirmpasswd", "Confirm New Password"),
        textOf("frmpasswd", "cmdmodpasswd", "Change Password"),
        // Any user's password.
        captionOf("frmchangepasswd", "Admin Manage Passwords"),
        labelOf("frmchangepasswd", "cbousers", "User Name:"),
        labelOf("frmchangepasswd", "txtnewpasswd", "New Password"),
        labelOf("frmchangepasswd", "txtconfirmpasswd", "Confirm New Password"),
        textOf("frmchangepasswd", "cmdchgpasswd", "Change Password"),
        // Deleting a user.
        captionOf("frmdeluser", "Delete Users"), labelOf("frmdeluser", "cbousers", "User Name:"),
        textOf("frmdeluser", "cmddeleteuser", "Delete User")),
    testsupport::rowName);

}  // namespace
