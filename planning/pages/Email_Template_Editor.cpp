#include "Email_Template_Editor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Planning_Common.h"
#include "Planning_Tree.h"
#include "Spell_Check.h"

namespace {

const char* const Birthday_Template = "Birthday";

const char* const Placeholder_Help =
    "Contact details that will be automatically replaced by their respective values in the message:\n"
    "[Firstname], [Lastname], [Address], [City], [State], [Zip], [Company], [Product], [Referrer], \n"
    "[Homephone], [Workphone], [Received_Date], [Email], [Today-Short], [Today-Long], [Options]";

} // namespace

Email_Template_Editor::Email_Template_Editor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frameTemplates");
    TreeEmailTemplate = new Planning_Tree("TreeEmailTemplate");
    TreeEmailTemplate->setRootIsDecorated(true);
    Add_Email_Template = new QPushButton("&Add Template");
    Add_Email_Template->setObjectName("Add_Email_Template");
    auto* tree_side = new QWidget;
    auto* tree_layout = new QVBoxLayout(tree_side);
    tree_layout->setContentsMargins(0, 0, 0, 0);
    tree_layout->addWidget(TreeEmailTemplate);
    tree_layout->addWidget(Add_Email_Template);

    frameEmailTemplateEditing = new QGroupBox("Email Template Editing");
    frameEmailTemplateEditing->setObjectName("frameEmailTemplateEditing");
    auto* grid = new QGridLayout(frameEmailTemplateEditing);
    lblEmailTemplateName = New_Heading("lblEmailTemplateName");
    grid->addWidget(lblEmailTemplateName, 0, 0, 1, 2);
    txtFrameEmailTemplateSubject = New_Line("txtFrameEmailTemplateSubject");
    grid->addWidget(New_Caption("S&ubject", txtFrameEmailTemplateSubject), 1, 0);
    grid->addWidget(txtFrameEmailTemplateSubject, 1, 1);
    txtFrameEmailTemplateMessage = new QTextEdit;
    txtFrameEmailTemplateMessage->setObjectName("txtFrameEmailTemplateMessage");
    txtFrameEmailTemplateMessage->setAcceptRichText(false);
    txtFrameEmailTemplateMessage->setTabChangesFocus(true);
    auto* message_caption = New_Caption("&Message", txtFrameEmailTemplateMessage);
    message_caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(message_caption, 2, 0);
    grid->addWidget(txtFrameEmailTemplateMessage, 2, 1);
    auto* help = new QLabel(Placeholder_Help);
    help->setWordWrap(true);
    help->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(help, 3, 1);
    Save_Email_Template = new QPushButton("Sa&ve");
    Save_Email_Template->setObjectName("Save_Email_Template");
    Spell_Check_Email_Template_Message = new QPushButton("Spe&ll Check");
    Spell_Check_Email_Template_Message->setObjectName("Spell_Check_Email_Template_Message");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Spell_Check_Email_Template_Message);
    buttons->addWidget(Save_Email_Template);
    grid->addLayout(buttons, 4, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);
    txtFrameTemplateID_Number = new QLineEdit(frameEmailTemplateEditing);
    txtFrameTemplateID_Number->setObjectName("txtFrameTemplateID_Number");
    txtFrameTemplateID_Number->hide();

    Lay_Out_Tree_And_Editor(this, tree_side, frameEmailTemplateEditing);
    frameEmailTemplateEditing->hide();

    connect(TreeEmailTemplate, &Planning_Tree::Node_Click, this, &Email_Template_Editor::TreeEmailTemplate_NodeClick);
    connect(Add_Email_Template, &QPushButton::clicked, this, &Email_Template_Editor::Add_Email_Template_Click);
    connect(Save_Email_Template, &QPushButton::clicked, this, [this] { Save(); });
    connect(Spell_Check_Email_Template_Message, &QPushButton::clicked, this,
            &Email_Template_Editor::Spell_Check_Email_Template_Message_Click);
    // Showing a template counts as a change too, so Save right after it writes the shown values.
    connect(txtFrameEmailTemplateSubject, &QLineEdit::textChanged, this, [this] { changed = true; });
    connect(txtFrameEmailTemplateMessage, &QTextEdit::textChanged, this, [this] { changed = true; });
}

void Email_Template_Editor::Load()
{
    TreeEmailTemplate->clear();
    try {
        const QList<QSqlRecord> templates =
            Open_Database().Select("SELECT FormatID FROM emailformats ORDER BY FormatID");
        for (const QSqlRecord& row : templates)
            Add_Template_Nodes(Db_Text(row, "FormatID"));
    } catch (const std::exception& e) {
        Show_Planning_Error("Email Templates", e);
    }
}

void Email_Template_Editor::Add_Template_Nodes(const QString& Name)
{
    if (TreeEmailTemplate->Find_Node("TPL" + Name))
        return;   // listed already (its row was stored again)
    QTreeWidgetItem* node = TreeEmailTemplate->Add_Node(nullptr, "TPL" + Name, Name, "Mail");
    // The birthday run needs its template: it has no delete node.
    if (Name != Birthday_Template)
        TreeEmailTemplate->Add_Node(node, "TPD" + Name, "Delete Template: " + Name, "DeleteCross");
}

void Email_Template_Editor::Add_Email_Template_Click()
{
    const QString name = Input_Box("Enter the name of the new Email Template.", "Email template entry.");
    if (name.isEmpty())
        return;
    try {
        Database db = Open_Database();
        if (!db.Select_First("SELECT ID FROM emailformats WHERE FormatID = ?", {name}).isEmpty()) {
            Message_Box("The Template: " + name + " already exists. Please enter another name.");
            return;
        }
        db.Insert("INSERT INTO emailformats (FormatID, EmailSubject, EmailMessage) VALUES (?, ?, ?)",
                  {name, QString(""), QString("")});
    } catch (const std::exception& e) {
        Show_Planning_Error("Add Email Template", e);
        return;
    }
    Add_Template_Nodes(name);
    TreeEmailTemplate->Select_Node(TreeEmailTemplate->Find_Node("TPL" + name));
    Show_Email_Template(name);
}

void Email_Template_Editor::Show_Email_Template(const QString& Name)
{
    QSqlRecord row;
    try {
        row = Open_Database().Select_First("SELECT * FROM emailformats WHERE FormatID = ?", {Name});
    } catch (const std::exception& e) {
        Show_Planning_Error("Show Email Template", e);
        return;
    }
    if (row.isEmpty()) {
        Message_Box("The Template: " + Name + " is no longer in the database.");
        return;
    }
    txtFrameEmailTemplateSubject->setText(Db_Text(row, "EmailSubject"));
    txtFrameEmailTemplateMessage->setPlainText(Db_Text(row, "EmailMessage"));
    txtFrameTemplateID_Number->setText(Db_Text(row, "ID"));
    lblEmailTemplateName->setText(Db_Text(row, "FormatID"));
    frameEmailTemplateEditing->show();
}

void Email_Template_Editor::TreeEmailTemplate_NodeClick(QTreeWidgetItem* Node)
{
    const QString key = Planning_Tree::Node_Key(Node);
    const QString kind = Planning_Tree::Key_Kind(key);
    const QString name = Planning_Tree::Key_Data(key);
    if (kind == "TPD") {
        if (Message_Box("DELETE E-MAIL TEMPLATE: " + name, vbOKCancel) != vbOK)
            return;
        try {
            Open_Database().Execute("DELETE FROM emailformats WHERE FormatID = ?", {name});
        } catch (const std::exception& e) {
            Show_Planning_Error("Delete Email Template", e);
            return;
        }
        TreeEmailTemplate->Remove_Node("TPL" + name);
        frameEmailTemplateEditing->hide();
    } else if (kind == "TPL") {
        Show_Email_Template(name);
    }
}

bool Email_Template_Editor::Save()
{
    if (!changed)
        return true;
    const QString subject = txtFrameEmailTemplateSubject->text();
    const QString message = Stored_Lines(txtFrameEmailTemplateMessage->toPlainText());
    try {
        Database db = Open_Database();
        const int stored = db.Execute("UPDATE emailformats SET EmailSubject = ?, EmailMessage = ? WHERE ID = ?",
                                      {subject, message, txtFrameTemplateID_Number->text().toLongLong()});
        if (stored == 0) {
            // Deleted meanwhile: stored again under its name.
            const qint64 id = db.Insert("INSERT INTO emailformats (FormatID, EmailSubject, EmailMessage) "
                                        "VALUES (?, ?, ?)",
                                        {lblEmailTemplateName->text(), subject, message});
            txtFrameTemplateID_Number->setText(QString::number(id));
            Add_Template_Nodes(lblEmailTemplateName->text());
        }
    } catch (const std::exception& e) {
        Show_Planning_Error("Save Email Template", e);
        return false;
    }
    changed = false;
    return true;
}

void Email_Template_Editor::Spell_Check_Email_Template_Message_Click()
{
    txtFrameEmailTemplateMessage->setPlainText(Spell_Check(txtFrameEmailTemplateMessage->toPlainText()));
    txtFrameEmailTemplateMessage->update();
}
