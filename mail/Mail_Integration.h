#pragma once
// Filing the fetched messages: each new one becomes an "Email In" event of its
// contact, a lead for the e-mail lead import, or an unmatched e-mail, with its
// attachments in the attachment store.

#include <QDateTime>
#include <QString>

class MAPIMessages;

// Files every new message of the fetched message set. A message is new when
// no event and no unmatched e-mail holds its id (whatever its received date
// says: the store's unique name is the message). The messages are read ahead
// off this thread and filed in batches of a transaction each, the window's
// events handled between them, the progress on panel 6. A message the store
// cannot give, or whose row, text or attachments cannot all be stored, is
// left out whole and stays in the store; the others are filed. An attachment
// the message ends inside and a sender without a valid address are said.
// With Delete_Remote_Email set, every message whose content is stored (now
// or before) is then deleted from the store. The new-mail sign (panel 7)
// shows while new messages wait to be filed and stays after only when some
// could not be.
struct Intake_Result {
    int New = 0;     // messages found that were not filed before
    int Filed = 0;   // of them, filed now
    int Left = 0;    // of them, left in the store unfiled
};
Intake_Result Integrate_Mapi_Emails(MAPIMessages& Messages);

// What an intake did, in a line for the status bar.
QString Intake_Status_Text(const Intake_Result& Result);

// True when neither an event nor an unmatched e-mail holds this message id.
bool Is_New_Email(const QString& Message_ID);

// 1: an invalid-sender text is in the subject (the contact is sought in the
// text); 2: an import filter's subject text is (a lead); 3: neither.
int Classify_Email_Subject(const QString& Subject);

// The first address in the text that is a contact's, as that contact's ID; 0 when none.
qint64 Find_Contact_From_Body_Addresses(const QString& Text);

// The run of address characters around the "@" at the 1-based position.
QString Extract_Email_Address(const QString& Text, int Position);

// Deletes the stored message with that id (the first found), if any. Does
// nothing while no session is open; a store failure is reported.
void Delete_Stored_Mapi_Message(const QString& Message_ID);

// Makes Delete_Mapi_Message (core) reach the mail store.
void Register_Mail_Store_Deleter();
