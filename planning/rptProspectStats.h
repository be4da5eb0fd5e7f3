#pragma once
// The printed activity listing: every daily counter, one line each, by day.

#include <QList>
#include <QString>

#include "Report_Document.h"
#include "Stats_Listing.h"

namespace rptProspectStats {

extern const char* const Title;

// The report of these rows.
Report_Document Build(const QList<Stats_Row>& Rows);

// Reads the counters and shows the report in the preview; a failed read is
// reported and shows nothing.
void Show();

} // namespace rptProspectStats
