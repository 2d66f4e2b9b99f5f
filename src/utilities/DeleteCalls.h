#pragma once
// The delete-calls request as text: the four kinds of item whose calls can be deleted, the
// records of one request and the question that confirms it. No widgets; fdeletecalls shows it.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>

namespace quillon {

struct DeleteCallsKind {
    QString option;       // the option's caption
    QString table;        // the mirror table the items come from
    QString addCaption;   // over the available list
    QString listCaption;  // over the selected list
    QString allBox;       // the object name of its ALL box
    bool allBoxShown;     // Extension has none
    QString word;         // the record's word
    QString singular;     // for the confirmation: "extension"
    QString plural;       // "extensions"
};

inline constexpr int kDeleteCallsKinds = 4;
// By option index: Line Type, Extension, Department, Division.
const std::array<DeleteCallsKind, kDeleteCallsKinds>& deleteCallsKinds();

// n,deletecalls,<word>,<key>,<MMddyy>,<HHmm>: one record per key, numbered from 1, all with the
// same moment.
QStringList deleteCallsRecords(const QString& word, const QStringList& keys, const QDate& before,
                               const QTime& beforeTime);

// The confirmation: the moment as the pickers show it (no blank before "and", as the system
// writes it), then how many items of which kind lose their calls; `all` when the ALL box chose
// every item.
QString deleteCallsQuestion(const QString& date, const QString& time, const DeleteCallsKind& kind,
                            int items, bool all);

}  // namespace quillon
