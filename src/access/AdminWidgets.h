#pragma once
// What the user-administration windows share: the button picker, the user list box, the name
// box's refusal of blanks, and a window frame that keeps its server work from being cut off.
#include "access/AccessFiles.h"
#include "common/ReentryGuard.h"
#include "widgets/ListPair.h"
#include "widgets/NamedControls.h"

#include <QDialog>

class QCloseEvent;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace quillon {

struct AdminOutcome;

// The rights picker: the catalogue rows on offer (lstDivision, twin of names) and the rows
// granted (lstItem, twin of the granted lines). Rows 24 and 25 are offered only with
// g_Express, row 26 only with g_UnusedReport.
class ButtonPicker : public ListPair {
    Q_OBJECT
public:
    explicit ButtonPicker(QWidget* parent = nullptr);

    // The rows on offer as entries: the catalogue name is the key, the label the text.
    static QList<SelectionEntry> offeredRows();
    // Fills the offered side afresh; the granted side stays.
    void loadButtons();
    // Both sides afresh for a user's grants: each granted line with its row's label on the
    // granted side, and that label taken from the offered side once.
    void showGrants(const QList<ButtonFile::Grant>& grants);
    // The granted lines in the order of the granted list (ascending rows).
    QStringList grantedLines() const;
};

// Fills the box with the current site's users (listSiteUsers); a list that cannot be had is
// told and leaves the box empty. No user is chosen afterwards.
void LoadUserList(QComboBox* box);

// A user-name box takes no blank: one typed or pasted is taken out again, the caret stays
// where it was, and "You can not have Spaces in the User Name" is told.
void refuseNameBlanks(QLineEdit* box);

// A text box named as the windows name it; a password box shows no characters.
QLineEdit* adminTextBox(QWidget* parent, const char* name, bool password);
// "cbousers": a choice from the list only, in the order the server listed the users.
QComboBox* userBox(QWidget* parent);

// A window of the user administration: finish() tells the outcome, closing the window first
// when the work is done.
class UserAdminWindow : public QDialog {
    Q_OBJECT
public:
    explicit UserAdminWindow(QWidget* parent = nullptr);

protected:
    void finish(const AdminOutcome& outcome);
    static int siteIndex();
    static QString siteName();
    // The site's download folder; told and empty for a site whose name cannot name a folder.
    static QString downloadFolder();

    ReentryGuard m_working;
};

}  // namespace quillon
