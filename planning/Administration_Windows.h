#pragma once
// The entries by which the main window's menus open the settings dialog and
// the viewers. The settings dialog is modal; each viewer is one window beside
// the main window, shown again (not read again) when it is open already.

#include <QtGlobal>

class QWidget;
class frmProductCatalogQuote;

// File > "General Brackenlead Settings"
void Show_Setup_Form(QWidget* parent = nullptr);
// Reports > "Email Stats"
void Show_Stats_Viewer(QWidget* parent = nullptr);
// Reports > "Junk E-mails Edit/View"
void Show_Junk_Emails(QWidget* parent = nullptr);
// Reports > "Junk Names Edit/View"
void Show_Junk_Names(QWidget* parent = nullptr);
// Reports > "Inventory Listing"
void Show_Inventory_Listing(QWidget* parent = nullptr);
// The contact toolbar's "Quote": the quote window for the contact, made (with
// every product unticked) when it is not open; an open one keeps its ticks.
void Show_Product_Catalog_Quote(qint64 Contact_ID);
// The open quote window, or nullptr.
frmProductCatalogQuote* Product_Catalog_Quote_Window();
