#pragma once
// The one database of the program, at GlobalVariables::Database_Path.

#include "Database.h"

// A connection to the program's database (throws Database_Error when it
// cannot be opened).
Database Open_Database();
