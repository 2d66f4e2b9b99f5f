#pragma once
// The call calculator: prices one call on the server. The request (area code or "011",
// prefix or country code, minutes, line type) goes to the cost program, whose answer is fetched,
// proven to be this call's and made into the pricing report, which the user names in the site's
// Download/Call_Calc folder and sees in the viewer. The run itself is the report frame's.
#include "reports/common/ReportWindow.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace quillon {

class KeyedPickList;

class fcallcalc : public ReportWindow {
    Q_OBJECT
public:
    explicit fcallcalc(QWidget* parent = nullptr);
    ~fcallcalc() override;

    QLabel* Lblareacode = nullptr;
    QLineEdit* txtarea = nullptr;
    QLabel* lblprefix = nullptr;
    QLineEdit* txtprefix = nullptr;
    QLabel* lblduration = nullptr;
    QLineEdit* txtduration = nullptr;
    QCheckBox* chkinternational = nullptr;
    QLabel* Label5 = nullptr;
    KeyedPickList* cboDivision = nullptr;  // with its twin cboDivisionhidden

    // <Download>/<PC>_CCAL.repunix, where the answer lands, and the report written from it,
    // <Download>/<PC>_<area>-<prefix>_CCAL.rtf, for the boxes as they stand.
    QString answerPath() const;
    QString reportPath() const;

    void Form_Load();
    void chkinternational_Click();

protected:
    QStringList checksBeforeRun() override;
    void queueRequest(ReportRequest& request) override;
    std::optional<QString> refusal(const ReportRequest& request) override;
    void finishRun() override;
    void logRunStarted() override;
    void logRunDone() override;

private:
    // Fetches the answer and writes the report; false (told, the button back) when not.
    bool bringAnswer();
    QString downloadFolder() const;

    // The call the run asks about, taken when it starts: the answer is checked against it and
    // the report named after it, whatever the boxes hold later.
    QString m_area;
    QString m_prefix;
};

}  // namespace quillon
