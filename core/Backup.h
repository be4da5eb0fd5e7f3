#pragma once

// Copies the database to the backup place, stamps Backup_Date, counts the
// start and on every sixth start compacts the database. A compaction file
// left by a compaction that did not end (the program killed during it) is
// removed and the compaction done again at this start.
void Backup_And_Compact_Database();

// The note shown while the database is compacted.
inline constexpr const char* Compaction_Note_Text = "Compacting the database, please wait...";
