#include "Data_Access.h"

#include "Database_Upgrade.h"
#include "GlobalVariables.h"

Database Open_Database()
{
    Database db(GlobalVariables::Database_Path);
    Upgrade_Database_Once(db);
    return db;
}
