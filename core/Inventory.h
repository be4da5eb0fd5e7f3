#pragma once
// The vehicle inventory kept per product (table Inventory, by Products.ID).

#include <QString>

// Whether the product (by name) has inventory rows: such a product must not
// be deleted from under them. Throws Database_Error.
bool Product_Has_Inventory(const QString& Product);
