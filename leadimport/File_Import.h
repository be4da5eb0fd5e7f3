#pragma once
// Delimited lead files into contacts: one lead a line, one field a column, the
// columns named by a file import source (ContactSources). Lines whose lead is
// junk or already a contact are discarded; every other line becomes a new
// contact that enters its product's workflow. Progress goes to panels 3 to 5
// of the main window's status bar.

#include <QString>
#include <QVariant>

// Reads the lead file of the source (for an "FTP" source the downloaded copy
// Local_File, else its Path_For_File) and adds a contact for every new lead.
// Returns 1 when the file was read to its end (also when nothing was added),
// -1 when it is missing, cannot be read to its end (nothing is imported
// then), is not a text file (NULs, binary data: refused whole), a line has
// more than 40 fields, writing a contact failed, or no source has that name;
// each of these is said in a message naming the file or the failure.
// Contacts added before a failure stay. The file is decoded as UTF-16 when
// its byte-order mark says so, else as UTF-8, and a line that is not UTF-8
// in the Western Windows code page. It is imported in batches, one
// transaction each, checked against the database together, with the
// window's events handled between them.
int Merge_The_Transferred_File(const QString& Source_Name, const QString& Local_File);

// Field Position (1-based) of the line being imported; the empty text for 0,
// a negative value, a null, anything not a number or a position beyond the
// 40 fields of a line.
QString Get_Merge_Field(const QVariant& Position);

// 1 when the lead is to be discarded: its e-mail is on the junk list, its
// first or last name on the junk names list (while Check_For_Bad_Names is
// set), a contact has the same four values, or a contact has its e-mail.
// 0 for a new lead. Comparisons ignore letter case, as the database does.
int Is_Duplicate_Or_Junk(const QString& First_Name, const QString& Middle_Initial,
                         const QString& Last_Name, const QString& Email);

// Contacts added by the last Merge_The_Transferred_File.
int Last_Merge_Count();

// Lines checked together, the window's events handled after them.
inline constexpr int Merge_Batch_Size = 250;
// New contacts written per transaction: each commit writes every index page
// it touched to the journal, so fewer, larger ones write far less.
inline constexpr int Merge_Rows_Per_Transaction = 5000;
