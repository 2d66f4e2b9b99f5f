#include "reports/selection/SelectionSetups.h"

namespace quillon {

namespace {
const QStringList kAllOptions{"O", "A", "Z", "G8", "G9", "GI", "K", "GA", "V", "GL", "GC"};

ReportTypeRow typeRow(const char* caption, const char* table, const char* noun, const char* plural,
                      const char* code) {
    return {QString::fromLatin1(caption), QString::fromLatin1(table),
            QStringLiteral("Add ") + QString::fromLatin1(noun),
            QStringLiteral("Selected ") + QString::fromLatin1(plural), QString::fromLatin1(code)};
}

// The cost design: no line type, the division type first, two options, "ALL EXT".
SelectionWindowSetup costDesign(const char* caption, const ReportKind& kind) {
    SelectionWindowSetup s;
    s.caption = QString::fromLatin1(caption);
    s.kind = kind;
    s.intervalMessage = QStringLiteral("interval Not added");
    s.types = {ReportTypeRow{QStringLiteral("Line Type"), {}, {}, {}, {}},
               typeRow("Extension", "ext.csv", "Extension", "Extension", "4"),
               typeRow("Department", "dpt.csv", "Department", "Department", "3"),
               typeRow("Division", "div.csv", "Division", "Division", "2")};
    s.firstType = 3;
    s.options = {"Z", "V"};
    s.optionsFrameCaption = QStringLiteral("Report Options");
    s.chksendprinterTip = false;
    s.allExtEntry = true;
    s.timerRunsFromOpening = true;
    s.loadLog = QStringLiteral("COST REPORT");
    s.runCommandLog = QStringLiteral("setting report caommand");
    s.beforeGuardLog = QStringLiteral("Connecting to ssh");
    s.handOverLog = QStringLiteral(
                        "calling fMain.executeBatFileForReport(%1) to bring back "
                        "report that was run")
                        .arg(kind.reportNumber);
    return s;
}
}  // namespace

SelectionWindowSetup detailSetup() {
    SelectionWindowSetup s;
    s.caption = QStringLiteral("Detail Report");
    s.kind = reportkinds::detail;
    s.intervalMessage = QStringLiteral("interval not added");
    s.types = {typeRow("Line Type", "lt.csv", "Line Type", "Line Types", "2"),
               typeRow("Extension", "ext.csv", "Extension", "Extension", "5"),
               typeRow("Department", "dpt.csv", "Department", "Department", "4"),
               typeRow("Division", "div.csv", "Division", "Division", "3")};
    s.firstType = 1;
    s.firstAddCaption = QStringLiteral("Add Extension");
    s.firstSelectedCaption = QStringLiteral("Selected Extension");
    s.options = kAllOptions;
    s.tickedAtLoad = {"chkpostcalls", "chklivecalls"};
    s.postCallsGatesDates = true;
    s.loadLog = QStringLiteral("DETAIL REPORT");
    return s;
}

SelectionWindowSetup costSetup() {
    return costDesign("Cost Report", reportkinds::cost);
}

SelectionWindowSetup unusedSetup() {
    SelectionWindowSetup s = costDesign("UnUsed Station Report", reportkinds::unused);
    // Both boxes stay unticked, so every request carries Z and V.
    s.optionBoxesShown = false;
    return s;
}

SelectionWindowSetup authSetup() {
    SelectionWindowSetup s = detailSetup();
    s.caption = QStringLiteral("Authorization Code Report");
    s.kind = reportkinds::auth;
    s.intervalMessage = QStringLiteral("interval Not added");
    s.types[0] = {QStringLiteral("Account/Auth codes"), QStringLiteral("account.csv"),
                  QStringLiteral("Add Account/Auth Code"),
                  QStringLiteral("Selected Account/Auth Code"), QStringLiteral("2 ")};
    s.firstType = 0;
    s.firstAddCaption = QStringLiteral("Add Line Type");
    s.firstSelectedCaption = QStringLiteral("Selected Line Types");
    s.options.removeAll(QStringLiteral("A"));
    s.optionCaptions = {{"chkallpeg", "Total Calls Summary"},
                        {"chklongdistancepeg", "Long Distance Call Summary"}};
    s.tickedAtLoad = {"chkpostcalls"};
    // The end time keeps the picker's initial value.
    s.endTime = QTime(14, 4);
    s.allCallsOffered = false;
    s.formattedKeys = false;
    s.postCallsGatesDates = false;
    s.loadLog = QStringLiteral("AUTH REPORT");
    return s;
}

}  // namespace quillon
