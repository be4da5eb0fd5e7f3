#include "Email_Filter_Editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Field_Rules.h"
#include "List_Rows.h"
#include "Planning_Common.h"
#include "Planning_Tree.h"
#include "Shared_Routines.h"

namespace {

// The labels the editor offers: the label table but its empty last row.
constexpr int Offered_Labels = Email_Field_Label_Count - 1;

QString Field_Key(const QString& kind, const QString& id, const QString& label)
{
    return kind + id + Key_Separator + label;
}

bool Holds_Label(const QStringList& labels, const QString& label)
{
    // The database compares the labels without regard to case.
    return labels.contains(label, Qt::CaseInsensitive);
}

} // namespace

QString Import_Rule_Test_Report(const QList<Email_Field_Rule>& Rules, const QString& Text)
{
    QString report = "Fields from Labels Analyzed: \r\n" + QString(44, '-') + "\r\n\r\n";
    for (const Lead_Field_Value& value : Lead_Field_Values(Rules, Text))
        report += value.Part_Name + " = " + value.Value + "\r\n";
    return report;
}

Email_Filter_Editor::Email_Filter_Editor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frameEmailFilters");
    TreeEmailFilters = new Planning_Tree("TreeEmailFilters");
    Build_Editor();
    Lay_Out_Tree_And_Editor(this, TreeEmailFilters, frameImportEmail);
    connect(TreeEmailFilters, &Planning_Tree::Node_Click, this, &Email_Filter_Editor::TreeEmailFilters_NodeClick);
    frameImportEmail->hide();
}

void Email_Filter_Editor::Build_Editor()
{
    frameImportEmail = new QWidget;
    frameImportEmail->setObjectName("frameImportEmail");
    auto* grid = new QGridLayout(frameImportEmail);
    lblImportEmail_Header = New_Heading("lblImportEmail_Header");
    grid->addWidget(lblImportEmail_Header, 0, 0, 1, 4);

    txtFrameImportEmail_Subject_Line = New_Line("txtFrameImportEmail_Subject_Line");
    grid->addWidget(New_Caption("Subject Search &Key", txtFrameImportEmail_Subject_Line), 1, 0);
    grid->addWidget(txtFrameImportEmail_Subject_Line, 1, 1, 1, 3);
    lstFrameImportEmail_Search_Type = new QComboBox;
    lstFrameImportEmail_Search_Type->setObjectName("lstFrameImportEmail_Search_Type");
    lstFrameImportEmail_Search_Type->addItems({"Line Instance Search", "Label Search"});
    grid->addWidget(New_Caption("Search T&ype", lstFrameImportEmail_Search_Type), 2, 0);
    grid->addWidget(lstFrameImportEmail_Search_Type, 2, 1);
    txtFrameImportEmail_Label = New_Line("txtFrameImportEmail_Label");
    grid->addWidget(New_Caption("&Label", txtFrameImportEmail_Label), 2, 2);
    grid->addWidget(txtFrameImportEmail_Label, 2, 3);
    txtFrameImportEmail_End_Label = New_Line("txtFrameImportEmail_End_Label");
    txtFrameImportEmail_End_Label->setToolTip(
        "Label Search: the text that ends the value (empty: the end of the line). "
        "Line Instance Search: which non-empty line after the label's line (1, 2, ...).");
    grid->addWidget(New_Caption("E&nd Delimiter", txtFrameImportEmail_End_Label), 3, 0);
    grid->addWidget(txtFrameImportEmail_End_Label, 3, 1);
    txtFrameImportEmail_Begin_At_Section = New_Line("txtFrameImportEmail_Begin_At_Section");
    txtFrameImportEmail_Begin_At_Section->setToolTip("When not empty, the label is sought only after this text.");
    grid->addWidget(New_Caption("Section &Begin", txtFrameImportEmail_Begin_At_Section), 3, 2);
    grid->addWidget(txtFrameImportEmail_Begin_At_Section, 3, 3);

    txtFrameImportEmail_Test_Pattern = new QPlainTextEdit;
    txtFrameImportEmail_Test_Pattern->setObjectName("txtFrameImportEmail_Test_Pattern");
    txtFrameImportEmail_Test_Pattern->setTabChangesFocus(true);
    txtFrameImportEmail_Test_Pattern->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtFrameImportEmail_Result = new QPlainTextEdit;
    txtFrameImportEmail_Result->setObjectName("txtFrameImportEmail_Result");
    txtFrameImportEmail_Result->setReadOnly(true);
    txtFrameImportEmail_Result->setTabChangesFocus(true);
    txtFrameImportEmail_Result->setLineWrapMode(QPlainTextEdit::NoWrap);
    grid->addWidget(New_Caption("Test P&attern", txtFrameImportEmail_Test_Pattern), 4, 0, 1, 2);
    grid->addWidget(New_Caption("Test &Result", txtFrameImportEmail_Result), 4, 2, 1, 2);
    grid->addWidget(txtFrameImportEmail_Test_Pattern, 5, 0, 1, 2);
    grid->addWidget(txtFrameImportEmail_Result, 5, 2, 1, 2);
    Test_Import_Email_Rules = new QPushButton("T&est");
    Test_Import_Email_Rules->setObjectName("Test_Import_Email_Rules");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Test_Import_Email_Rules);
    grid->addLayout(buttons, 6, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(5, 1);

    // Which filter and rule are shown.
    txtFrameImportEmail_SiteID = New_Line("txtFrameImportEmail_SiteID");
    txtFrameImportEmail_LabelID = New_Line("txtFrameImportEmail_LabelID");
    for (QLineEdit* box : {txtFrameImportEmail_SiteID, txtFrameImportEmail_LabelID}) {
        box->setParent(frameImportEmail);
        box->hide();
    }

    for (QLineEdit* box : {txtFrameImportEmail_Subject_Line, txtFrameImportEmail_Label,
                           txtFrameImportEmail_End_Label, txtFrameImportEmail_Begin_At_Section})
        connect(box, &QLineEdit::textChanged, this, &Email_Filter_Editor::Rule_Edited);
    connect(txtFrameImportEmail_Test_Pattern, &QPlainTextEdit::textChanged, this, &Email_Filter_Editor::Rule_Edited);
    // Choosing a search type alone is an edit of the rule too.
    connect(lstFrameImportEmail_Search_Type, &QComboBox::currentIndexChanged, this,
            &Email_Filter_Editor::Rule_Edited);
    connect(Test_Import_Email_Rules, &QPushButton::clicked, this, &Email_Filter_Editor::Test_Import_Email_Rules_Click);
}

void Email_Filter_Editor::Load()
{
    TreeEmailFilters->clear();
    current_key.clear();
    TreeEmailFilters->Add_Node(nullptr, "IEM", "E-Mail Contact Import Filters", "InMail");
}

void Email_Filter_Editor::Rule_Edited()
{
    if (!loading)
        filter_changed = true;
}

void Email_Filter_Editor::TreeEmailFilters_NodeClick(QTreeWidgetItem* Node)
{
    const QString key = Planning_Tree::Node_Key(Node);
    if (filter_changed && !Save())
        return;
    Node = TreeEmailFilters->Find_Node(key);
    if (!Node)
        return;
    const QString kind = Planning_Tree::Key_Kind(key);
    const QString data = Planning_Tree::Key_Data(key);
    const QString id = Get_Key_ID(key).isEmpty() ? data : Get_Key_ID(key);
    if (kind == "IEM") {
        if (Node->childCount() == 0)
            Open_Root(Node);
    } else if (kind == "ISC") {
        if (Node->childCount() == 0)
            Open_Filter(Node);
        Planning_Tree::Toggle(Node);
    } else if (kind == "ISD") {
        Delete_Filter(data);
    } else if (kind == "ISF" || kind == "ISG") {
        if (Node->childCount() == 0) {
            if (kind == "ISF")
                Show_Import_Source_Fields_Setup(data);
            else
                Show_Import_Source_Fields_Not_Setup(data);
        }
        Planning_Tree::Toggle(Node);
    } else if (kind == "ISH") {
        if (Node->childCount() == 0) {
            TreeEmailFilters->Add_Node(Node, Field_Key("ISL", id, Get_Key_Tail(key)), "Remove", "Remove");
            Node->setExpanded(false);
        }
        Show_Import_Email_Field(key);
        Planning_Tree::Toggle(Node);
    } else if (kind == "ISK") {
        if (Node->childCount() == 0)
            TreeEmailFilters->Add_Node(Node, Field_Key("ISR", id, Get_Key_Tail(key)), "Add to Fields to Analyze",
                                       "Add");
        Planning_Tree::Toggle(Node);
    } else if (kind == "ISL") {
        Remove_Rule(id, Node);
    } else if (kind == "ISN") {
        Create_Filter();
    } else if (kind == "ISR") {
        Add_Rule(id, Get_Key_Tail(key), Node);
    }
}

void Email_Filter_Editor::Open_Root(QTreeWidgetItem* Root)
{
    TreeEmailFilters->Add_Node(Root, "ISN", "*** Create a new E-Mail Import Source", "Add", true);
    try {
        const QList<QSqlRecord> filters =
            Open_Database().Select("SELECT ID, Name_Of_Site FROM EmailContactImports ORDER BY ID");
        for (const QSqlRecord& row : filters)
            TreeEmailFilters->Add_Node(Root, "ISC" + Db_Text(row, "ID"), Db_Text(row, "Name_Of_Site"), "InMail", true);
    } catch (const std::exception& e) {
        Show_Planning_Error("Email Import Filters", e);
    }
    Root->setExpanded(true);
}

void Email_Filter_Editor::Open_Filter(QTreeWidgetItem* Filter)
{
    const QString id = Planning_Tree::Key_Data(Planning_Tree::Node_Key(Filter));
    TreeEmailFilters->Add_Node(Filter, "ISD" + id, "*** Delete this Import Source", "Erase");
    TreeEmailFilters->Add_Node(Filter, "ISF" + id, "Import Source Fields - Already Setup", "FieldNote");
    TreeEmailFilters->Add_Node(Filter, "ISG" + id, "Import Source Fields - Not Setup", "FieldsNotSetup");
}

bool Email_Filter_Editor::Read_Rule_Labels(const QString& ID, QStringList& Labels)
{
    try {
        for (const QSqlRecord& row : Open_Database().Select(
                 "SELECT Event_Field FROM EmailImportFieldsInfo WHERE Email_Import_ID = ?", {ID.toLongLong()}))
            Labels << Db_Text(row, "Event_Field");
    } catch (const std::exception& e) {
        Show_Planning_Error("Email Import Filters", e);
        return false;
    }
    return true;
}

void Email_Filter_Editor::Show_Import_Source_Fields_Setup(const QString& ID)
{
    Init_Email_Field_Names();
    QStringList labels;
    if (!Read_Rule_Labels(ID, labels))
        return;
    if (labels.isEmpty()) {
        Message_Box("There are no fields setup for this source.");
        return;
    }
    QTreeWidgetItem* group = TreeEmailFilters->Find_Node("ISF" + ID);
    for (int i = 0; i < Offered_Labels && group; ++i) {
        const QString label = Email_Field_Label_Table[i].Label;
        if (Holds_Label(labels, label))
            TreeEmailFilters->Add_Node(group, Field_Key("ISH", ID, label), label, "FieldNote", true);
    }
}

void Email_Filter_Editor::Show_Import_Source_Fields_Not_Setup(const QString& ID)
{
    Init_Email_Field_Names();
    QStringList labels;
    if (!Read_Rule_Labels(ID, labels))
        return;
    QTreeWidgetItem* group = TreeEmailFilters->Find_Node("ISG" + ID);
    for (int i = 0; i < Offered_Labels && group; ++i) {
        const QString label = Email_Field_Label_Table[i].Label;
        if (!Holds_Label(labels, label))
            TreeEmailFilters->Add_Node(group, Field_Key("ISK", ID, label), label, "FieldsNotSetup", true);
    }
}

void Email_Filter_Editor::Delete_Filter(const QString& ID)
{
    QTreeWidgetItem* filter = TreeEmailFilters->Find_Node("ISC" + ID);
    const QString name = filter ? filter->text(0) : QString();
    if (Message_Box("DO YOU WANT TO DELETE SOURCE: " + name, vbOKCancel) != vbOK)
        return;
    try {
        Database db = Open_Database();
        // The rules and their filter go together, or neither does.
        Database_Transaction transaction(db);
        db.Execute("DELETE FROM EmailImportFieldsInfo WHERE Email_Import_ID = ?", {ID.toLongLong()});
        db.Execute("DELETE FROM EmailContactImports WHERE ID = ?", {ID.toLongLong()});
        transaction.Commit();
    } catch (const std::exception& e) {
        Show_Planning_Error("Delete Email Import Filter", e);
        return;
    }
    TreeEmailFilters->Remove_Node("ISC" + ID);
    Hide_Editor();
}

void Email_Filter_Editor::Create_Filter()
{
    const QString name = Input_Box("Enter the name of the new Email Import Site.", "New Site Email Filtering Addition");
    if (name.isEmpty())
        return;
    qint64 id = 0;
    try {
        Database db = Open_Database();
        if (!db.Select_First("SELECT ID FROM EmailContactImports WHERE Name_Of_Site = ?", {name}).isEmpty()) {
            Message_Box("An E-mail import site with that name already exists!");
            return;
        }
        id = db.Insert("INSERT INTO EmailContactImports (Name_Of_Site, Search_String_On_Subject_Line) VALUES (?, ?)",
                       {name, QString("")});
    } catch (const std::exception& e) {
        Show_Planning_Error("New Email Import Filter", e);
        return;
    }
    TreeEmailFilters->Add_Node(TreeEmailFilters->Find_Node("IEM"), "ISC" + QString::number(id), name, "InMail", true);
}

void Email_Filter_Editor::Add_Rule(const QString& ID, const QString& Label, QTreeWidgetItem* Action)
{
    try {
        Open_Database().Insert("INSERT INTO EmailImportFieldsInfo (Email_Import_ID, Event_Field) VALUES (?, ?)",
                               {ID.toLongLong(), Label});
    } catch (const std::exception& e) {
        Show_Planning_Error("Add Email Import Field", e);
        return;
    }
    const QString field_key = Field_Key("ISH", ID, Label);
    QTreeWidgetItem* group = TreeEmailFilters->Find_Node("ISF" + ID);
    if (group && group->childCount() == 0)
        Show_Import_Source_Fields_Setup(ID);
    else if (group && !TreeEmailFilters->Find_Node(field_key))
        TreeEmailFilters->Add_Node(group, field_key, Label, "FieldNote", true);
    QTreeWidgetItem* field = TreeEmailFilters->Find_Node(field_key);
    Make_Current(field);
    Show_Import_Email_Field(field_key);
    if (field) {
        field->setExpanded(true);
        TreeEmailFilters->Select_Node(field);
    }
    // The label leaves the group of fields without a rule.
    delete Action->parent();
}

void Email_Filter_Editor::Remove_Rule(const QString& ID, QTreeWidgetItem* Action)
{
    QTreeWidgetItem* field = Action->parent();
    if (!field)
        return;
    const QString label = field->text(0);
    if (Message_Box("DO YOU WANT TO REMOVE FIELD: " + label + " ?", vbOKCancel, "Removing E-mail Filter Field") != vbOK)
        return;
    try {
        Open_Database().Execute("DELETE FROM EmailImportFieldsInfo WHERE Email_Import_ID = ? AND Event_Field = ?",
                                {ID.toLongLong(), label});
    } catch (const std::exception& e) {
        Show_Planning_Error("Remove Email Import Field", e);
        return;
    }
    QTreeWidgetItem* not_set_up = TreeEmailFilters->Find_Node("ISG" + ID);
    if (not_set_up && not_set_up->childCount() == 0)
        Show_Import_Source_Fields_Not_Setup(ID);
    else if (not_set_up && !TreeEmailFilters->Find_Node(Field_Key("ISK", ID, label)))
        TreeEmailFilters->Add_Node(not_set_up, Field_Key("ISK", ID, label), label, "FieldsNotSetup", true);
    if (Remove_Email_Filter_Node("ISF" + ID, 0, Field_Key("ISH", ID, label)) == 1)
        Show_Import_Email_Field(current_key);
    else
        Hide_Editor();   // no rule of the filter is left to show
}

int Email_Filter_Editor::Remove_Email_Filter_Node(const QString& Parent_Key, int Action_Nodes, const QString& Node_Key)
{
    QTreeWidgetItem* parent = TreeEmailFilters->Find_Node(Parent_Key);
    QTreeWidgetItem* node = TreeEmailFilters->Find_Node(Node_Key);
    int result = 0;
    QTreeWidgetItem* next_current = parent;
    if (parent && node && node->parent() == parent) {
        if (parent->childCount() != Action_Nodes + 1) {
            const int at = parent->indexOfChild(node);
            next_current = at == parent->childCount() - 1 ? parent->child(at - 1) : parent->child(at + 1);
            result = 1;
        }
        delete node;
    }
    Make_Current(next_current);
    TreeEmailFilters->Select_Node(next_current);
    return result;
}

void Email_Filter_Editor::Make_Current(QTreeWidgetItem* Node)
{
    current_key = Planning_Tree::Node_Key(Node);
}

void Email_Filter_Editor::Show_Import_Email_Field(const QString& Key)
{
    QSqlRecord row;
    try {
        row = Open_Database().Select_First(
            "SELECT EmailContactImports.Name_Of_Site, EmailContactImports.Search_String_On_Subject_Line, "
            "EmailContactImports.Test_Pattern, EmailImportFieldsInfo.ID, EmailImportFieldsInfo.Email_Import_ID, "
            "EmailImportFieldsInfo.Event_Field, EmailImportFieldsInfo.Import_Type, EmailImportFieldsInfo.Label, "
            "EmailImportFieldsInfo.After_Label, EmailImportFieldsInfo.End_Label "
            "FROM EmailContactImports INNER JOIN EmailImportFieldsInfo "
            "ON EmailContactImports.ID = EmailImportFieldsInfo.Email_Import_ID "
            "WHERE EmailContactImports.ID = ? AND EmailImportFieldsInfo.Event_Field = ? "
            "ORDER BY EmailImportFieldsInfo.ID",
            {Get_Key_ID(Key).toLongLong(), Get_Key_Tail(Key)});
    } catch (const std::exception& e) {
        Show_Planning_Error("Show Email Import Field", e);
        return;
    }
    if (row.isEmpty()) {
        Hide_Editor();
        return;
    }
    loading = true;
    lstFrameImportEmail_Search_Type->setCurrentIndex(
        lstFrameImportEmail_Search_Type->findText(Db_Text(row, "Import_Type")));
    txtFrameImportEmail_Label->setText(Db_Text(row, "Label"));
    txtFrameImportEmail_End_Label->setText(Db_Text(row, "End_Label"));
    txtFrameImportEmail_Begin_At_Section->setText(Db_Text(row, "After_Label"));
    txtFrameImportEmail_Test_Pattern->setPlainText(Db_Text(row, "Test_Pattern"));
    txtFrameImportEmail_Subject_Line->setText(Db_Text(row, "Search_String_On_Subject_Line"));
    txtFrameImportEmail_LabelID->setText(Db_Text(row, "ID"));
    txtFrameImportEmail_SiteID->setText(Db_Text(row, "Email_Import_ID"));
    lblImportEmail_Header->setText("Import Field: " + Db_Text(row, "Event_Field"));
    loading = false;
    filter_changed = false;
    frameImportEmail->show();
}

bool Email_Filter_Editor::Save()
{
    const QString site = txtFrameImportEmail_SiteID->text();
    const QString rule = txtFrameImportEmail_LabelID->text();
    if (site.isEmpty() || rule.isEmpty()) {
        filter_changed = false;
        return true;
    }
    int stored = 0;
    try {
        Database db = Open_Database();
        Database_Transaction transaction(db);
        db.Execute("UPDATE EmailContactImports SET Test_Pattern = ?, Search_String_On_Subject_Line = ? WHERE ID = ?",
                   {Stored_Lines(txtFrameImportEmail_Test_Pattern->toPlainText()),
                    txtFrameImportEmail_Subject_Line->text(), site.toLongLong()});
        stored = db.Execute("UPDATE EmailImportFieldsInfo SET Import_Type = ?, Label = ?, After_Label = ?, "
                            "End_Label = ? WHERE ID = ? AND Email_Import_ID = ?",
                            {lstFrameImportEmail_Search_Type->currentText(), txtFrameImportEmail_Label->text(),
                             txtFrameImportEmail_Begin_At_Section->text(), txtFrameImportEmail_End_Label->text(),
                             rule.toLongLong(), site.toLongLong()});
        transaction.Commit();
    } catch (const std::exception& e) {
        Show_Planning_Error("Save Email Import Field", e);
        return false;
    }
    filter_changed = false;
    if (stored == 0) {
        Message_Box("This import field is no longer in the database: its changes could not be saved.");
        Hide_Editor();
    }
    return true;
}

void Email_Filter_Editor::Test_Import_Email_Rules_Click()
{
    if (filter_changed && !Save())
        return;
    const QString site = txtFrameImportEmail_SiteID->text();
    if (site.isEmpty())
        return;
    QList<Email_Field_Rule> rules;
    try {
        for (const QSqlRecord& row : Open_Database().Select(
                 "SELECT Event_Field, Import_Type, Label, After_Label, End_Label FROM EmailImportFieldsInfo "
                 "WHERE Email_Import_ID = ? ORDER BY Event_Field, ID",
                 {site.toLongLong()}))
            rules << Email_Field_Rule{Db_Text(row, "Event_Field"), Db_Text(row, "Import_Type"), row.value("Label"),
                                      row.value("After_Label"), row.value("End_Label")};
    } catch (const std::exception& e) {
        Show_Planning_Error("Test Email Import Rules", e);
        return;
    }
    txtFrameImportEmail_Result->setPlainText(
        Import_Rule_Test_Report(rules, Stored_Lines(txtFrameImportEmail_Test_Pattern->toPlainText())));
}

void Email_Filter_Editor::Hide_Editor()
{
    loading = true;
    for (QLineEdit* box : {txtFrameImportEmail_Subject_Line, txtFrameImportEmail_Label, txtFrameImportEmail_End_Label,
                           txtFrameImportEmail_Begin_At_Section, txtFrameImportEmail_SiteID,
                           txtFrameImportEmail_LabelID})
        box->clear();
    txtFrameImportEmail_Test_Pattern->clear();
    txtFrameImportEmail_Result->clear();
    lstFrameImportEmail_Search_Type->setCurrentIndex(-1);
    lblImportEmail_Header->clear();
    loading = false;
    filter_changed = false;
    frameImportEmail->hide();
}
