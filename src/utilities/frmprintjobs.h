#pragma once
// Remove print Jobs: lists the jobs of the current site's print queue (the server's lpq) and
// removes the chosen ones, or all of them.
#include "common/ReentryGuard.h"

#include <QDialog>

class QCheckBox;
class QTimer;

namespace quillon {

class ListPair;
class ProgressLabel;
class WaitPanel;

class frmprintjobs : public QDialog {
    Q_OBJECT
public:
    explicit frmprintjobs(QWidget* parent = nullptr);
    ~frmprintjobs() override;

    ListPair* lists = nullptr;
    QCheckBox* chkrmall = nullptr;
    QPushButton* Command1 = nullptr;
    WaitPanel* waitpanel = nullptr;  // lblrunning, its dots tmrreport and the Cancel
    ProgressLabel* lblrunning = nullptr;
    QTimer* tmrreport = nullptr;

    // The local copies of the listing.
    const QString& listingPath() const { return m_listing; }
    const QString& rawListingPath() const { return m_rawListing; }

    void Form_Load();
    void chkrmall_Click();
    void Command1_Click();
    void Form_Unload();

    // Closing waits until a removal in progress has ended.
    void done(int result) override;

private:
    void updateCommand1();

    QString m_listing;
    QString m_rawListing;
    ReentryGuard m_work;
    bool m_unloaded = false;
};

}  // namespace quillon
