#pragma once
// The modify forms of the price lists, frmdomesticpricingmodify and
// frminternationalpricingmodify: one line of a list in ten boxes (nine amounts the user may
// change) and its stored rows in old boxes; Save sends one change request of two records, the
// rate row and the calculation row, each the row as stored followed by the row as changed. The
// form shows the direct-dialled times and the operator-assisted costs and writes each shown value
// into both halves of its pair; where the stored pair differs, the user is asked first.
#include "changes/ChangeForm.h"
#include "prices/PriceList.h"

#include <QList>

class QLineEdit;

namespace quillon {

class PriceModifyForm : public ChangeForm {
    Q_OBJECT
public:
    // The boxes, in the order of the grid's columns 0 to 9; then the old boxes of columns 0 to 13.
    QLineEdit* txtcatagory = nullptr;
    QLineEdit* txtoait = nullptr;
    QLineEdit* txtoaic = nullptr;
    QLineEdit* txtoaat = nullptr;
    QLineEdit* txtoaac = nullptr;
    QLineEdit* txtmarkup = nullptr;
    QLineEdit* txtpmkup = nullptr;
    QLineEdit* txtfmkup = nullptr;
    QLineEdit* txtptax = nullptr;
    QLineEdit* txtthres = nullptr;
    QLineEdit* txtcatagoryold = nullptr;
    QLineEdit* txtoaitold = nullptr;
    QLineEdit* txtoaicold = nullptr;
    QLineEdit* txtoaatold = nullptr;
    QLineEdit* txtoaacold = nullptr;
    QLineEdit* txtmarkupold = nullptr;
    QLineEdit* txtpmkupold = nullptr;
    QLineEdit* txtfmkupold = nullptr;
    QLineEdit* txtptaxold = nullptr;
    QLineEdit* txtthresold = nullptr;
    QLineEdit* txtgraceold = nullptr;
    QLineEdit* txtflagold = nullptr;
    QLineEdit* txtbreakold = nullptr;
    QLineEdit* txtrowold = nullptr;
    QPushButton* Cmdclose = nullptr;  // the frame's Cancel, named as these forms name it

    const PriceLine& line() const { return m_line; }

protected:
    // emptyAllowed: an empty amount box sends an empty field; otherwise each box has its
    // message when empty.
    PriceModifyForm(const PriceLine& line, const QString& caption, bool emptyAllowed,
                    QWidget* parent);

    QString firstProblem() override;
    bool confirmSave() override;
    QStringList records() override;
    QList<QWidget*> inputFields() const override;

private:
    struct Amount {
        QLineEdit* box;
        QString label;
        QString emptyMessage;
    };
    QLineEdit* shownBox(const QString& name, const QString& label, const QString& text);
    QLineEdit* oldBox(const QString& name, const QString& text);

    PriceLine m_line;
    bool m_emptyAllowed;
    QList<Amount> m_amounts;
};

class frmdomesticpricingmodify : public PriceModifyForm {
    Q_OBJECT
public:
    explicit frmdomesticpricingmodify(const PriceLine& line, QWidget* parent = nullptr);
};

class frminternationalpricingmodify : public PriceModifyForm {
    Q_OBJECT
public:
    explicit frminternationalpricingmodify(const PriceLine& line, QWidget* parent = nullptr);
};

}  // namespace quillon
