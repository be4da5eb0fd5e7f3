#include "Workflow_Editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHash>
#include <QSet>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Planning_Common.h"
#include "Planning_Tree.h"
#include "Settings.h"
#include "Shared_Routines.h"
#include "Spell_Check.h"

namespace {

// The product's ID rides on its node, so a renamed product is known again.
constexpr int Product_ID_Role = Qt::UserRole + 1;

// What the step boxes take: the original's 16-bit whole numbers from 0.
constexpr int Highest_Days_Or_Hours = 32767;

const char* const Placeholder_List =
    "[Firstname],\n[Lastname],\n[Address],\n[City],\n[State],\n[Zip],\n[Company],\n[Product],\n"
    "[Referrer],\n[Homephone],\n[Workphone],\n[Received_Date],\n[Email],\n[Today-Short],\n"
    "[Today-Long],\n[Options]";

QString Step_Key(const QString& product, const QString& step)
{
    return "PTF" + product + Key_Separator + step;
}

QString Number_Text(const QVariant& value)
{
    return Null_To_Empty(value);
}

} // namespace

QString Workflow_Step_Text(const QString& Step, const QString& Action, const QString& Days,
                           const QString& Hours)
{
    return "Event#: " + Step + " Type: " + Action + " Days: " + Days + " Hours: " + Hours;
}

Workflow_Editor::Workflow_Editor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frameProductWorkflow");
    TreeWorkflow = new Planning_Tree("TreeWorkflow");
    Build_Editor();
    Lay_Out_Tree_And_Editor(this, TreeWorkflow, frameCreateTimelineForProduct);

    connect(TreeWorkflow, &Planning_Tree::Node_Click, this, &Workflow_Editor::TreeWorkflow_NodeClick);
    frameCreateTimelineForProduct->hide();
}

void Workflow_Editor::Build_Editor()
{
    frameCreateTimelineForProduct = new QWidget;
    frameCreateTimelineForProduct->setObjectName("frameCreateTimelineForProduct");
    auto* grid = new QGridLayout(frameCreateTimelineForProduct);

    lblProductTimeline = New_Heading("lblProductTimeline");
    grid->addWidget(lblProductTimeline, 0, 0, 1, 4);

    lstProductAction = new QComboBox;
    lstProductAction->setObjectName("lstProductAction");
    lstProductAction->setEditable(false);
    lstProductAction->addItems({"Email Out", "Call Out", "To Do"});
    txtFrameCreateTimeline_Days = New_Line("txtFrameCreateTimeline_Days");
    txtFrameCreateTimeline_Hours = New_Line("txtFrameCreateTimeline_Hours");
    for (QLineEdit* box : {txtFrameCreateTimeline_Days, txtFrameCreateTimeline_Hours}) {
        box->setMaximumWidth(90);
        box->setToolTip("A whole number from 0 to 32767");
    }
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(New_Caption("&Action", lstProductAction));
    numbers->addWidget(lstProductAction);
    numbers->addSpacing(12);
    numbers->addWidget(New_Caption("Da&ys After Contact", txtFrameCreateTimeline_Days));
    numbers->addWidget(txtFrameCreateTimeline_Days);
    numbers->addSpacing(12);
    numbers->addWidget(New_Caption("H&ours After Contact", txtFrameCreateTimeline_Hours));
    numbers->addWidget(txtFrameCreateTimeline_Hours);
    numbers->addStretch();
    grid->addLayout(numbers, 1, 0, 1, 4);

    txtFrameCreateTimeline_FromName = New_Line("txtFrameCreateTimeline_FromName");
    grid->addWidget(New_Caption("F&rom", txtFrameCreateTimeline_FromName), 2, 0);
    grid->addWidget(txtFrameCreateTimeline_FromName, 2, 1, 1, 2);
    txtFrameCreateTimeline_Subject = New_Line("txtFrameCreateTimeline_Subject");
    grid->addWidget(New_Caption("&Greeting", txtFrameCreateTimeline_Subject), 3, 0);
    grid->addWidget(txtFrameCreateTimeline_Subject, 3, 1, 1, 2);

    txtFrameCreateTimeline_Message = new QTextEdit;
    txtFrameCreateTimeline_Message->setObjectName("txtFrameCreateTimeline_Message");
    txtFrameCreateTimeline_Message->setAcceptRichText(false);
    txtFrameCreateTimeline_Message->setTabChangesFocus(true);
    auto* message_caption = New_Caption("&Message", txtFrameCreateTimeline_Message);
    message_caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(message_caption, 4, 0);
    grid->addWidget(txtFrameCreateTimeline_Message, 4, 1, 1, 2);

    Text15 = new QPlainTextEdit(Placeholder_List);
    Text15->setObjectName("Text15");
    Text15->setReadOnly(true);
    Text15->setFocusPolicy(Qt::NoFocus);
    Text15->setToolTip("Placeholders replaced by the contact's values");
    Text15->setMaximumWidth(Text15->fontMetrics().horizontalAdvance("[Received_Date],") + 40);
    grid->addWidget(Text15, 2, 3, 3, 1);

    Product_Spell_Check = new QPushButton("Spe&ll Check");
    Product_Spell_Check->setObjectName("Product_Spell_Check");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Product_Spell_Check);
    grid->addLayout(buttons, 5, 1, 1, 3);

    // Not for the user to change: which step is shown.
    txtFrameCreateTimeline_Product = New_Line("txtFrameCreateTimeline_Product");
    txtFrameCreateTimeline_EventNumber = New_Line("txtFrameCreateTimeline_EventNumber");
    for (QLineEdit* box : {txtFrameCreateTimeline_Product, txtFrameCreateTimeline_EventNumber}) {
        box->setParent(frameCreateTimelineForProduct);
        box->setReadOnly(true);
        box->hide();
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    connect(txtFrameCreateTimeline_Days, &QLineEdit::textChanged, this, &Workflow_Editor::Step_Value_Changed);
    connect(txtFrameCreateTimeline_Hours, &QLineEdit::textChanged, this, &Workflow_Editor::Step_Value_Changed);
    connect(lstProductAction, &QComboBox::currentIndexChanged, this, &Workflow_Editor::Step_Value_Changed);
    connect(txtFrameCreateTimeline_EventNumber, &QLineEdit::textChanged, this, &Workflow_Editor::Update_Node_Text);
    connect(txtFrameCreateTimeline_FromName, &QLineEdit::textChanged, this, &Workflow_Editor::Step_Text_Changed);
    connect(txtFrameCreateTimeline_Subject, &QLineEdit::textChanged, this, &Workflow_Editor::Step_Text_Changed);
    connect(txtFrameCreateTimeline_Message, &QTextEdit::textChanged, this, &Workflow_Editor::Step_Text_Changed);
    connect(Product_Spell_Check, &QPushButton::clicked, this, &Workflow_Editor::Product_Spell_Check_Click);
}

bool Workflow_Editor::Read_Products(QList<QSqlRecord>& Products)
{
    try {
        Products = Open_Database().Select("SELECT ID, Product FROM Products ORDER BY Product");
    } catch (const std::exception& e) {
        Show_Planning_Error("Product Workflow", e);
        return false;
    }
    return true;
}

void Workflow_Editor::Load()
{
    TreeWorkflow->clear();
    current_key.clear();
    QList<QSqlRecord> products;
    if (!Read_Products(products))
        return;
    for (const QSqlRecord& row : products) {
        const QString product = Db_Text(row, "Product");
        if (product.isEmpty())
            continue;
        QTreeWidgetItem* node = TreeWorkflow->Add_Node(nullptr, "PTB" + product, product, "Factory");
        node->setData(0, Product_ID_Role, row.value("ID"));
    }
    QTreeWidgetItem* first = TreeWorkflow->topLevelItem(0);
    if (!first)
        return;
    current_key = Planning_Tree::Node_Key(first);
    Fill_Product_Node(first);
    first->setExpanded(true);
    if (first->childCount() > 2) {
        QTreeWidgetItem* step = first->child(2);
        current_key = Planning_Tree::Node_Key(step);
        TreeWorkflow->Select_Node(step);
        Show_Workflow_Event(current_key);
    }
}

void Workflow_Editor::Fill_Product_Node(QTreeWidgetItem* Product_Node)
{
    const QString product = Planning_Tree::Key_Data(Planning_Tree::Node_Key(Product_Node));
    TreeWorkflow->Add_Node(Product_Node, "PTD" + product, "Add Workflow Event", "Add");
    TreeWorkflow->Add_Node(Product_Node, "PTE" + product, "Delete Last Workflow Event", "Erase");
    try {
        const QList<QSqlRecord> steps = Open_Database().Select(
            "SELECT EventID, Event_Action, DaysAfterInitialContact, AdditionalHoursToAdd "
            "FROM Events WHERE Product = ? ORDER BY EventID",
            {product});
        for (const QSqlRecord& step : steps) {
            const QString number = Number_Text(step.value("EventID"));
            TreeWorkflow->Add_Node(Product_Node, Step_Key(product, number),
                                   Workflow_Step_Text(number, Db_Text(step, "Event_Action"),
                                                      Number_Text(step.value("DaysAfterInitialContact")),
                                                      Number_Text(step.value("AdditionalHoursToAdd"))),
                                   "Factory");
        }
    } catch (const std::exception& e) {
        Show_Planning_Error("Product Workflow", e);
    }
}

void Workflow_Editor::TreeWorkflow_NodeClick(QTreeWidgetItem* Node)
{
    const QString key = Planning_Tree::Node_Key(Node);
    if (workflow_changed && !Save()) {
        // The step keeps the editor until its values can be stored.
        if (QTreeWidgetItem* shown = TreeWorkflow->Find_Node(shown_key))
            TreeWorkflow->Select_Node(shown);
        return;
    }
    // The save may have found the step gone and emptied the editor; the node clicked still stands.
    Node = TreeWorkflow->Find_Node(key);
    if (!Node)
        return;
    Make_Current(Node, true);

    const QString kind = Planning_Tree::Key_Kind(key);
    const QString product = Planning_Tree::Key_Data(key);
    if (kind == "PTB") {
        if (Node->childCount() == 0)
            Fill_Product_Node(Node);
        if (Node->isExpanded()) {
            Node->setExpanded(false);
            Clear_Editor();
        } else {
            Node->setExpanded(true);
        }
    } else if (kind == "PTD") {
        Add_Workflow_Event(product);
    } else if (kind == "PTE") {
        Delete_Last_Workflow_Event(product);
    } else if (kind == "PTF") {
        Show_Workflow_Event(key);
    }
}

void Workflow_Editor::Add_Workflow_Event(const QString& Product)
{
    QTreeWidgetItem* product_node = TreeWorkflow->Find_Node("PTB" + Product);
    int step = 1;
    try {
        Database db = Open_Database();
        if (db.Select_First("SELECT ID FROM Products WHERE Product = ?", {Product}).isEmpty()) {
            Message_Box("The product " + Product + " is no longer in the catalog.");
            Follow_Catalog();
            return;
        }
        const QVariant highest = db.Scalar("SELECT Max(EventID) FROM Events WHERE Product = ?", {Product});
        if (!Is_Null(highest))
            step = highest.toInt() + 1;
        const QString number = QString::number(step);
        db.Insert("INSERT INTO Events (EventID, Event_Action, DaysAfterInitialContact, AdditionalHoursToAdd, "
                  "Product, Subject, Message, SenderEmail, SenderEmailName) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  {step, QString("Email Out"), 0, 0, Product,
                   "Subject for Message #" + number + " for product name " + Product,
                   "Message number " + number + " for " + Product, Current_Settings().DefaultEmailAddress,
                   Current_Settings().DefaultEmailName});
    } catch (const std::exception& e) {
        Show_Planning_Error("Add Workflow Event", e);
        return;
    }
    Set_Normal_Colours(TreeWorkflow->Find_Node(current_key));
    if (!product_node)
        return;
    const QString number = QString::number(step);
    QTreeWidgetItem* node = TreeWorkflow->Add_Node(
        product_node, Step_Key(Product, number), Workflow_Step_Text(number, "Unk", "Unk", "Unk"), "Factory");
    Make_Current(node, true);
    TreeWorkflow->Select_Node(node);
    Show_Workflow_Event(Planning_Tree::Node_Key(node));
}

void Workflow_Editor::Delete_Last_Workflow_Event(const QString& Product)
{
    QTreeWidgetItem* product_node = TreeWorkflow->Find_Node("PTB" + Product);
    if (!product_node)
        return;
    if (product_node->childCount() == 2) {
        Message_Box("There are no workflow events to delete.");
        return;
    }
    if (Message_Box("DO YOU WANT TO DELETE THE LAST EVENT?", vbYesNo) != vbYes)
        return;
    QString last;
    try {
        Database db = Open_Database();
        const QVariant highest = db.Scalar("SELECT Max(EventID) FROM Events WHERE Product = ?", {Product});
        if (Is_Null(highest))
            return;
        last = Number_Text(highest);
        db.Execute("DELETE FROM Events WHERE Product = ? AND EventID = ?", {Product, highest});
    } catch (const std::exception& e) {
        Show_Planning_Error("Delete Workflow Event", e);
        return;
    }
    Set_Normal_Colours(TreeWorkflow->Find_Node(current_key));
    if (Remove_Workflow_Node("PTB" + Product, 2, Step_Key(Product, last)) == 1)
        Show_Workflow_Event(current_key);
    else
        Clear_Editor();   // no step of the product is left: the editor holds none
    TreeWorkflow->Select_Node(TreeWorkflow->Find_Node(current_key));
}

int Workflow_Editor::Remove_Workflow_Node(const QString& Parent_Key, int Action_Nodes, const QString& Node_Key)
{
    QTreeWidgetItem* parent = TreeWorkflow->Find_Node(Parent_Key);
    QTreeWidgetItem* node = TreeWorkflow->Find_Node(Node_Key);
    int result = 0;
    QTreeWidgetItem* next_current = parent;
    if (parent && node && node->parent() == parent) {
        if (parent->childCount() == Action_Nodes + 1) {
            result = 0;
        } else {
            const int at = parent->indexOfChild(node);
            next_current = at == parent->childCount() - 1 ? parent->child(at - 1) : parent->child(at + 1);
            result = 1;
        }
        delete node;
    }
    Make_Current(next_current, true);
    TreeWorkflow->Select_Node(next_current);
    return result;
}

void Workflow_Editor::Show_Workflow_Event(const QString& Key)
{
    QSqlRecord step;
    try {
        step = Open_Database().Select_First("SELECT * FROM Events WHERE Product = ? AND EventID = ?",
                                            {Get_Key_ID(Key), Get_Key_Tail(Key).toInt()});
    } catch (const std::exception& e) {
        Show_Planning_Error("Show Workflow Event", e);
        return;
    }
    if (step.isEmpty()) {
        Clear_Editor();
        return;
    }
    loading = true;
    txtFrameCreateTimeline_Days->setText(Number_Text(step.value("DaysAfterInitialContact")));
    txtFrameCreateTimeline_Hours->setText(Number_Text(step.value("AdditionalHoursToAdd")));
    txtFrameCreateTimeline_Message->setPlainText(Db_Text(step, "Message"));
    txtFrameCreateTimeline_Subject->setText(Db_Text(step, "Subject"));
    txtFrameCreateTimeline_FromName->setText(Db_Text(step, "SenderEmailName"));
    // An action that is none of the three shows as none chosen; a save then asks for one.
    lstProductAction->setCurrentIndex(lstProductAction->findText(Db_Text(step, "Event_Action")));
    lblProductTimeline->setText("Workflow for " + Db_Text(step, "Product"));
    txtFrameCreateTimeline_Product->setText(Db_Text(step, "Product"));
    shown_key = Key;
    txtFrameCreateTimeline_EventNumber->setText(Number_Text(step.value("EventID")));
    loading = false;
    Update_Node_Text();
    workflow_changed = false;
    frameCreateTimelineForProduct->show();
}

bool Workflow_Editor::Save()
{
    if (shown_key.isEmpty()) {
        workflow_changed = false;
        return true;
    }
    int days = 0;
    int hours = 0;
    const QString days_text = txtFrameCreateTimeline_Days->text();
    const QString hours_text = txtFrameCreateTimeline_Hours->text();
    if (!days_text.trimmed().isEmpty() && !Read_Whole_Number(days_text, 0, Highest_Days_Or_Hours, &days)) {
        Message_Box("Enter the days after contact as a whole number from 0 to 32767.");
        Focus_Refused_Box(txtFrameCreateTimeline_Days);
        return false;
    }
    if (!hours_text.trimmed().isEmpty() && !Read_Whole_Number(hours_text, 0, Highest_Days_Or_Hours, &hours)) {
        Message_Box("Enter the hours after contact as a whole number from 0 to 32767.");
        Focus_Refused_Box(txtFrameCreateTimeline_Hours);
        return false;
    }
    if (lstProductAction->currentIndex() < 0) {
        Message_Box("Choose the action of the step: Email Out, Call Out or To Do.");
        lstProductAction->setFocus(Qt::OtherFocusReason);
        return false;
    }
    const QString product = txtFrameCreateTimeline_Product->text();
    const QString step = txtFrameCreateTimeline_EventNumber->text();
    int stored = 0;
    try {
        stored = Open_Database().Execute(
            "UPDATE Events SET DaysAfterInitialContact = ?, AdditionalHoursToAdd = ?, Message = ?, Subject = ?, "
            "SenderEmailName = ?, Event_Action = ? WHERE Product = ? AND EventID = ?",
            {days, hours, Stored_Lines(txtFrameCreateTimeline_Message->toPlainText()),
             txtFrameCreateTimeline_Subject->text(), txtFrameCreateTimeline_FromName->text(),
             lstProductAction->currentText(), product, step.toInt()});
    } catch (const std::exception& e) {
        Show_Planning_Error("Save Workflow Event", e);
        return false;
    }
    workflow_changed = false;
    if (stored == 0) {
        Message_Box("Workflow event " + step + " of " + product +
                    " is no longer in the database: its changes could not be saved.");
        Clear_Editor();
    }
    return true;
}

void Workflow_Editor::Follow_Catalog()
{
    QList<QSqlRecord> products;
    if (!Read_Products(products))
        return;
    QHash<qint64, QString> names;
    for (const QSqlRecord& row : products) {
        const QString product = Db_Text(row, "Product");
        if (!product.isEmpty())
            names.insert(row.value("ID").toLongLong(), product);
    }
    const QString shown_product = Get_Key_ID(shown_key);
    QSet<qint64> listed;
    for (int at = TreeWorkflow->topLevelItemCount() - 1; at >= 0; --at) {
        QTreeWidgetItem* node = TreeWorkflow->topLevelItem(at);
        const qint64 id = node->data(0, Product_ID_Role).toLongLong();
        const QString old_name = Planning_Tree::Key_Data(Planning_Tree::Node_Key(node));
        const auto found = names.constFind(id);
        if (found != names.constEnd() && *found == old_name) {
            listed.insert(id);
            continue;
        }
        if (!shown_key.isEmpty() && shown_product == old_name)
            Clear_Editor();
        if (found == names.constEnd()) {
            delete node;
            continue;
        }
        // Renamed: its children carried the old name; they come back on the next click.
        listed.insert(id);
        qDeleteAll(node->takeChildren());
        node->setExpanded(false);
        node->setText(0, *found);
        node->setToolTip(0, *found);
        node->setData(0, Qt::UserRole, "PTB" + *found);
    }
    for (const QSqlRecord& row : products) {
        const qint64 id = row.value("ID").toLongLong();
        if (listed.contains(id) || !names.contains(id))
            continue;
        QTreeWidgetItem* node = TreeWorkflow->Add_Node(nullptr, "PTB" + names.value(id), names.value(id),
                                                       "Factory", true);
        node->setData(0, Product_ID_Role, id);
    }
}

void Workflow_Editor::Make_Current(QTreeWidgetItem* Node, bool Highlight)
{
    Reset_Current_Node_Highlight();
    current_key = Planning_Tree::Node_Key(Node);
    if (Node && Highlight) {
        Node->setBackground(0, palette().brush(QPalette::Active, QPalette::Highlight));
        Node->setForeground(0, QBrush(Qt::white));
    }
}

void Workflow_Editor::Set_Normal_Colours(QTreeWidgetItem* Node)
{
    if (!Node)
        return;
    Node->setData(0, Qt::BackgroundRole, QVariant());
    Node->setData(0, Qt::ForegroundRole, QVariant());
}

void Workflow_Editor::Reset_Current_Node_Highlight()
{
    // Safe when the current node is gone: it is looked up by its key.
    Set_Normal_Colours(TreeWorkflow->Find_Node(current_key));
}

void Workflow_Editor::Step_Value_Changed()
{
    if (!loading)
        workflow_changed = true;
    Update_Node_Text();
}

void Workflow_Editor::Step_Text_Changed()
{
    if (!loading)
        workflow_changed = true;
}

void Workflow_Editor::Update_Node_Text()
{
    // The node of the step in the editor, whichever node was clicked last.
    QTreeWidgetItem* node = shown_key.isEmpty() ? nullptr : TreeWorkflow->Find_Node(shown_key);
    if (!node)
        return;
    const QString text = Workflow_Step_Text(txtFrameCreateTimeline_EventNumber->text(),
                                            lstProductAction->currentText(),
                                            txtFrameCreateTimeline_Days->text(),
                                            txtFrameCreateTimeline_Hours->text());
    node->setText(0, text);
    node->setToolTip(0, text);
}

void Workflow_Editor::Clear_Editor()
{
    loading = true;
    shown_key.clear();
    for (QLineEdit* box : {txtFrameCreateTimeline_Days, txtFrameCreateTimeline_Hours,
                           txtFrameCreateTimeline_FromName, txtFrameCreateTimeline_Subject,
                           txtFrameCreateTimeline_Product, txtFrameCreateTimeline_EventNumber})
        box->clear();
    txtFrameCreateTimeline_Message->clear();
    lstProductAction->setCurrentIndex(-1);
    lblProductTimeline->clear();
    loading = false;
    workflow_changed = false;
    frameCreateTimelineForProduct->hide();
}

void Workflow_Editor::Product_Spell_Check_Click()
{
    const QString checked = Spell_Check(txtFrameCreateTimeline_Message->toPlainText());
    // A check that hands back next to nothing leaves the message as it was.
    if (checked.size() > 5)
        txtFrameCreateTimeline_Message->setPlainText(checked);
    txtFrameCreateTimeline_Message->update();
}
