#include "File_Import_Source_Editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Import_Source.h"
#include "Planning_Common.h"
#include "Planning_Tree.h"
#include "Shared_Routines.h"

namespace {

// Column numbers of a lead file line: the import reads at most 40 fields.
constexpr int Highest_Position = 40;

struct Position_Field {
    const char* field;
    const char* caption;
    int column;   // of the editor: 0 the first, 1 the second
};

const Position_Field Position_Fields[] = {
    {"Firstname_Position", "Firstname", 0},         {"MiddleInitial_Position", "Middle Initial", 0},
    {"Lastname_Position", "Lastname", 0},           {"Company_Position", "Company", 0},
    {"Address_Position", "Address", 0},             {"City_Position", "City", 0},
    {"State_Position", "State", 0},                 {"Zip_Position", "Zip Code", 0},
    {"Homephone_Position", "Homephone", 0},         {"Workphone_Position", "Work Phone", 0},
    {"Cellphone_Position", "Cell Phone", 0},        {"Email_Position", "E-Mail", 0},
    {"Bdate_Position", "Birth Date", 0},            {"Title_Position", "Title", 1},
    {"Relationship_Position", "Relationship", 1},   {"Time_To_Contact_Position", "Time to Contact", 1},
    {"Product_Position", "Product", 1},             {"Options_Position", "Product Details", 1},
    {"Referred_By_Position", "Referred By", 1},
};

QString Box_Name(const QString& field)
{
    return "txtFileImport_" + QString(field).remove("_Position");
}

QComboBox* New_List(const QString& name, const QStringList& entries)
{
    auto* list = new QComboBox;
    list->setObjectName(name);
    // The user may also type a value of his own; it is stored as typed.
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(entries);
    return list;
}

} // namespace

bool Read_First_Line(const QString& Path, QString* Line, QString* Error)
{
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly)) {
        *Error = file.errorString();
        return false;
    }
    // Only as much of the file as its first line needs.
    QByteArray bytes;
    qsizetype end = -1;
    while (end < 0 && !file.atEnd()) {
        const qsizetype searched = bytes.size();
        bytes += file.read(4096);
        for (qsizetype at = searched; at < bytes.size() && end < 0; ++at)
            if (bytes.at(at) == '\r' || bytes.at(at) == '\n')
                end = at;
    }
    if (end >= 0)
        bytes.truncate(end);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    // UTF-8, else the Western Windows code page, as the import reads the file.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *Line = utf8(bytes);
    if (utf8.hasError())
        *Line = QStringDecoder("windows-1252")(bytes);
    return true;
}

File_Import_Source_Editor::File_Import_Source_Editor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frameImportSources");
    TreeImportSources = new Planning_Tree("TreeImportSources");
    Add_Import_Source = new QPushButton("&Add Import Source");
    Add_Import_Source->setObjectName("Add_Import_Source");
    auto* tree_side = new QWidget;
    auto* tree_layout = new QVBoxLayout(tree_side);
    tree_layout->setContentsMargins(0, 0, 0, 0);
    tree_layout->addWidget(TreeImportSources);
    tree_layout->addWidget(Add_Import_Source);
    Build_Editor();
    Lay_Out_Tree_And_Editor(this, tree_side, frameFileImport);
    Hide_Editor();

    connect(TreeImportSources, &Planning_Tree::Node_Click, this, &File_Import_Source_Editor::TreeImportSources_NodeClick);
    connect(Add_Import_Source, &QPushButton::clicked, this, &File_Import_Source_Editor::Add_Import_Source_Click);
}

void File_Import_Source_Editor::Build_Editor()
{
    frameFileImport = new QWidget;
    frameFileImport->setObjectName("frameFileImport");
    auto* layout = new QVBoxLayout(frameFileImport);
    lblFrameImportHeading = New_Heading("lblFrameImportHeading");
    layout->addWidget(lblFrameImportHeading);

    auto* path_box = new QGroupBox("File Import Path");
    auto* path_grid = new QGridLayout(path_box);
    txtFileImport_Path_For_File = New_Line("txtFileImport_Path_For_File");
    Find_Import_File = new QPushButton("&Browse...");
    Find_Import_File->setObjectName("Find_Import_File");
    Display_First_LIne = new QPushButton("Display 1st Li&ne");
    Display_First_LIne->setObjectName("Display_First_LIne");
    txtFileImport_Firstline = New_Line("txtFileImport_Firstline");
    txtFileImport_Firstline->setReadOnly(true);
    path_grid->addWidget(txtFileImport_Path_For_File, 0, 0);
    path_grid->addWidget(Find_Import_File, 0, 1);
    path_grid->addWidget(txtFileImport_Firstline, 1, 0);
    path_grid->addWidget(Display_First_LIne, 1, 1);
    layout->addWidget(path_box);

    auto* columns = new QHBoxLayout;
    auto* position_box = new QGroupBox("Field Position in Record");
    auto* position_grid = new QGridLayout(position_box);
    position_grid->setVerticalSpacing(2);
    int rows[2] = {0, 0};
    for (const Position_Field& field : Position_Fields) {
        QLineEdit* box = New_Line(Box_Name(field.field));
        box->setMaximumWidth(box->fontMetrics().horizontalAdvance("0000") + 16);
        box->setToolTip("The number of the field in a line (1 the first), 0 for none; at most 40");
        const int column = field.column * 2;
        position_grid->addWidget(new QLabel(field.caption), rows[field.column], column);
        position_grid->addWidget(box, rows[field.column]++, column + 1);
        positions << Position_Box{field.field, field.caption, box};
        connect(box, &QLineEdit::textChanged, this, [this, box] { Check_Position(box); });
    }
    position_grid->setColumnMinimumWidth(2, 12);
    position_grid->setRowStretch(rows[0], 1);
    columns->addWidget(position_box);

    auto* source_box = new QGroupBox;
    auto* source_grid = new QGridLayout(source_box);
    chkAutoImport = new QCheckBox("Auto &Import");
    chkAutoImport->setObjectName("chkAutoImport");
    chkDel_When_Imported = new QCheckBox("Auto De&lete");
    chkDel_When_Imported->setObjectName("chkDel_When_Imported");
    chkDel_When_Imported->setToolTip("Delete the lead file once it is imported (on an FTP server: once downloaded)");
    lstType_Of_Source = New_List("lstType_Of_Source", {"Local File", "FTP"});
    lstField_Delimiter = New_List("lstField_Delimiter", {"Comma", "Tab"});
    lstFrom_System = New_List("lstFrom_System", {"MS-Windows", "Linux", "Unix", "Other"});
    txtFileImport_Domain_Name = New_Line("txtFileImport_Domain_Name");
    txtFileImport_Username = New_Line("txtFileImport_Username");
    txtFileImport_Password = New_Line("txtFileImport_Password");
    txtFileImport_Password->setEchoMode(QLineEdit::Password);
    txtFileImport_Password->setStyleSheet("lineedit-password-character: 42;");
    source_grid->addWidget(chkAutoImport, 0, 0, 1, 2);
    source_grid->addWidget(chkDel_When_Imported, 1, 0, 1, 2);
    const QList<QPair<QString, QWidget*>> captioned = {
        {"T&ype of Import", lstType_Of_Source}, {"Deli&miter", lstField_Delimiter}, {"Syst&em", lstFrom_System},
        {"D&omain", txtFileImport_Domain_Name}, {"&Username", txtFileImport_Username},
        {"Pass&word", txtFileImport_Password}};
    int row = 2;
    for (const auto& [caption, box] : captioned) {
        QLabel* label = New_Caption(caption, box);
        source_grid->addWidget(label, row, 0);
        source_grid->addWidget(box, row++, 1);
        if (box == txtFileImport_Domain_Name || box == txtFileImport_Username || box == txtFileImport_Password)
            ftp_widgets << label << box;
    }
    source_grid->setRowStretch(row, 1);
    columns->addWidget(source_box, 1);
    layout->addLayout(columns);

    layout->addStretch();

    txtFileImport_ID = New_Line("txtFileImport_ID");
    txtFileImport_ID->setParent(frameFileImport);
    txtFileImport_ID->hide();

    for (QLineEdit* box : {txtFileImport_Path_For_File, txtFileImport_Domain_Name, txtFileImport_Username,
                           txtFileImport_Password})
        connect(box, &QLineEdit::textChanged, this, &File_Import_Source_Editor::Source_Edited);
    for (QComboBox* list : {lstField_Delimiter, lstFrom_System})
        connect(list, &QComboBox::currentTextChanged, this, &File_Import_Source_Editor::Source_Edited);
    // Picked or typed: the FTP boxes follow the type.
    connect(lstType_Of_Source, &QComboBox::currentTextChanged, this, [this](const QString& type) {
        Show_FTP_Boxes(type == "FTP");
        Source_Edited();
    });
    for (QCheckBox* check : {chkAutoImport, chkDel_When_Imported})
        connect(check, &QCheckBox::toggled, this, &File_Import_Source_Editor::Source_Edited);
    connect(Find_Import_File, &QPushButton::clicked, this, &File_Import_Source_Editor::Find_Import_File_Click);
    connect(Display_First_LIne, &QPushButton::clicked, this, &File_Import_Source_Editor::Display_First_LIne_Click);
}

void File_Import_Source_Editor::Load()
{
    TreeImportSources->clear();
    try {
        const QList<QSqlRecord> sources =
            Open_Database().Select("SELECT Name_Of_Site FROM ContactSources ORDER BY ID");
        for (const QSqlRecord& row : sources) {
            const QString name = Db_Text(row, "Name_Of_Site");
            TreeImportSources->Add_Node(nullptr, "IFS" + name, name, "InMail");
        }
    } catch (const std::exception& e) {
        Show_Planning_Error("File Import Sources", e);
    }
}

void File_Import_Source_Editor::Source_Edited()
{
    if (!loading)
        source_changed = true;
}

void File_Import_Source_Editor::Check_Position(QLineEdit* Box)
{
    Source_Edited();
    const QString text = Box->text().trimmed();
    if (text.isEmpty())
        return;
    bool numeric = false;
    const double value = text.toDouble(&numeric);
    if (!numeric) {
        Message_Box("Plese enter a numeric value between 0 and 40");
    } else if (value < 0 || value > Highest_Position) {
        Message_Box("Enter a value greater than 0 but less that 40");
        Box->setText("0");
    }
}

void File_Import_Source_Editor::Show_FTP_Boxes(bool FTP)
{
    for (QWidget* widget : ftp_widgets)
        widget->setVisible(FTP);
}

void File_Import_Source_Editor::Add_Import_Source_Click()
{
    // The source shown keeps its edits.
    if (source_changed && !Save())
        return;
    const QString name = Input_Box("Enter the name of the new File Import Site.", "New Site File Import Addition");
    if (name.isEmpty())
        return;
    try {
        Database db = Open_Database();
        if (!db.Select_First("SELECT ID FROM ContactSources WHERE Name_Of_Site = ?", {name}).isEmpty()) {
            Message_Box("A File Import Site with that name already exists!");
            return;
        }
        db.Insert("INSERT INTO ContactSources (Name_Of_Site, Type_Of_Source, Path_For_File, Domain_Name, Username, "
                  "Password, Field_Delimiter, From_System, Firstname_Position, MiddleInitial_Position, "
                  "Lastname_Position, Email_Position) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1, 2, 3, 4)",
                  {name, QString("Local File"), QString(""), QString(""), QString(""), QString(""),
                   QString("Comma"), QString("MS-Windows")});
    } catch (const std::exception& e) {
        Show_Planning_Error("Add Import Source", e);
        return;
    }
    QTreeWidgetItem* node = TreeImportSources->Add_Node(nullptr, "IFS" + name, name, "InMail");
    TreeImportSources->Select_Node(node);
}

void File_Import_Source_Editor::TreeImportSources_NodeClick(QTreeWidgetItem* Node)
{
    const QString key = Planning_Tree::Node_Key(Node);
    if (source_changed && !Save())
        return;
    Node = TreeImportSources->Find_Node(key);
    if (!Node)
        return;
    const QString kind = Planning_Tree::Key_Kind(key);
    const QString name = Planning_Tree::Key_Data(key);
    if (kind == "IFD") {
        Delete_Source(name, Node->parent());
    } else if (kind == "IFP") {
        Import_From_Source(name);
    } else if (kind == "IFS") {
        if (Node->childCount() == 0) {
            TreeImportSources->Add_Node(Node, "IFP" + name, "*** Import Now", "Imported");
            TreeImportSources->Add_Node(Node, "IFD" + name, "*** Delete this File Import Source", "Erase");
        }
        Planning_Tree::Toggle(Node);
        Show_File_Import_Source(name);
    }
}

void File_Import_Source_Editor::Delete_Source(const QString& Name, QTreeWidgetItem* Source)
{
    if (Message_Box("REMOVE IMPORT SITE: " + (Source ? Source->text(0) : Name), vbOKCancel) != vbOK)
        return;
    try {
        Open_Database().Execute("DELETE FROM ContactSources WHERE Name_Of_Site = ?", {Name});
    } catch (const std::exception& e) {
        Show_Planning_Error("Delete Import Source", e);
        return;
    }
    delete Source;
    Hide_Editor();
}

void File_Import_Source_Editor::Show_File_Import_Source(const QString& Name)
{
    QSqlRecord row;
    try {
        row = Open_Database().Select_First("SELECT * FROM ContactSources WHERE Name_Of_Site = ?", {Name});
    } catch (const std::exception& e) {
        Show_Planning_Error("Show Import Source", e);
        return;
    }
    if (row.isEmpty()) {
        Message_Box("Error with the ContactSources database.");
        return;
    }
    lblFrameImportHeading->setText("Import Screen for " + Name);
    Fill_File_Import_Fields(row);
    Show_FTP_Boxes(Db_Text(row, "Type_Of_Source") == "FTP");
    source_changed = false;
    frameFileImport->show();
}

void File_Import_Source_Editor::Fill_File_Import_Fields(const QSqlRecord& Row)
{
    loading = true;
    txtFileImport_ID->setText(Db_Text(Row, "ID"));
    for (const Position_Box& position : positions)
        position.box->setText(Db_Text(Row, position.field));
    txtFileImport_Path_For_File->setText(Db_Text(Row, "Path_For_File"));
    txtFileImport_Domain_Name->setText(Db_Text(Row, "Domain_Name"));
    txtFileImport_Username->setText(Db_Text(Row, "Username"));
    txtFileImport_Password->setText(Db_Text(Row, "Password"));
    lstType_Of_Source->setEditText(Db_Text(Row, "Type_Of_Source"));
    lstField_Delimiter->setEditText(Db_Text(Row, "Field_Delimiter"));
    lstFrom_System->setEditText(Db_Text(Row, "From_System"));
    chkAutoImport->setChecked(Row.value("Automatically_Import").toLongLong() != 0);
    chkDel_When_Imported->setChecked(Row.value("Delete_Remote_File_When_Done").toLongLong() != 0);
    loading = false;
}

bool File_Import_Source_Editor::Save()
{
    const QString id = txtFileImport_ID->text();
    if (id.isEmpty()) {
        source_changed = false;
        return true;
    }
    QStringList assignments;
    QVariantList values;
    for (const Position_Box& position : positions) {
        int value = 0;
        const QString text = position.box->text();
        if (!text.trimmed().isEmpty() && !Read_Whole_Number(text, 0, Highest_Position, &value)) {
            Message_Box(position.caption + ": enter a whole number from 0 to 40 (0 when the file has no such field).");
            Focus_Refused_Box(position.box);
            return false;
        }
        assignments << position.field + " = ?";
        values << value;
    }
    assignments << "Path_For_File = ?" << "Domain_Name = ?" << "Username = ?" << "Password = ?"
                << "Type_Of_Source = ?" << "Field_Delimiter = ?" << "From_System = ?" << "Automatically_Import = ?"
                << "Delete_Remote_File_When_Done = ?";
    values << txtFileImport_Path_For_File->text() << txtFileImport_Domain_Name->text()
           << txtFileImport_Username->text() << txtFileImport_Password->text() << lstType_Of_Source->currentText()
           << lstField_Delimiter->currentText() << lstFrom_System->currentText() << chkAutoImport->isChecked()
           << chkDel_When_Imported->isChecked() << id.toLongLong();
    int stored = 0;
    try {
        stored = Open_Database().Execute("UPDATE ContactSources SET " + assignments.join(", ") + " WHERE ID = ?",
                                         values);
    } catch (const std::exception& e) {
        Show_Planning_Error("Save Import Source", e);
        return false;
    }
    source_changed = false;
    if (stored == 0) {
        Message_Box("This file import source is no longer in the database: its changes could not be saved.");
        Hide_Editor();
    }
    return true;
}

void File_Import_Source_Editor::Display_First_LIne_Click()
{
    const QString path = txtFileImport_Path_For_File->text();
    if (!QFileInfo(path).isFile()) {
        Message_Box("The file " + path + " does not exist to display the first line.");
        return;
    }
    QString line;
    QString error;
    if (!Read_First_Line(path, &line, &error)) {
        Message_Box("The file " + path + " cannot be read: " + error);
        return;
    }
    txtFileImport_Firstline->setText(line);
    txtFileImport_Firstline->setCursorPosition(0);
}

void File_Import_Source_Editor::Find_Import_File_Click()
{
    const QString file = Open_File_Dialog("Open", "All Files (*)", QFileInfo(txtFileImport_Path_For_File->text()).path());
    if (!file.isEmpty())
        txtFileImport_Path_For_File->setText(file);
}

void File_Import_Source_Editor::Hide_Editor()
{
    loading = true;
    txtFileImport_ID->clear();
    for (const Position_Box& position : positions)
        position.box->clear();
    for (QLineEdit* box : {txtFileImport_Path_For_File, txtFileImport_Domain_Name, txtFileImport_Username,
                           txtFileImport_Password, txtFileImport_Firstline})
        box->clear();
    loading = false;
    source_changed = false;
    lblFrameImportHeading->setText("Contact Import Screen ");
    frameFileImport->hide();
}
