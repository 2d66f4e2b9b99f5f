#pragma once
// Delete Calls: the server deletes the calls recorded before a date and time for the chosen
// line types, extensions, departments or divisions. The request goes through the change frame,
// as the table forms' do; there is no undo, so the confirmation says how many items lose their
// calls.
#include "changes/ChangeForm.h"

#include <array>

class QCheckBox;
class QDateEdit;
class QRadioButton;
class QTimeEdit;

namespace quillon {

class ListPair;

class fdeletecalls : public ChangeForm {
    Q_OBJECT
public:
    explicit fdeletecalls(QWidget* parent = nullptr);

    QDateEdit* startdate = nullptr;
    QTimeEdit* starttime = nullptr;
    std::array<QRadioButton*, 4> Optreporttype{};
    QCheckBox* chkline = nullptr;
    QCheckBox* chkext = nullptr;
    QCheckBox* chkdpt = nullptr;
    QCheckBox* chkdiv = nullptr;
    ListPair* lists = nullptr;
    QPushButton* Command1 = nullptr;  // the frame's send button

    int reportType() const { return m_reportType; }

    void Form_Load();
    void Optreporttype_Click(int index);
    void chkline_Click();
    void chkdpt_Click();
    void chkdiv_Click();
    void Command1_Click() { cmdsave_Click(); }

protected:
    QString firstProblem() override;
    QStringList records() override;
    QList<QWidget*> inputFields() const override { return m_inputs; }

private:
    // The ALL box of kind i (chkext for Extension, never shown).
    QCheckBox* allBox(int kind) const;
    void allBox_Click(int kind);

    int m_reportType = -1;
    QList<QWidget*> m_inputs;
};

}  // namespace quillon
