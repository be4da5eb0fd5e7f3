#pragma once
// Saving a copy of a stored attachment where the user chooses.

#include <QString>

// Asks where to save the attachment of that name of the owner (Link_ID and
// Link_Database of the attachment store) and copies the stored file there,
// replacing a file of that name. Cancel saves nothing; a failed copy is said;
// database failures go to the caller.
void Save_Attachment_Copy(qint64 Link_ID, const QString& Link_Database, const QString& Name);
