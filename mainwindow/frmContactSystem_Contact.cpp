// The contact list and the contact editor: showing, editing and saving one
// contact, and the product, title and relationship choices.

#include <QSqlRecord>
#include <limits>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Shared_Routines.h"
#include "frmContactSystem.h"
#include "frmDelete_Relationship.h"
#include "frmDelete_Title.h"

namespace {

const char* const Add_Title_Entry = "* Add New Title";
const char* const Delete_Title_Entry = "* Delete Title";
const char* const Add_Relationship_Entry = "* Add New Relationship";
const char* const Delete_Relationship_Entry = "* Delete Relationship";
const char* const Addition_Title = "New Relationship Addition";

QString Number_Text(const QVariant& value)
{
    return Is_Null(value) ? QString() : QString::number(value.toLongLong());
}

bool Flag(const QSqlRecord& record, const char* field)
{
    const QVariant value = record.value(field);
    return !Is_Null(value) && value.toLongLong() != 0;
}

// A birthday box: empty stores null, a whole number stores the number.
bool Birthday_Value(const QLineEdit* box, QVariant* value)
{
    const QString text = box->text().trimmed();
    if (text.isEmpty()) {
        *value = QVariant();
        return true;
    }
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok)
        return false;
    *value = number;
    return true;
}

} // namespace

// ---- Contact list ----------------------------------------------------------------------

void frmContactSystem::Setup_The_Contacts_Tree(const Where_Clause& clause)
{
    // The refill shows another contact: the shown one's edits go first.
    if (Contact_Changed && !Save_Contact_Record())
        return;
    ListContacts->clear();
    ListEvents->clear();
    Current_Contact_Item = nullptr;
    const QString sql =
        "SELECT Contacts.FirstName, Contacts.LastName, Contacts.Product, Contacts.Contact_Relationship, "
        "Contacts.Contact_Title, Contacts.Email, Contacts.MiddleInitial, Contacts.ID, "
        "Contacts.Pending_Events_To_Read, Contacts.New_Contact FROM Contacts "
        + clause.Text + " ORDER BY Contacts.LastName;";
    bool ok = false;
    const QList<QSqlRecord> rows = Open_List_Recordset(sql, clause.Values, &ok);
    if (!ok)
        return;
    if (rows.isEmpty()) {
        Message_Box("There are no contacts for this selection");
        Set_Status_Panel(2, "0");
        return;
    }
    Set_Status_Panel(2, QString::number(rows.size()));
    for (const QSqlRecord& row : rows) {
        const qint64 ID = row.value("ID").toLongLong();
        // A clause joining the events gives a contact once per event.
        if (ListContacts->Find_Key(Make_Contact_Key(ID)))
            continue;
        Add_Contact_List_Item(ID, row.value("FirstName"), row.value("LastName"), row.value("Product"),
                              row.value("Contact_Relationship"), row.value("Contact_Title"),
                              Flag(row, "Pending_Events_To_Read"), Flag(row, "New_Contact"),
                              row.value("Email"));
    }
    QTreeWidgetItem* first = ListContacts->Row_At(1);
    Current_Contact_Item = first;
    if (first) {
        const qint64 ID = List_View::Item_Key(first).mid(3).toLongLong();
        Show_Current_Contact_Record(ID);
        Show_Contact_Events(ID);
        ListContacts->Select_Item(first);
    }
}

void frmContactSystem::Add_Contact_List_Row(qint64 ID, const QString& First_Name, const QString& Last_Name,
                                            const QString& Email, const QString& Product,
                                            const QString& Relationship)
{
    List_Row row;
    row.key = Make_Contact_Key(ID);
    row.texts << First_Name << Last_Name << Email << Product << Relationship;
    if (QTreeWidgetItem* item = ListContacts->Add_Row(row))
        ListContacts->Select_Item(item);
}

void frmContactSystem::Mark_Current_Contact_Row(QTreeWidgetItem* item)
{
    if (Current_Contact_Item && ListContacts->Position_Of(Current_Contact_Item) > 0)
        for (int sub : {1, 2})
            Current_Contact_Item->setData(sub, Qt::ForegroundRole, QVariant());
    Current_Contact_Item = item;
    if (item)
        for (int sub : {1, 2})
            item->setForeground(sub, QColor(255, 0, 0));
}

// ---- Contact display ---------------------------------------------------------------------

int frmContactSystem::Show_Current_Contact_Record(qint64 ID)
{
    // Every way to a contact comes through here, and the boxes are about to be
    // refilled from the database: the shown contact's edits go first.
    if (Contact_Changed && !Save_Contact_Record())
        return 0;
    try {
        QTreeWidgetItem* item = ListContacts->Find_Key(Make_Contact_Key(ID));
        Mark_Current_Contact_Row(item);
        Database db = Open_Database();
        const QSqlRecord record = db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {ID});
        if (record.isEmpty())
            return 0;
        if (Current_Detail_Frame)
            Current_Detail_Frame->hide();
        if (item && Flag(record, "Pending_Events_To_Read"))
            for (int sub : {1, 2})
                List_View::Set_Bold(item, sub, true);
        // A contact stops being new the first time it is shown.
        if (Flag(record, "New_Contact"))
            db.Execute("UPDATE Contacts SET New_Contact = 0 WHERE ID = ?", {ID});
        Show_Contact_Fields(record);
        frameContact_Top_Screen->show();
        Show_Detail_Frame(frameContactDetails);
        Contact_Changed = false;
        return 1;
    } catch (const Program_Error& e) {
        Message_Box("Error on Show_Current_Record: " + e.Description());
        return 0;
    }
}

int frmContactSystem::Load_And_Show_Contact(qint64 ID)
{
    if (Contact_Changed && !Save_Contact_Record())
        return 0;
    const QSqlRecord record = Open_Database().Select_First("SELECT * FROM Contacts WHERE ID = ?", {ID});
    if (record.isEmpty())
        return 0;
    Show_Contact_Fields(record);
    frameContact_Top_Screen->show();
    Contact_Changed = false;
    return 1;
}

void frmContactSystem::Show_Contact_Fields(const QSqlRecord& contact)
{
    const auto text = [&contact](const char* field) { return Null_To_Empty(contact.value(field)); };
    // The ID first: the name boxes copy their text into this contact's row.
    txtContact_ID->setText(QString::number(contact.value("ID").toLongLong()));
    txtfirstname->setText(text("FirstName"));
    txtMiddle_Initials->setText(text("MiddleInitial"));
    txtlastname->setText(text("LastName"));
    txtBest_Time_To_Contact->setText(text("Best_Time_To_Contact"));
    chkTimeline_Enabled->setChecked(Flag(contact, "Stop_Timeline_Action"));
    txtReferred_By->setText(text("Referred_By"));
    txtEmail->setText(text("Email"));
    txtWorkphone->setText(text("Workphone"));
    txtHomephone->setText(text("Homephone"));
    txtCellphone->setText(text("Cellphone"));
    txtNotes->setPlainText(text("Notes"));
    lstProduct->setEditText(text("Product"));
    Combo_Title->setEditText(text("Contact_Title"));
    title_before_command_ = Combo_Title->currentText();
    Combo_Relationship->setEditText(text("Contact_Relationship"));
    relationship_before_command_ = Combo_Relationship->currentText();
    txtAddress->setText(text("Address"));
    txtCity->setText(text("City"));
    txtState->setText(text("State"));
    txtZipcode->setText(text("Zipcode"));
    txtCompany->setText(text("Company"));
    txtB_Day->setText(Number_Text(contact.value("B_Day")));
    txtB_Month->setText(Number_Text(contact.value("B_Month")));
    txtB_Year->setText(Number_Text(contact.value("B_Year")));
    txtSource->setText(text("Import_Source"));
    const QDateTime bought = Db_To_Date(contact.value("Date_Product_Bought"));
    txtBought_Month->setText(bought.isValid() ? QString::number(bought.date().month()) : QString());
    txtBoughtDay->setText(bought.isValid() ? QString::number(bought.date().day()) : QString());
    txtBought_Year->setText(bought.isValid() ? QString::number(bought.date().year()) : QString());
    chkWorkflowCompleted->setChecked(Flag(contact, "Finished_Timeline_Execution"));
    txtPendingEvents->setText(Flag(contact, "Pending_Events_To_Read") ? "True" : "False");
    const QDateTime received = Db_To_Date(contact.value("Contact_Received_Date"));
    txtContactReceivedDate->setText(received.isValid() ? received.toString("MM/dd/yy") : QString());
    const QDateTime workflow = Db_To_Date(contact.value("Workflow_Start_Date"));
    txtWorkflowBeginDate->setText(workflow.isValid() ? workflow.toString(Workflow_Date_Format) : QString());
    txtOptions->setText(text("Options"));
}

void frmContactSystem::Show_Contact_Events(qint64 ID)
{
    ListEvents->clear();
    const QList<QSqlRecord> rows = Open_List_Recordset(
        "SELECT * FROM Eventhistory WHERE ContactID = ? ORDER BY EventDate DESC", {ID});
    for (const QSqlRecord& row : rows) {
        List_Row line;
        line.key = "evt" + Null_To_Empty(row.value("Event_Unique_ID")) + Key_Separator
                   + QString::number(row.value("ContactID").toLongLong());
        const QDateTime date = Db_To_Date(row.value("EventDate"));
        line.texts << (date.isValid() ? date.toString("MM/dd/yy HH:mm:ss") : QString())
                   << Null_To_Empty(row.value("Event_Type")) << Null_To_Empty(row.value("EventSubject"));
        if (Flag(row, "Has_Attachments"))
            line.icon = "Clip";
        if (!Is_Null(row.value("EventRead")) && row.value("EventRead").toLongLong() == 0)
            line.bold = {1, 2, 3};
        ListEvents->Add_Row(line);
    }
}

// ---- Saving ------------------------------------------------------------------------------

bool frmContactSystem::Save_Contact_Record()
{
    bool id_ok = false;
    const qint64 ID = txtContact_ID->text().toLongLong(&id_ok);
    if (!id_ok) {
        // No contact on display: there is nothing to store the boxes into.
        Contact_Changed = false;
        return true;
    }
    QVariant b_day, b_month, b_year;
    if (!Birthday_Value(txtB_Day, &b_day) || !Birthday_Value(txtB_Month, &b_month)
        || !Birthday_Value(txtB_Year, &b_year)) {
        Message_Box("The birthday boxes take whole numbers only (month, day and year).");
        // The keyboard goes where the mending is to be done.
        QVariant unused;
        for (QLineEdit* box : {txtB_Month, txtB_Day, txtB_Year})
            if (!Birthday_Value(box, &unused)) {
                box->setFocus();
                box->selectAll();
                break;
            }
        return false;
    }
    QString sql =
        "UPDATE Contacts SET FirstName = ?, MiddleInitial = ?, LastName = ?, Best_Time_To_Contact = ?, "
        "Stop_Timeline_Action = ?, Referred_By = ?, Email = ?, Workphone = ?, Homephone = ?, "
        "Cellphone = ?, Notes = ?, Product = ?, Contact_Title = ?, Contact_Relationship = ?, "
        "Address = ?, City = ?, State = ?, Zipcode = ?, Company = ?, B_Day = ?, B_Month = ?, "
        "B_Year = ?, Import_Source = ?, Options = ?";
    QVariantList values = {txtfirstname->text(), txtMiddle_Initials->text(), txtlastname->text(),
                           txtBest_Time_To_Contact->text(), chkTimeline_Enabled->isChecked(),
                           txtReferred_By->text(), txtEmail->text(), txtWorkphone->text(),
                           txtHomephone->text(), txtCellphone->text(), txtNotes->toPlainText(),
                           lstProduct->currentText(), Combo_Title->currentText(),
                           Combo_Relationship->currentText(), txtAddress->text(), txtCity->text(),
                           txtState->text(), txtZipcode->text(), txtCompany->text(), b_day, b_month,
                           b_year, txtSource->text(), txtOptions->text()};
    // The purchase date only when the three boxes make a date with a full year;
    // otherwise the stored date stays.
    bool month_ok = false, day_ok = false, year_ok = false;
    const int month = txtBought_Month->text().trimmed().toInt(&month_ok);
    const int day = txtBoughtDay->text().trimmed().toInt(&day_ok);
    const QString year_text = txtBought_Year->text().trimmed();
    const int year = year_text.toInt(&year_ok);
    const QDate bought(year, month, day);
    if (month_ok && day_ok && year_ok && year_text.size() == 4 && bought.isValid()) {
        sql += ", Date_Product_Bought = ?";
        values << QDateTime(bought, QTime(0, 0));
    }
    const QString workflow_text = txtWorkflowBeginDate->text().trimmed();
    if (!workflow_text.isEmpty()) {
        const QDateTime workflow = QDateTime::fromString(workflow_text, Workflow_Date_Format);
        if (!workflow.isValid()) {
            Message_Box("The workflow start date \"" + workflow_text
                        + "\" cannot be read. Write it as mm/dd/yyyy hh:mm:ss, for example "
                        + Now().toString(Workflow_Date_Format) + ".");
            txtWorkflowBeginDate->setFocus();
            txtWorkflowBeginDate->selectAll();
            return false;
        }
        sql += ", Workflow_Start_Date = ?";
        values << workflow;
    }
    sql += " WHERE ID = ?";
    values << ID;
    try {
        Open_Database().Execute(sql, values);
    } catch (const Program_Error& e) {
        Message_Box("Error on Save_Contact_Record: " + e.Description());
        return false;
    }
    Contact_Changed = false;
    return true;
}

// ---- The editor's own commands -------------------------------------------------------------

void frmContactSystem::Set_List_Name_Column(int sub_item, const QString& text)
{
    if (QTreeWidgetItem* item = ListContacts->Find_Key("key" + txtContact_ID->text()))
        item->setText(sub_item, text);
}

void frmContactSystem::Capitalize_First_And_Last_Click()
{
    txtfirstname->setText(Proper_Case(txtfirstname->text()));
    txtMiddle_Initials->setText(txtMiddle_Initials->text().toUpper());
    txtlastname->setText(Proper_Case(txtlastname->text()));
    Contact_Changed = true;
}

void frmContactSystem::Change_Workflow_Start_Date_Click()
{
    txtWorkflowBeginDate->setText(Now().toString(Workflow_Date_Format));
    Contact_Changed = true;
}

void frmContactSystem::Show_Product_Details_Click()
{
    Show_Detail_Frame(frameContactDetails);
}

void frmContactSystem::lstProduct_Change()
{
    Contact_Changed = true;
    Set_List_Name_Column(4, lstProduct->currentText());
}

void frmContactSystem::Combo_Title_Change()
{
    Contact_Changed = true;
    Set_List_Name_Column(6, Combo_Title->currentText());
    title_before_command_ = Combo_Title->currentText();
}

void frmContactSystem::Combo_Title_Click()
{
    Contact_Changed = true;
    const QString text = Combo_Title->currentText();
    if (text == Add_Title_Entry || text == Delete_Title_Entry) {
        if (text == Add_Title_Entry) {
            Add_New_Title();
        } else {
            GlobalVariables::Delete_Dialog_Closed = false;
            frmDelete_Title dialog(this);
            dialog.exec();
            Fill_Title_Combo();
        }
        // A command that chose no value leaves the contact's title as it was.
        const QString now = Combo_Title->currentText();
        if (now == Add_Title_Entry || now == Delete_Title_Entry || now.isEmpty())
            Combo_Title->setEditText(title_before_command_);
    }
    title_before_command_ = Combo_Title->currentText();
    Set_List_Name_Column(6, Combo_Title->currentText());
}

void frmContactSystem::Combo_Relationship_Change()
{
    Contact_Changed = true;
    const QString text = Combo_Relationship->currentText();
    if (text == Add_Relationship_Entry || text == Delete_Relationship_Entry) {
        if (text == Add_Relationship_Entry) {
            Add_New_Relationship();
        } else {
            GlobalVariables::Delete_Dialog_Closed = false;
            frmDelete_Relationship dialog(this);
            dialog.exec();
            Fill_Relationship_Combo();
        }
        const QString now = Combo_Relationship->currentText();
        if (now == Add_Relationship_Entry || now == Delete_Relationship_Entry || now.isEmpty())
            Combo_Relationship->setEditText(relationship_before_command_);
    }
    relationship_before_command_ = Combo_Relationship->currentText();
    Set_List_Name_Column(5, Combo_Relationship->currentText());
}

namespace {

// Adds a value to a lookup table and to its box, before the command entries.
void Add_Lookup_Value(QComboBox* combo, const QString& answer, const QString& table,
                      const QString& column, const QString& duplicate_message)
{
    try {
        Database db = Open_Database();
        // The table's text comparison ignores letter case, as the lookups always have.
        const bool exists = db.Scalar("SELECT COUNT(*) FROM " + table + " WHERE " + column + " = ?",
                                      {answer}).toLongLong() > 0;
        if (exists) {
            Message_Box(duplicate_message, vbOKOnly, Addition_Title);
        } else {
            db.Insert("INSERT INTO " + table + " (" + column + ") VALUES (?)", {answer});
            int at = combo->count();
            while (at > 0 && combo->itemText(at - 1).startsWith("* "))
                --at;
            combo->insertItem(at, answer);
        }
        const int index = combo->findText(answer, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            combo->setCurrentIndex(index);
    } catch (const Program_Error& e) {
        Message_Box("Error on adding to the list: " + e.Description(), vbOKOnly, Addition_Title);
    }
}

} // namespace

void frmContactSystem::Add_New_Relationship()
{
    bool ok = false;
    const QString answer = Input_Box("Enter the name of the Relationship to add:", Addition_Title, "", &ok);
    if (answer.contains(':')) {
        Message_Box("The character : is not accepted in the name of a relationship.", vbOKOnly, Addition_Title);
        return;
    }
    if (!ok || answer.isEmpty())
        return;
    Add_Lookup_Value(Combo_Relationship, answer, "Relationships", "Relation_Data",
                     "That relationship already exists in the system!");
}

void frmContactSystem::Add_New_Title()
{
    bool ok = false;
    const QString answer = Input_Box("Enter the name of the Title to add:", Addition_Title, "", &ok);
    if (!ok || answer.isEmpty())
        return;
    Add_Lookup_Value(Combo_Title, answer, "Titles", "Contact_Title", "That title already exists in the system!");
}

// ---- Choice lists ------------------------------------------------------------------------------

namespace {

// Refills a box from a query's first column, keeping the text it shows.
void Refill_Combo(QComboBox* combo, const QList<QSqlRecord>& rows, const QStringList& commands)
{
    const QString shown = combo->currentText();
    const bool blocked = combo->blockSignals(true);
    combo->clear();
    QStringList values;
    for (const QSqlRecord& row : rows) {
        const QString value = Null_To_Empty(row.value(0));
        if (!value.isEmpty())
            values << value;
    }
    combo->addItems(values);
    // The commands also with an empty table: else its first value could never be added.
    combo->addItems(commands);
    combo->setEditText(shown);
    combo->blockSignals(blocked);
}

} // namespace

void frmContactSystem::Refresh_Product_Title_Relationship_Lists()
{
    Redraw_Product_List();
    Fill_Title_Combo();
    Fill_Relationship_Combo();
}

void frmContactSystem::Redraw_Product_List()
{
    Refill_Combo(lstProduct, Open_List_Recordset("SELECT Products.Product FROM Products ORDER BY Products.Product"),
                 {});
}

void frmContactSystem::Fill_Title_Combo()
{
    Refill_Combo(Combo_Title, Open_List_Recordset("SELECT Contact_Title FROM Titles ORDER BY rowid"),
                 {Add_Title_Entry, Delete_Title_Entry});
}

void frmContactSystem::Fill_Relationship_Combo()
{
    Refill_Combo(Combo_Relationship,
                 Open_List_Recordset("SELECT Relation_Data FROM Relationships ORDER BY rowid"),
                 {Add_Relationship_Entry, Delete_Relationship_Entry});
}

// ---- Wiring -------------------------------------------------------------------------------------

void frmContactSystem::Connect_Contact_Editor()
{
    // A box keeps 32767 characters unless told otherwise: a longer stored
    // value would be cut short, and stored so by the next save.
    for (QLineEdit* box : {txtAddress, txtB_Day, txtB_Month, txtB_Year, txtBest_Time_To_Contact,
                           txtBought_Month, txtBoughtDay, txtBought_Year, txtCellphone, txtCity,
                           txtCompany, txtContactReceivedDate, txtEmail, txtHomephone, txtMiddle_Initials,
                           txtOptions, txtReferred_By, txtSource, txtState, txtWorkphone, txtZipcode,
                           txtWorkflowBeginDate, txtfirstname, txtlastname, lstProduct->lineEdit(),
                           Combo_Title->lineEdit(), Combo_Relationship->lineEdit(), txtFrameOutbox_Email,
                           txtFrameOutbox_Name, txtFrameOutbox_Product, txtFrameOutbox_Subject})
        box->setMaxLength(std::numeric_limits<int>::max());

    const auto changed = [this] { Contact_Changed = true; };
    for (QLineEdit* box : {txtAddress, txtB_Day, txtB_Month, txtB_Year, txtBest_Time_To_Contact,
                           txtBought_Month, txtBoughtDay, txtBought_Year, txtCellphone, txtCity,
                           txtCompany, txtContactReceivedDate, txtEmail, txtHomephone, txtMiddle_Initials,
                           txtOptions, txtReferred_By, txtSource, txtState, txtWorkphone, txtZipcode,
                           txtWorkflowBeginDate})
        connect(box, &QLineEdit::textChanged, this, changed);
    connect(txtNotes, &QPlainTextEdit::textChanged, this, changed);
    connect(txtfirstname, &QLineEdit::textChanged, this, [this](const QString& text) {
        Contact_Changed = true;
        Set_List_Name_Column(1, text);
    });
    connect(txtlastname, &QLineEdit::textChanged, this, [this](const QString& text) {
        Contact_Changed = true;
        Set_List_Name_Column(2, text);
    });
    connect(chkTimeline_Enabled, &QCheckBox::clicked, this, changed);
    connect(Change_Workflow_Start_Date, &QPushButton::clicked, this,
            &frmContactSystem::Change_Workflow_Start_Date_Click);
    connect(Capitalize_First_And_Last, &QPushButton::clicked, this,
            &frmContactSystem::Capitalize_First_And_Last_Click);
    connect(Show_Product_Details, &QPushButton::clicked, this, &frmContactSystem::Show_Product_Details_Click);

    // Typing and choosing an entry; text put in by the program is no edit.
    connect(lstProduct->lineEdit(), &QLineEdit::textEdited, this, &frmContactSystem::lstProduct_Change);
    connect(lstProduct, &QComboBox::activated, this, &frmContactSystem::lstProduct_Change);
    connect(Combo_Title->lineEdit(), &QLineEdit::textEdited, this, &frmContactSystem::Combo_Title_Change);
    connect(Combo_Title, &QComboBox::activated, this, &frmContactSystem::Combo_Title_Click);
    connect(Combo_Relationship->lineEdit(), &QLineEdit::textEdited, this,
            &frmContactSystem::Combo_Relationship_Change);
    connect(Combo_Relationship, &QComboBox::activated, this, &frmContactSystem::Combo_Relationship_Change);

    // Edits of the outbox entry and of the composer mark them changed.
    const auto outbox_changed = [this] { Outbox_Item_Changed = true; };
    for (QLineEdit* box : {txtFrameOutbox_Email, txtFrameOutbox_Name, txtFrameOutbox_Product,
                           txtFrameOutbox_Subject})
        connect(box, &QLineEdit::textChanged, this, outbox_changed);
    connect(txtFrameOutbox_Message, &QTextEdit::textChanged, this, outbox_changed);
    connect(txtFrameEmailOutSubject, &QLineEdit::textChanged, this, [this] { Email_Out_Changed = true; });
    connect(txtFrameEmailOutMessage, &QTextEdit::textChanged, this, [this] { Email_Out_Changed = true; });
}
