-- Settings of the program: exactly one row.
CREATE TABLE Settings (Backup_Dir TEXT COLLATE NOCASE);
INSERT INTO Settings (Backup_Dir) VALUES (NULL);
