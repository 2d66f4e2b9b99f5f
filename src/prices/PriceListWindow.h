#pragma once
// The price lists: frmdomesticpricing and frminternational are one window over a setting of
// PriceListKind. Every load (opening, an option click, the return of a modify form) pulls the
// site's tables and builds the list of the set chosen; Modify and a double click open the
// modify form of the chosen line, and the list loads again, as the pricing question's set,
// once that form has closed.
#include "common/ReentryGuard.h"
#include "prices/PriceList.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QRadioButton;

namespace quillon {

class SortableGrid;

class PriceListWindow : public QDialog {
    Q_OBJECT
public:
    ~PriceListWindow() override;

    SortableGrid* pricinggrid = nullptr;
    QRadioButton* optguest = nullptr;
    QRadioButton* optadmin = nullptr;
    QPushButton* cmdmodify = nullptr;
    QLabel* lbldir = nullptr;

    PriceListKind kind() const { return m_kind; }
    // The line behind a grid row (as sorted); nullptr for the header row.
    const PriceLine* lineAt(int row) const;

    // Selects the option g_AdminPricing names and loads its list.
    void Form_Load();
    void optadmin_Click();
    void optguest_Click();
    void cmdmodify_Click();
    void pricinggrid_DblClick();


protected:
    PriceListWindow(PriceListKind kind, const QString& caption, const QString& modifyWindow,
                    QWidget* parent);

private:
    void load(PriceSet set);

    PriceListKind m_kind;
    QString m_modifyWindow;
    PriceSet m_set = PriceSet::Guest;
    QList<PriceLine> m_lines;
    ReentryGuard m_loading;
};

class frmdomesticpricing : public PriceListWindow {
    Q_OBJECT
public:
    explicit frmdomesticpricing(QWidget* parent = nullptr);
};

class frminternational : public PriceListWindow {
    Q_OBJECT
public:
    explicit frminternational(QWidget* parent = nullptr);
};

}  // namespace quillon
