#include "frmSelectProduct.h"

frmSelectProduct::frmSelectProduct(QWidget* parent, Group_Chosen chosen)
    : Group_Value_Picker(parent,
                         {"Select Contact Group by Product", "ListProduct", "Product", "Empty Product Field", "PRE",
                          "PRO", "SELECT Products.Product From Products ORDER BY Products.Product;", "Product",
                          "Select this Contact Product Group", "Check", "CancelSelection",
                          "Cancel this Product Selection", "Empty Products", "Product"},
                         std::move(chosen))
{
    setObjectName("frmSelectProduct");
    ListProduct = List;
}
