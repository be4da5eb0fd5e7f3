#pragma once
// The catalog quote: the product quote template merged with one contact and
// the products ticked in the catalog, in their order. Reads the database
// only; what the quote window shows and where the quote goes is its own.

#include <QString>

#include "Main_Window_Planning.h"

// Every product unticked, its order 0: a quote starts from nothing chosen.
// Throws Database_Error.
void Reset_Quote_Selections();

struct Catalog_Quote {
    QString Refusal;     // why no quote was built (said to the user); empty when built
    Quote_Email Email;
};

// Builds the quote for the contact (its ID as the window holds it). Throws
// Database_Error.
Catalog_Quote Build_Catalog_Quote(const QString& Contact_ID);
