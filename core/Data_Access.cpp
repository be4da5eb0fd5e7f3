#include "Data_Access.h"

#include "GlobalVariables.h"

Database Open_Database()
{
    return Database(GlobalVariables::Database_Path);
}
