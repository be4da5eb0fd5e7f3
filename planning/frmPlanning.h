#pragma once
// The planning window ("Planning Form"): where the user sets up what the
// automatic work runs on. Three top pages, each with two inner pages; every
// editor page is a class of its own. Pending edits of the editors are
// committed before any page changes (every click of a tab strip) and before
// the window closes; an edit that cannot be stored keeps its page shown.
// One modeless instance, released when it closes.

#include <QList>
#include <QWidget>

class Email_Filter_Editor;
class Email_Template_Editor;
class File_Import_Source_Editor;
class Product_Catalog;
class QTabBar;
class Quote_Template_Editor;
class Workflow_Editor;

class frmPlanning : public QWidget {
    Q_OBJECT
public:
    explicit frmPlanning(QWidget* parent = nullptr);

    QTabBar* TabStrip1 = nullptr;
    QTabBar* TabTemplateStrip = nullptr;
    QTabBar* TabProducts = nullptr;
    QTabBar* TabImportFilters = nullptr;
    QWidget* frameAllTemplates = nullptr;
    QWidget* frameProductTabs = nullptr;
    QWidget* frameImport = nullptr;
    Email_Template_Editor* frameTemplates = nullptr;
    Quote_Template_Editor* frameQuoteTemplateEdit = nullptr;
    Workflow_Editor* frameProductWorkflow = nullptr;
    Product_Catalog* frameProductCatalog = nullptr;
    Email_Filter_Editor* frameEmailFilters = nullptr;
    File_Import_Source_Editor* frameImportSources = nullptr;

    // Writes the pending edits of the step, catalog, filter and source
    // editors, in that order; false as soon as one refuses (its page stays).
    bool Commit_Pending_Edits();
    void Reset_Current_Node_Highlight();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Strip {
        QTabBar* bar = nullptr;
        QList<QWidget*> frames;
        int remembered = 0;
    };

    void Form_Load();
    QWidget* Make_Strip_Page(Strip& strip, QTabBar* bar, const QString& name, const QList<QPair<QString, QWidget*>>& pages);
    void Connect_Strip(Strip& strip);
    void Tab_Changed(Strip& strip, int index);
    void Page_Shown(QWidget* frame);

    Strip top, templates, products, imports;
    bool reverting = false;
};

// The "Planning" menu entry: opens the window (made when needed) modeless and
// brings it to the front.
void Show_Planning_Window();
// The open planning window, or nullptr.
frmPlanning* Planning_Window();
// Closes the open planning window as its close box does (committing its
// edits); false when it stays open because an edit cannot be stored.
bool Close_Planning_Window();
