#include "rptProspectStats.h"

#include "Database.h"
#include "Dialogs.h"
#include "Report_Preview.h"

namespace rptProspectStats {

const char* const Title = "Brackenlead for Windows Activity Listing";

Report_Document Build(const QList<Stats_Row>& Rows)
{
    Report_Document report(Title);
    report.Add_Table({"Date", "Event:", "# of Events"});
    for (const Stats_Row& row : Rows)
        report.Add_Table_Row({row.day, row.event, row.count.isNull() ? QString() : row.count.toString()});
    return report;
}

void Show()
{
    QList<Stats_Row> rows;
    try {
        rows = Read_Stats_Rows();
    } catch (const Program_Error& e) {
        Message_Box("Error on Create Report: " + e.Description());
        return;
    }
    const Report_Document report = Build(rows);
    Preview_Report(report.Title(), report.Html());
}

} // namespace rptProspectStats
