#pragma once
// Brings a database made by an older version of the program up to the tables
// of the schema, keeping every row.

#include "Database.h"

// Inventory rows get their ID key (numbered in table order), in one
// transaction; throws Database_Error, leaving the database as it was. Then
// the indexes the schema has and the database lacks are made.
void Upgrade_Database(Database& db);

// Upgrade_Database on the first opening of each database file in this
// process; a failed upgrade is logged and the database used as it stands.
void Upgrade_Database_Once(Database& db);
