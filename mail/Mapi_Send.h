#pragma once
// Sending the due outbox e-mails through the mail client.

// Sends every due "Email Out" and "Sent Quote" entry with its attachments
// (and a copy to the Cc address when redirection is on), files each one in
// its contact's history with the files handed over to the new event, and
// takes the entry out of the outbox right after it went. A failure ends the
// run with a message; what was sent before it stays sent and filed. An entry
// sent whose filing failed is not sent again while the program runs; its
// filing is tried again at the next run. Refused
// while an SMTP batch works through the outbox (not between its batches).
void Send_All_Mapi_Messages();
