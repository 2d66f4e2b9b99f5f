#pragma once
// The manager window: one of the four organisation tables of the current site (lines,
// extensions, departments, divisions) from the table mirror in a sortable grid, its export as
// it is sorted (HTML, Excel, CSV), and the add and modify forms of the shown table. It reads
// only the local copies; after a form has closed it shows the table afresh.
#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>

class QComboBox;
class QPushButton;
class QRadioButton;
class QTimer;

namespace quillon {

class SortableGrid;

class frmmanager : public QDialog {
    Q_OBJECT
public:
    explicit frmmanager(QWidget* parent = nullptr);
    ~frmmanager() override;

    // 0 "Line ", 1 "Extension", 2 "Department", 3 "Division".
    std::array<QRadioButton*, 4> Optreporttype{};
    SortableGrid* MSFlexGrid1 = nullptr;
    QPushButton* cmdadd = nullptr;
    QPushButton* cmdmodify = nullptr;
    QComboBox* cboExport = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdsaveascsv = nullptr;
    QTimer* tmrShowMe = nullptr;

    // The table shown (the chosen option).
    int tableIndex() const { return m_index; }

    // Event handlers.
    void Form_Load();
    // Loads the table of that index in file order, without a sort marker (also after a form).
    void Optreporttype_Click(int index);
    void cmdadd_Click();
    void cmdmodify_Click();
    void MSFlexGrid1_DblClick();
    void cmdExport_Click();
    void cmdsaveascsv_Click();
    void tmrShowMe_Timer();
    void Form_Unload();

    void done(int result) override;

private:
    // Opens a form of the shown table (the modify form with the row's cells) and reloads the
    // table once it has closed.
    void openForm(const QString& window, const QStringList& row);
    void exportGrid(const QString& extension, const QString& kind);
    // The name question and its repeats; empty when the export is not to be written.
    QString askExportName(const QString& proposed, const QString& folder);

    int m_index = 3;
};

}  // namespace quillon
