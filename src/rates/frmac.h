#pragma once
// The area-code table window: the LD table of the current site with each row's rate class, the
// rate and calc tables a rate number leads to, a filter by area code and/or prefix, the sort by
// a header click, and the modify form of a row on a double click. It pulls the tables when it
// loads and changes nothing on the server itself.
#include "rates/AreaCodes.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace quillon {

class SortableGrid;

class frmac : public QDialog {
    Q_OBJECT
public:
    explicit frmac(QWidget* parent = nullptr);
    ~frmac() override;

    QCheckBox* chkAreaCode = nullptr;
    QCheckBox* chkPrefix = nullptr;
    QLineEdit* txtareacode = nullptr;
    QLineEdit* txtprefix = nullptr;
    QPushButton* cmdFilter = nullptr;
    SortableGrid* MSFlexGrid1 = nullptr;  // the LD table
    SortableGrid* MSFlexGrid2 = nullptr;  // rate.csv, never shown
    SortableGrid* MSFlexGrid3 = nullptr;  // calc.csv
    QTimer* tmrShowMe = nullptr;

    const LdTables& tables() const { return m_tables; }

    // Event handlers.
    void Form_Load();
    // The LD grid afresh from the mirror's ld.csv with the filter as the boxes stand.
    void cmdFilter_Click();
    void chkAreaCode_Click();
    void chkPrefix_Click();
    // A double click on a grid row: the modify form of a data row; nothing for the header row.
    void MSFlexGrid1_DblClick(int row);
    void tmrShowMe_Timer();
    void Form_Unload();

    void done(int result) override;

private:
    void loadLdGrid(const LdFilter& filter);

    LdTables m_tables;
};

}  // namespace quillon
