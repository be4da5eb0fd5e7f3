#pragma once
// The preview of a printed report: a report builder hands its finished HTML
// document here. The widget library registers the print preview (print, or
// print to PDF) at start-up; tests capture the document instead.

#include <QString>
#include <functional>

using Report_Preview_Handler = std::function<void(const QString& Title, const QString& Html)>;

void Preview_Report(const QString& Title, const QString& Html);

// Test seam: a handler replaces the preview; an empty handler restores it.
void Set_Report_Preview_Handler(Report_Preview_Handler handler);
// The preview window, registered by the widget library.
void Register_Report_Preview_Window(Report_Preview_Handler window);
