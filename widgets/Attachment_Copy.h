#pragma once
// Saving a copy of a stored attachment where the user chooses.

#include <QString>
#include <QStringList>

// Asks where to save the attachment of that name of the owner (Link_ID and
// Link_Database of the attachment store) and copies the stored file there,
// replacing a file of that name. Cancel saves nothing; a failed copy is said;
// database failures go to the caller. Occurrence picks one of several files of
// that name (0 the first, in list order).
void Save_Attachment_Copy(qint64 Link_ID, const QString& Link_Database, const QString& Name,
                          int Occurrence = 0);

// How many entries before the given row bear that row's text: which of the
// files of one name the row stands for.
int Attachment_Occurrence(const QStringList& Entries, int Row);
