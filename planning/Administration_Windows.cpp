#include "Administration_Windows.h"

#include <QPointer>

#include "Planning_Common.h"
#include "StatsViewer.h"
#include "frmProductCatalogQuote.h"
#include "frmInventoryListing.h"
#include "frmJunkEmails.h"
#include "frmJunkNames.h"
#include "frmSetupForm.h"

namespace {

QPointer<frmProductCatalogQuote> quote_window;

template <class Window>
void Show_Once(QPointer<Window>& instance, QWidget* parent)
{
    if (!instance) {
        instance = new Window(parent);
        instance->setAttribute(Qt::WA_DeleteOnClose);
        // Left to the window manager, a viewer may open partly off the screen.
        Place_Over_Active_Window(instance);
    }
    instance->show();
    instance->raise();
    instance->activateWindow();
}

} // namespace

void Show_Setup_Form(QWidget* parent)
{
    frmSetupForm dialog(parent);
    dialog.exec();
}

void Show_Stats_Viewer(QWidget* parent)
{
    static QPointer<StatsViewer> window;
    Show_Once(window, parent);
}

void Show_Junk_Emails(QWidget* parent)
{
    static QPointer<frmJunkEmails> window;
    Show_Once(window, parent);
}

void Show_Junk_Names(QWidget* parent)
{
    static QPointer<frmJunkNames> window;
    Show_Once(window, parent);
}

void Show_Inventory_Listing(QWidget* parent)
{
    static QPointer<frmInventoryListing> window;
    Show_Once(window, parent);
}

void Show_Product_Catalog_Quote(qint64 Contact_ID)
{
    if (!quote_window) {
        quote_window = new frmProductCatalogQuote;
        quote_window->setAttribute(Qt::WA_DeleteOnClose);
        Place_Over_Active_Window(quote_window);
    }
    quote_window->Set_Contact(Contact_ID);
    quote_window->show();
    quote_window->raise();
    quote_window->activateWindow();
}

frmProductCatalogQuote* Product_Catalog_Quote_Window()
{
    return quote_window;
}
