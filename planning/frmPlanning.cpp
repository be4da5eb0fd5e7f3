#include "frmPlanning.h"

#include <QCloseEvent>
#include <QPointer>
#include <QSplitter>
#include <QTabBar>
#include <QVBoxLayout>

#include "Main_Window_Planning.h"
#include "Planning_Common.h"
#include "pages/Email_Filter_Editor.h"
#include "pages/Email_Template_Editor.h"
#include "pages/File_Import_Source_Editor.h"
#include "pages/Product_Catalog.h"
#include "pages/Quote_Template_Editor.h"
#include "pages/Workflow_Editor.h"

namespace {

QPointer<frmPlanning> the_window;

QTabBar* New_Tab_Bar(const QString& name)
{
    auto* bar = new QTabBar;
    bar->setObjectName(name);
    bar->setExpanding(false);
    bar->setDrawBase(true);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

} // namespace

frmPlanning::frmPlanning(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName("frmPlanning");
    setWindowTitle("Planning Form");
    setAttribute(Qt::WA_DeleteOnClose);

    frameTemplates = new Email_Template_Editor;
    frameQuoteTemplateEdit = new Quote_Template_Editor;
    frameProductWorkflow = new Workflow_Editor;
    frameProductCatalog = new Product_Catalog;
    frameEmailFilters = new Email_Filter_Editor;
    frameImportSources = new File_Import_Source_Editor;

    TabTemplateStrip = New_Tab_Bar("TabTemplateStrip");
    frameAllTemplates = Make_Strip_Page(templates, TabTemplateStrip, "frameAllTemplates",
                                        {{"&Email Templates", frameTemplates},
                                         {"&Quote Templates", frameQuoteTemplateEdit}});
    TabProducts = New_Tab_Bar("TabProducts");
    frameProductTabs = Make_Strip_Page(products, TabProducts, "frameProductTabs",
                                       {{"Product &Workflow", frameProductWorkflow},
                                        {"Product &Catalog", frameProductCatalog}});
    TabImportFilters = New_Tab_Bar("TabImportFilters");
    frameImport = Make_Strip_Page(imports, TabImportFilters, "frameImport",
                                  {{"Email Import &Filters", frameEmailFilters},
                                   {"File Import &Sources", frameImportSources}});
    TabStrip1 = New_Tab_Bar("TabStrip1");
    QWidget* all = Make_Strip_Page(top, TabStrip1, "framePlanning",
                                   {{"&Templates", frameAllTemplates},
                                    {"&Products", frameProductTabs},
                                    {"&Data Import ", frameImport}});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(all);

    connect(frameProductCatalog, &Product_Catalog::Products_Changed, this, [this] {
        frameProductWorkflow->Follow_Catalog();
        Planning_Main_Window().Products_Changed();
    });
    connect(frameProductCatalog, &Product_Catalog::Product_Renamed, this,
            [](const QString& old_name, const QString& new_name) {
                Planning_Main_Window().Product_Renamed(old_name, new_name);
            });

    Form_Load();
    resize(1000, 680);
}

QWidget* frmPlanning::Make_Strip_Page(Strip& strip, QTabBar* bar, const QString& name,
                                      const QList<QPair<QString, QWidget*>>& pages)
{
    strip.bar = bar;
    auto* page = new QWidget;
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(strip.bar);
    for (const auto& [caption, frame] : pages) {
        strip.bar->addTab(caption);
        strip.frames << frame;
        layout->addWidget(frame, 1);
    }
    Connect_Strip(strip);
    return page;
}

void frmPlanning::Connect_Strip(Strip& strip)
{
    // A click on the tab already shown commits all the same.
    connect(strip.bar, &QTabBar::tabBarClicked, this, [this, &strip](int index) {
        if (index >= 0 && index == strip.bar->currentIndex())
            Commit_Pending_Edits();
    });
    connect(strip.bar, &QTabBar::currentChanged, this, [this, &strip](int index) { Tab_Changed(strip, index); });
}

void frmPlanning::Form_Load()
{
    for (Strip* strip : {&top, &templates, &products, &imports}) {
        strip->remembered = 0;
        for (int at = 0; at < strip->frames.size(); ++at)
            strip->frames[at]->setVisible(at == 0);
    }
    frameProductWorkflow->Load();
    frameTemplates->Load();
    frameEmailFilters->Load();
    frameImportSources->Load();
}

bool frmPlanning::Commit_Pending_Edits()
{
    if (frameProductWorkflow->Modified() && !frameProductWorkflow->Save())
        return false;
    if (frameProductCatalog->Modified() && !frameProductCatalog->Save())
        return false;
    if (frameEmailFilters->Modified() && !frameEmailFilters->Save())
        return false;
    if (frameImportSources->Modified() && !frameImportSources->Save())
        return false;
    return true;
}

void frmPlanning::Tab_Changed(Strip& strip, int index)
{
    if (reverting || index < 0 || index == strip.remembered)
        return;
    // The tab shown stays in front while its edits are stored (and while a
    // refusal is said); only then does the new one come forward.
    reverting = true;
    strip.bar->setCurrentIndex(strip.remembered);
    const bool committed = Commit_Pending_Edits();
    if (committed)
        strip.bar->setCurrentIndex(index);
    reverting = false;
    if (!committed)
        return;
    QWidget* shown = strip.frames.value(index);
    QWidget* hidden = strip.frames.value(strip.remembered);
    if (shown)
        shown->show();
    if (hidden)
        hidden->hide();
    strip.remembered = index;
    Page_Shown(shown);
}

void frmPlanning::Page_Shown(QWidget* frame)
{
    if (frame == frameProductCatalog)
        frameProductCatalog->Show_Product_Grid();
    if (frame == frameQuoteTemplateEdit)
        frameQuoteTemplateEdit->Show_Quote_Template();
    // The tree follows what the catalog did meanwhile.
    if (frame == frameProductWorkflow || (frame == frameProductTabs && products.remembered == 0))
        frameProductWorkflow->Follow_Catalog();
}

void frmPlanning::Reset_Current_Node_Highlight()
{
    frameProductWorkflow->Reset_Current_Node_Highlight();
}

void frmPlanning::closeEvent(QCloseEvent* event)
{
    // What a tab click would store is stored on closing too.
    if (!Commit_Pending_Edits()) {
        event->ignore();
        return;
    }
    event->accept();
    Planning_Main_Window().Planning_Window_Closed();
}

void Show_Planning_Window()
{
    if (!the_window) {
        the_window = new frmPlanning;
        Place_Over_Active_Window(the_window);
        // On a small screen the trees give up width before the editors do.
        const int tree = qBound(220, the_window->width() - 640, 360);
        for (QSplitter* splitter : the_window->findChildren<QSplitter*>())
            splitter->setSizes({tree, the_window->width() - tree});
    }
    the_window->show();
    the_window->raise();
    the_window->activateWindow();
}

frmPlanning* Planning_Window()
{
    return the_window;
}

bool Close_Planning_Window()
{
    if (!the_window)
        return true;
    return the_window->close();
}
