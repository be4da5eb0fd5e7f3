#pragma once
// Copies the one Settings row into the process-wide settings.

// Reads the row and sets every copy (a null Cc_Address keeps the old copy).
// On any failure (no database, no table or field, a null flag) shows
// "Your system is missing Microsoft's Data Access Libraries." and returns
// false; the start-up then shows the help page and ends the program.
bool Load_Settings();
