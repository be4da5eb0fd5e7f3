#pragma once
// What the lead import keeps between calls: the fields of the line being
// merged, the count of the last merge, whether an import runs and the
// download window registered.

#include <QString>
#include <array>
#include <functional>

class FTP_Download;

struct Lead_Import_State {
    static constexpr int Max_Fields = 40;

    // The fields of the line being imported; field n is entry n - 1. Two
    // spare entries so the field that breaks the limit can still be stored.
    std::array<QString, Max_Fields + 2> Merge_Fields;
    int Last_Merge_Count = 0;
    // Handling events during a download or between batches could start a
    // second import over the first.
    bool Import_Running = false;
    std::function<void(FTP_Download&)> Download_Window;

    void Reset();
};

Lead_Import_State& Lead_Import();
