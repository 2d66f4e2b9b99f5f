#pragma once
// "Pull Back Last Reports Ran": lists the report files still on the current site's server and
// brings one back on a double click, named and opened like a new report; a call-cost answer
// becomes a pricing report on the way.
#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace quillon {

class ServerShell;

class Reports : public QDialog {
    Q_OBJECT
public:
    // Loads at once: the list is made on the server and fetched before the window shows.
    explicit Reports(QWidget* parent = nullptr);
    ~Reports() override;

    QListWidget* lstDivision = nullptr;
    QPushButton* cmdcancel = nullptr;
    QLabel* Label1 = nullptr;

    void Form_Load();
    // Fetches the server's reports.txt of the current site into its Download/reports folder
    // (`unusedSite` is not read). False (and told to the user) when no list arrived.
    bool getreportfilelist(const QString& unusedSite);
    void Form_Unload();

    // Closing runs Form_Unload once, however the window closes.
    void done(int result) override;

public slots:
    void lstDivision_DblClick();
    void cmdcancel_Click();

private:
    // The report folder on the server: the site's folder, or its backup subfolder in backup
    // mode; the list and the fetch use the same one.
    QString serverFolder() const;
    QString siteName() const;
    int siteIndex() const;

    ServerShell* m_shell = nullptr;  // open during the load only
    bool m_unloaded = false;
};

}  // namespace quillon
