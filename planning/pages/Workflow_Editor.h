#pragma once
// The "Product Workflow" page: the tree of products with their numbered steps
// (an add node, a delete-last node and one node per step under each product)
// and the step editor, which shows one step at a time. Steps are added only
// at the end and deleted only from the end, so they stay numbered 1..n.

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QWidget>

class Planning_Tree;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QTreeWidgetItem;

class Workflow_Editor : public QWidget {
    Q_OBJECT
public:
    explicit Workflow_Editor(QWidget* parent = nullptr);

    Planning_Tree* TreeWorkflow = nullptr;
    QWidget* frameCreateTimelineForProduct = nullptr;
    QLabel* lblProductTimeline = nullptr;
    QLineEdit* txtFrameCreateTimeline_Days = nullptr;
    QLineEdit* txtFrameCreateTimeline_Hours = nullptr;
    QComboBox* lstProductAction = nullptr;
    QLineEdit* txtFrameCreateTimeline_FromName = nullptr;
    QLineEdit* txtFrameCreateTimeline_Subject = nullptr;
    QTextEdit* txtFrameCreateTimeline_Message = nullptr;
    QLineEdit* txtFrameCreateTimeline_Product = nullptr;
    QLineEdit* txtFrameCreateTimeline_EventNumber = nullptr;
    QPlainTextEdit* Text15 = nullptr;
    QPushButton* Product_Spell_Check = nullptr;

    // Builds the tree: every product, the first one filled with its steps and
    // its first step shown.
    void Load();

    // The shown step holds edits not yet stored.
    bool Modified() const { return workflow_changed; }
    // Save_Workflow_Event_Changes: writes the shown step. False when a value
    // is refused (said in a message; the editor stays on the step with the
    // keyboard in that box) or the database failed.
    bool Save();

    void Show_Workflow_Event(const QString& Key);
    // The product nodes follow the catalog: new products get a node, renamed
    // ones their new name (filled again on their next click), deleted ones
    // lose theirs.
    void Follow_Catalog();
    void Reset_Current_Node_Highlight();

    // The key of the step in the editor; empty when it holds none.
    QString Shown_Step_Key() const { return shown_key; }

private:
    void Build_Editor();
    bool Read_Products(QList<QSqlRecord>& Products);
    void TreeWorkflow_NodeClick(QTreeWidgetItem* Node);
    void Fill_Product_Node(QTreeWidgetItem* Product_Node);
    void Add_Workflow_Event(const QString& Product);
    void Delete_Last_Workflow_Event(const QString& Product);
    int Remove_Workflow_Node(const QString& Parent_Key, int Action_Nodes, const QString& Node_Key);
    void Make_Current(QTreeWidgetItem* Node, bool Highlight);
    void Set_Normal_Colours(QTreeWidgetItem* Node);
    void Step_Value_Changed();
    void Step_Text_Changed();
    void Update_Node_Text();
    // Hides the editor and empties it: it then holds no step.
    void Clear_Editor();
    void Product_Spell_Check_Click();

    bool workflow_changed = false;
    bool loading = false;
    QString current_key;   // the node last made current (highlighted)
    QString shown_key;     // the step node whose step the editor holds
};

// Text of a step node.
QString Workflow_Step_Text(const QString& Step, const QString& Action, const QString& Days,
                           const QString& Hours);
