#pragma once
// The log-in password as it is stored: a salted PBKDF2 hash, never the typed
// text. The log-in, the block-delete check and the settings dialog's password
// change all compare through Password_Matches.

#include <QString>

// The text to store for a password: the empty text for the empty password
// (no log-in asked), else "pbkdf2-sha256$<iterations>$<salt>$<key>" with a
// new random salt, so two hashes of one password differ.
QString Password_Hash(const QString& Text);

// Whether the typed text is the password stored as Stored (case-sensitive,
// untrimmed). An empty Stored matches only the empty text. A Stored value
// that is not a hash is a password kept in clear by an older database and is
// compared as it stands.
bool Password_Matches(const QString& Text, const QString& Stored);

// Whether Stored is a hash made by Password_Hash (or empty).
bool Password_Is_Hashed(const QString& Stored);

// Writes the hash of the new password into the settings row (the empty text
// for the empty password). Throws Database_Error. The caller reloads the
// settings in use.
void Save_Log_In_Password(const QString& New_Password);
