#pragma once

// Copies the database to the backup place, stamps Backup_Date, counts the
// start and on every sixth start compacts the database.
void Backup_And_Compact_Database();
