#pragma once
// Runs file import sources: a local lead file is merged where it lies; a file
// on an FTP server is first downloaded into the program's data folder.

#include <QString>

// Imports the lead file of the source with that name. Reports its own
// failures in message boxes; an import already running is not started twice.
void Import_From_Source(const QString& Source_Name);

// Imports every source marked for automatic import, in table order; a source
// that fails does not keep the others from being imported.
void Automatic_File_Import();

// A name for the next download: "ldata" + a number from 1000 to 2000 + ".txt"
// in Folder, drawn at random until it is free (after a bounded number of
// draws the first free number is taken). The empty text when every name is taken.
QString Draw_Download_File_Name(const QString& Folder);
