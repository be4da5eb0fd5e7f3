#include "Inventory.h"

#include "Data_Access.h"

bool Product_Has_Inventory(const QString& Product)
{
    return !Open_Database()
                .Select_First("SELECT 1 FROM Inventory WHERE Product_ID IN "
                              "(SELECT ID FROM Products WHERE Product = ?) LIMIT 1",
                              {Product})
                .isEmpty();
}
