#pragma once
// The workflow run: birthday e-mails, then every product's workflow over its
// running contacts; due steps are merged with the contact's fields and posted
// to the outbox. Progress shows in status panels 3 to 5 of the main window.
// Database failures are thrown to the caller.

#include <QSqlRecord>
#include <QString>
#include <functional>

// The whole run (Actions > Process Workflows). At the end it starts the SMTP
// sender when automatic sending is on and the sender is not running yet.
void Process_All_Contacts();

void Process_Birthdays();
void Process_All_Products();
void Process_Product_Timeline(const QString& Product);
// One running contact of the product: its next step is posted when due and
// not waiting in the outbox yet; without a next step the contact is finished.
// Returns whether a step was posted.
bool Process_Contact_Timeline(const QSqlRecord& contact, const QString& Product);

// The highest step in the contact's history for the product, 0 when none.
// Birthday e-mails (step -1) do not count towards the workflow position.
int Get_Last_Timeline_Step(qint64 Contact_ID, const QString& Product);

// 1 when no Outbox row has this contact, step and product, else 0.
int Step_Not_In_Outbox(qint64 Contact_ID, int Step, const QString& Product);

// The SMTP sender lives in the mail transport, which registers how to start
// it; without it the run starts nothing.
void Set_Smtp_Sender_Starter(std::function<void()> starter);
