#include "Report_Preview.h"

namespace {
Report_Preview_Handler test_handler;
Report_Preview_Handler window_handler;
} // namespace

void Preview_Report(const QString& Title, const QString& Html)
{
    if (test_handler)
        test_handler(Title, Html);
    else if (window_handler)
        window_handler(Title, Html);
}

void Set_Report_Preview_Handler(Report_Preview_Handler handler)
{
    test_handler = std::move(handler);
}

void Register_Report_Preview_Window(Report_Preview_Handler window)
{
    window_handler = std::move(window);
}
