-- Brackenlead database: every table with the rows a new database ships with.
--
-- Conventions:
--   * Text compares without regard to case, so every text column is
--     COLLATE NOCASE and the indexes on them inherit it.
--   * Mail-store message ids must compare exactly: those columns are BINARY.
--     Ids the program makes itself are stored as their decimal text.
--   * Dates are text 'yyyy-MM-dd hh:mm:ss' (local time), which sorts and
--     compares to the second. Stats.EventDate holds the day at 00:00:00, so
--     the statistics sort by day across years.
--   * Flags are 0/1 and never null.
--   * Autonumber keys are AUTOINCREMENT so a deleted row's id is never given
--     out again (outbox, event and attachment links refer to them).
--
-- Executed statement by statement: each ends with a semicolon at the end of
-- its last line, and there is none anywhere else.

-- One contact (a lead or customer) with its product and vehicle fields.
CREATE TABLE Contacts (
    ID                          INTEGER PRIMARY KEY AUTOINCREMENT,
    FirstName                   TEXT COLLATE NOCASE,
    MiddleInitial               TEXT COLLATE NOCASE,
    LastName                    TEXT COLLATE NOCASE,
    Address                     TEXT COLLATE NOCASE,
    City                        TEXT COLLATE NOCASE,
    State                       TEXT COLLATE NOCASE,
    Zipcode                     TEXT COLLATE NOCASE,
    Email                       TEXT COLLATE NOCASE,
    Homephone                   TEXT COLLATE NOCASE,
    Workphone                   TEXT COLLATE NOCASE,
    Cellphone                   TEXT COLLATE NOCASE,
    B_Day                       INTEGER,
    B_Month                     INTEGER,
    B_Year                      INTEGER,
    Company                     TEXT COLLATE NOCASE,
    Product                     TEXT COLLATE NOCASE,
    Import_Source               TEXT COLLATE NOCASE,
    Contact_Received_Date       TEXT,
    Workflow_Start_Date         TEXT,
    Contact_Title               TEXT COLLATE NOCASE,
    Contact_Relationship        TEXT COLLATE NOCASE,
    Referred_By                 TEXT COLLATE NOCASE,
    Best_Time_To_Contact        TEXT COLLATE NOCASE,
    Year                        TEXT COLLATE NOCASE,
    Make                        TEXT COLLATE NOCASE,
    Model                       TEXT COLLATE NOCASE,
    Interior_Color              TEXT COLLATE NOCASE,
    Exterior_Color              TEXT COLLATE NOCASE,
    Transmission                TEXT COLLATE NOCASE,
    Size_Of_Engine              TEXT COLLATE NOCASE,
    Number_Of_Doors             TEXT COLLATE NOCASE,
    Number_Of_Cylinders         TEXT COLLATE NOCASE,
    Options                     TEXT COLLATE NOCASE,
    Notes                       TEXT COLLATE NOCASE,
    New_Contact                 INTEGER NOT NULL DEFAULT 0,
    Pending_Events_To_Read      INTEGER NOT NULL DEFAULT 0,
    Stop_Timeline_Action        INTEGER NOT NULL DEFAULT 0,
    Finished_Timeline_Execution INTEGER NOT NULL DEFAULT 0,
    Date_Product_Bought         TEXT
);
-- Incoming mail, lead import and the new-contact command find contacts by address.
CREATE INDEX Contacts_Email ON Contacts (Email);
-- The workflow run and the product group select contacts by product.
CREATE INDEX Contacts_Product ON Contacts (Product);
-- The contact list is ordered by name and the file import checks names for
-- duplicates. It holds every column of the list, so a list of many thousand
-- contacts is read from the index alone, in its order.
CREATE INDEX Contacts_List ON Contacts (LastName, FirstName, ID, Product, Contact_Relationship, Contact_Title,
    Email, MiddleInitial, Pending_Events_To_Read, New_Contact);

-- One event of one contact: mail in or out, a call, a lead entry, a custom event.
CREATE TABLE Eventhistory (
    ID                   INTEGER PRIMARY KEY AUTOINCREMENT,
    ContactID            INTEGER,
    EventDate            TEXT,
    Event_Product        TEXT COLLATE NOCASE,
    Event_Type           TEXT COLLATE NOCASE,
    Timeline_Step_Number INTEGER,
    Sender               TEXT COLLATE NOCASE,
    EventSubject         TEXT COLLATE NOCASE,
    EventMessage         TEXT COLLATE NOCASE,
    EventRead            INTEGER NOT NULL DEFAULT 0,
    Email_ID_Date        TEXT,
    Event_Unique_ID      TEXT COLLATE BINARY,
    Has_Attachments      INTEGER NOT NULL DEFAULT 0
);
-- The duplicate guard and the look-ups go by contact and unique id, the history list by contact.
CREATE INDEX Eventhistory_Contact ON Eventhistory (ContactID, Event_Unique_ID);
-- Incoming mail is checked against stored message ids of any contact.
CREATE INDEX Eventhistory_Unique_ID ON Eventhistory (Event_Unique_ID);
-- The workflow run's last step per contact and product, read from the index alone.
CREATE INDEX Eventhistory_Step ON Eventhistory (ContactID, Event_Product, Timeline_Step_Number);

-- One scheduled e-mail, call or to-do waiting to be sent or done.
CREATE TABLE Outbox (
    ID                        INTEGER PRIMARY KEY AUTOINCREMENT,
    Out_Contact_ID            INTEGER,
    Product_Name              TEXT COLLATE NOCASE,
    Out_Event_Type            TEXT COLLATE NOCASE,
    Out_Timeline_Event_Number INTEGER,
    ToEmail                   TEXT COLLATE NOCASE,
    ToEmailName               TEXT COLLATE NOCASE,
    Subject                   TEXT COLLATE NOCASE,
    Message                   TEXT COLLATE NOCASE,
    FromEmail                 TEXT COLLATE NOCASE,
    FromEmailName             TEXT COLLATE NOCASE,
    Date_To_Execute_Event     TEXT,
    Date_Sent_To_Outbox       TEXT,
    Lead_Time                 INTEGER
);
-- A new row is found again by contact, address and posting time, a waiting step by contact.
CREATE INDEX Outbox_Contact ON Outbox (Out_Contact_ID);
CREATE INDEX Outbox_Date_Sent ON Outbox (Date_Sent_To_Outbox);
-- The senders and the to-do list pick rows by due date.
CREATE INDEX Outbox_Date_Due ON Outbox (Date_To_Execute_Event);

-- One stored file attached to an outbox row.
CREATE TABLE Outbox_Attachments (
    ID              INTEGER PRIMARY KEY AUTOINCREMENT,
    Outbox_ID       INTEGER,
    Attachment_Path TEXT COLLATE NOCASE,
    Attachment_Name TEXT COLLATE NOCASE
);
CREATE INDEX Outbox_Attachments_Outbox ON Outbox_Attachments (Outbox_ID);

-- One stored file of an event (Link_Database 'E') or an unmatched e-mail ('U').
CREATE TABLE Attachments (
    Link_ID               INTEGER,
    Link_Database         TEXT COLLATE NOCASE,
    Attachment_Path_Name  TEXT COLLATE NOCASE,
    Attachment_Final_Name TEXT COLLATE NOCASE
);
CREATE INDEX Attachments_Owner ON Attachments (Link_ID, Link_Database);

-- One received message that matched no contact.
CREATE TABLE NewEmails (
    ID                     INTEGER PRIMARY KEY AUTOINCREMENT,
    Email_Message          TEXT COLLATE NOCASE,
    Email_Subject          TEXT COLLATE NOCASE,
    Email_From             TEXT COLLATE NOCASE,
    Email_From_Name        TEXT COLLATE NOCASE,
    Email_Date             TEXT,
    Email_Received_Date    TEXT,
    Email_Unique_ID        TEXT COLLATE BINARY,
    Email_Number_On_Server INTEGER,
    Email_New              INTEGER NOT NULL DEFAULT 0,
    Has_Attachments        INTEGER NOT NULL DEFAULT 0
);
-- Incoming mail is checked against stored message ids.
CREATE INDEX NewEmails_Unique_ID ON NewEmails (Email_Unique_ID);
-- Convert, junk and delete act on every e-mail of one sender.
CREATE INDEX NewEmails_From ON NewEmails (Email_From);

-- One junk sender address.
CREATE TABLE JunkEmails (
    ID    INTEGER PRIMARY KEY AUTOINCREMENT,
    Email TEXT COLLATE NOCASE
);
CREATE INDEX JunkEmails_Email ON JunkEmails (Email);

-- One first or last name whose lead records the file import drops.
CREATE TABLE JunkNames (
    ID   INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT COLLATE NOCASE
);
CREATE INDEX JunkNames_Name ON JunkNames (Name);

-- One relationship name offered for contacts.
CREATE TABLE Relationships (
    Relation_Data TEXT COLLATE NOCASE
);

-- One title offered for contacts.
CREATE TABLE Titles (
    Contact_Title TEXT COLLATE NOCASE
);

-- One activity counter for one day.
CREATE TABLE Stats (
    EventDate   TEXT,
    Event       TEXT COLLATE NOCASE,
    NumOfEvents INTEGER
);
CREATE INDEX Stats_Day ON Stats (EventDate, Event);

-- The program's configuration: exactly one row.
CREATE TABLE Settings (
    Backup_Dir                TEXT COLLATE NOCASE,
    Furrowline_Password       TEXT COLLATE NOCASE,
    Admin_Password            TEXT COLLATE NOCASE,
    Cc_Address                TEXT COLLATE NOCASE,
    Enabled_Cc_Redirection    INTEGER NOT NULL DEFAULT 0,
    SMTP_Server               TEXT COLLATE NOCASE,
    DefaultEmailName          TEXT COLLATE NOCASE,
    DefaultEmailAddress       TEXT COLLATE NOCASE,
    DefaultContactName        TEXT COLLATE NOCASE,
    Automatically_Send_Emails INTEGER NOT NULL DEFAULT 0,
    AutoSend_Birthdate_Emails INTEGER NOT NULL DEFAULT 0,
    Confirm_Email_Deletes     INTEGER NOT NULL DEFAULT 0,
    Auto_Check_Emails         INTEGER NOT NULL DEFAULT 0,
    Delete_Remote_Email       INTEGER NOT NULL DEFAULT 0,
    Check_For_Junk_Emails     INTEGER NOT NULL DEFAULT 0,
    Check_For_Bad_Names       INTEGER NOT NULL DEFAULT 0,
    Translate_Product_Aliases INTEGER NOT NULL DEFAULT 0,
    Backup_Date               TEXT,
    Compression_Counter       INTEGER,
    Owner_Firstname           TEXT COLLATE NOCASE,
    Owner_Lastname            TEXT COLLATE NOCASE,
    Owner_Address             TEXT COLLATE NOCASE,
    Owner_City                TEXT COLLATE NOCASE,
    Owner_State               TEXT COLLATE NOCASE,
    Owner_Zip                 TEXT COLLATE NOCASE,
    Owner_Phone               TEXT COLLATE NOCASE,
    Email_Check_Time          TEXT COLLATE NOCASE
);

-- One product of the catalog. Its name is what contacts, steps and outbox rows refer to.
CREATE TABLE Products (
    ID          INTEGER PRIMARY KEY AUTOINCREMENT,
    Product     TEXT COLLATE NOCASE,
    Part_Number TEXT COLLATE NOCASE,
    Description TEXT COLLATE NOCASE,
    Price       REAL,
    Selected    TEXT COLLATE NOCASE DEFAULT 'No',
    "Order"     INTEGER DEFAULT 0
);
-- Unique, as the name is the product's key and workflow steps refer to it.
CREATE UNIQUE INDEX Products_Product ON Products (Product);

-- One step of a product's workflow, numbered from 1 within the product.
-- A product that has steps can be neither renamed nor deleted (enforced
-- where foreign keys are switched on).
CREATE TABLE Events (
    ID                      INTEGER PRIMARY KEY AUTOINCREMENT,
    Product                 TEXT COLLATE NOCASE REFERENCES Products (Product),
    EventID                 INTEGER,
    Event_Action            TEXT COLLATE NOCASE DEFAULT 'Email Out',
    DaysAfterInitialContact INTEGER DEFAULT 0,
    AdditionalHoursToAdd    INTEGER DEFAULT 0,
    Subject                 TEXT COLLATE NOCASE,
    Message                 TEXT COLLATE NOCASE,
    SenderEmail             TEXT COLLATE NOCASE,
    SenderEmailName         TEXT COLLATE NOCASE
);
CREATE INDEX Events_Step ON Events (Product, EventID);

-- One named e-mail template. 'Birthday' is the one the birthday pass sends.
CREATE TABLE emailformats (
    ID           INTEGER PRIMARY KEY AUTOINCREMENT,
    FormatID     TEXT COLLATE NOCASE,
    EmailSubject TEXT COLLATE NOCASE,
    EmailMessage TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX emailformats_FormatID ON emailformats (FormatID);

-- One lead-file source, a local file or a file on an FTP server, and where
-- each contact field stands in its lines (1-based, 0 for none).
CREATE TABLE ContactSources (
    ID                           INTEGER PRIMARY KEY AUTOINCREMENT,
    Name_Of_Site                 TEXT COLLATE NOCASE,
    Type_Of_Source               TEXT COLLATE NOCASE DEFAULT 'Local File',
    Path_For_File                TEXT COLLATE NOCASE DEFAULT '',
    Domain_Name                  TEXT COLLATE NOCASE DEFAULT '',
    Username                     TEXT COLLATE NOCASE DEFAULT '',
    Password                     TEXT COLLATE NOCASE DEFAULT '',
    Field_Delimiter              TEXT COLLATE NOCASE DEFAULT 'Comma',
    From_System                  TEXT COLLATE NOCASE DEFAULT 'MS-Windows',
    Automatically_Import         INTEGER NOT NULL DEFAULT 0,
    Delete_Remote_File_When_Done INTEGER NOT NULL DEFAULT 0,
    Firstname_Position           INTEGER DEFAULT 1,
    MiddleInitial_Position       INTEGER DEFAULT 2,
    Lastname_Position            INTEGER DEFAULT 3,
    Address_Position             INTEGER DEFAULT 0,
    City_Position                INTEGER DEFAULT 0,
    State_Position               INTEGER DEFAULT 0,
    Zip_Position                 INTEGER DEFAULT 0,
    Email_Position               INTEGER DEFAULT 4,
    Homephone_Position           INTEGER DEFAULT 0,
    Workphone_Position           INTEGER DEFAULT 0,
    Cellphone_Position           INTEGER DEFAULT 0,
    Bdate_Position               INTEGER DEFAULT 0,
    Company_Position             INTEGER DEFAULT 0,
    Product_Position             INTEGER DEFAULT 0,
    Title_Position               INTEGER DEFAULT 0,
    Relationship_Position        INTEGER DEFAULT 0,
    Referred_By_Position         INTEGER DEFAULT 0,
    Time_To_Contact_Position     INTEGER DEFAULT 0,
    Year_Position                INTEGER DEFAULT 0,
    Make_Position                INTEGER DEFAULT 0,
    Model_Position               INTEGER DEFAULT 0,
    Interior_Color_Position      INTEGER DEFAULT 0,
    Exterior_Color_Position      INTEGER DEFAULT 0,
    Transmission_Position        INTEGER DEFAULT 0,
    Size_Of_Engine_Position      INTEGER DEFAULT 0,
    Number_Of_Doors_Position     INTEGER DEFAULT 0,
    Number_Of_Cylinders_Position INTEGER DEFAULT 0,
    Options_Position             INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX ContactSources_Name ON ContactSources (Name_Of_Site);

-- One subject text of mail sent on someone else's behalf: the contact is
-- then sought among the addresses in the message text.
CREATE TABLE InvalidSearchStrings (
    Subject_Search_String TEXT COLLATE NOCASE
);

-- One e-mail import filter: a lead site recognised by its subject line.
CREATE TABLE EmailContactImports (
    ID                            INTEGER PRIMARY KEY AUTOINCREMENT,
    Name_Of_Site                  TEXT COLLATE NOCASE,
    Search_String_On_Subject_Line TEXT COLLATE NOCASE DEFAULT '',
    Test_Pattern                  TEXT COLLATE NOCASE
);
CREATE INDEX EmailContactImports_Name ON EmailContactImports (Name_Of_Site);

-- One field rule of an e-mail import filter.
CREATE TABLE EmailImportFieldsInfo (
    ID              INTEGER PRIMARY KEY AUTOINCREMENT,
    Email_Import_ID INTEGER,
    Event_Field     TEXT COLLATE NOCASE,
    Import_Type     TEXT COLLATE NOCASE,
    Label           TEXT COLLATE NOCASE,
    After_Label     TEXT COLLATE NOCASE,
    End_Label       TEXT COLLATE NOCASE
);
CREATE INDEX EmailImportFieldsInfo_Filter ON EmailImportFieldsInfo (Email_Import_ID, Event_Field);

-- One quote template, by type. 'Product' is the one the catalog quote uses.
CREATE TABLE QuotesTemplates (
    Quote_Type        TEXT COLLATE NOCASE,
    Subject           TEXT COLLATE NOCASE,
    Intro_Message     TEXT COLLATE NOCASE,
    Message_Delimiter TEXT COLLATE NOCASE,
    Quote_Template    TEXT COLLATE NOCASE,
    Disclaimer        TEXT COLLATE NOCASE
);
CREATE INDEX QuotesTemplates_Type ON QuotesTemplates (Quote_Type);

-- One vehicle in stock for a product (Products.ID). Two vehicles may be
-- alike in every field: the key tells them apart.
CREATE TABLE Inventory (
    ID                    INTEGER PRIMARY KEY AUTOINCREMENT,
    Product_ID            INTEGER,
    Year                  TEXT COLLATE NOCASE,
    Make                  TEXT COLLATE NOCASE,
    Model                 TEXT COLLATE NOCASE,
    VIN                   TEXT COLLATE NOCASE,
    Price                 TEXT COLLATE NOCASE,
    Color_Interior        TEXT COLLATE NOCASE,
    Color_Exterior        TEXT COLLATE NOCASE,
    Transmission          TEXT COLLATE NOCASE,
    Number_Of_Cylinders   TEXT COLLATE NOCASE,
    Size_Of_Engine        TEXT COLLATE NOCASE,
    Number_Of_Doors       TEXT COLLATE NOCASE,
    Other                 TEXT COLLATE NOCASE,
    Air_Conditioning      INTEGER NOT NULL DEFAULT 0,
    Rear_Air_Conditioning INTEGER NOT NULL DEFAULT 0,
    AM_FM_Radio           INTEGER NOT NULL DEFAULT 0,
    Cassette              INTEGER NOT NULL DEFAULT 0,
    Single_CD_Player      INTEGER NOT NULL DEFAULT 0,
    Multi_Disc_Changer    INTEGER NOT NULL DEFAULT 0,
    Power_Locks           INTEGER NOT NULL DEFAULT 0,
    Power_Windows         INTEGER NOT NULL DEFAULT 0,
    Power_Steering        INTEGER NOT NULL DEFAULT 0,
    Power_Driver_Seat     INTEGER NOT NULL DEFAULT 0,
    Power_Passenger_Seat  INTEGER NOT NULL DEFAULT 0,
    Tilt_Wheel            INTEGER NOT NULL DEFAULT 0,
    Cruise_Control        INTEGER NOT NULL DEFAULT 0,
    Anti_Lock_Brakes      INTEGER NOT NULL DEFAULT 0,
    Sun_Roof              INTEGER NOT NULL DEFAULT 0,
    Moon_Roof             INTEGER NOT NULL DEFAULT 0,
    Roof_Rack             INTEGER NOT NULL DEFAULT 0,
    Overhead_Console      INTEGER NOT NULL DEFAULT 0,
    Leather_Interior      INTEGER NOT NULL DEFAULT 0,
    Bench_Seating         INTEGER NOT NULL DEFAULT 0,
    Bucket_Seating        INTEGER NOT NULL DEFAULT 0,
    Child_Seat            INTEGER NOT NULL DEFAULT 0,
    Alloy_Wheels          INTEGER NOT NULL DEFAULT 0,
    Tow_Package           INTEGER NOT NULL DEFAULT 0,
    Extended_Cab          INTEGER NOT NULL DEFAULT 0,
    "4_Wheel_Drive"       INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX Inventory_Product ON Inventory (Product_ID);

-- Rows of a new database.

-- The settings row: nothing else creates it, and everything expects it. The
-- server and sender address are placeholders that the SMTP sender recognises
-- as not set yet (mail/MessageCenter.h).
INSERT INTO Settings (SMTP_Server, DefaultEmailAddress) VALUES (
    'NetSMTPServer',
    'yourname@yourcompany.com'
);

-- The birthday template: the planning window offers no way to delete it.
INSERT INTO emailformats (FormatID, EmailSubject, EmailMessage) VALUES (
    'Birthday',
    'Happy Birthday, [Firstname]!',
    'Dear [Firstname],' || char(13, 10) || char(13, 10) ||
    'Happy birthday! We wish you a wonderful day and a great year ahead.' ||
    char(13, 10) || char(13, 10) || 'Best wishes'
);

-- The product quote template: no operation creates it.
INSERT INTO QuotesTemplates (Quote_Type, Subject, Intro_Message, Message_Delimiter, Quote_Template, Disclaimer) VALUES (
    'Product',
    'Your quote, [Firstname]',
    'Dear [Firstname],' || char(13, 10) || char(13, 10) ||
    'Thank you for your interest. Here is the quote you asked for.',
    '========================================',
    'Product: [Catalog_Product]' || char(13, 10) ||
    'Part number: [Part_Number]' || char(13, 10) ||
    'Description: [Description]' || char(13, 10) ||
    'Price: [Price]',
    'Prices are subject to change without notice.'
);
