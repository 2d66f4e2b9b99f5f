#pragma once
// Where a report window hands a finished run over: report retrieval fetches g_ReportFileName,
// lets the user name it and opens it. Tests install their own receiver to see the hand-over.
class QWidget;

namespace quillon {

class ReportHandOver {
public:
    virtual ~ReportHandOver() = default;
    // `owner` is the window whose pointer shows the wait (the report window's parent).
    virtual void executeBatFileForReport(int reportNumber, QWidget* owner) = 0;

    static ReportHandOver& instance();
    // Installs a receiver (not owned); nullptr restores report retrieval.
    static void setInstance(ReportHandOver* receiver);
};

}  // namespace quillon
