#include "frmSetupForm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Password.h"
#include "Settings.h"
#include "Shared_Routines.h"

namespace {

enum class Kind { Text, Flag, Phone };

struct Setting_Field {
    const char* field;
    Kind kind;
    const char* caption;
    int page;
};

// The fields the dialog shows, page by page (the page is the tab's index).
const Setting_Field Fields[] = {
    {"Owner_Firstname", Kind::Text, "&Firstname", 0},
    {"Owner_Lastname", Kind::Text, "&Lastname", 0},
    {"Owner_Address", Kind::Text, "&Address", 0},
    {"Owner_City", Kind::Text, "Ci&ty", 0},
    {"Owner_State", Kind::Text, "&State", 0},
    {"Owner_Zip", Kind::Text, "&Zip Code", 0},
    {"Owner_Phone", Kind::Phone, "&Phone", 0},
    {"SMTP_Server", Kind::Text, "S&MTP Server", 1},
    {"DefaultEmailName", Kind::Text, "&User E-Mail Name", 1},
    {"DefaultEmailAddress", Kind::Text, "User E-mail A&ddress", 1},
    {"DefaultContactName", Kind::Text, "Deflt. Customer Email &Name", 1},
    {"Automatically_Send_Emails", Kind::Flag, "Automatically &Send E-Mails", 1},
    {"AutoSend_Birthdate_Emails", Kind::Flag, "Automatically Check &Bdays", 1},
    {"Confirm_Email_Deletes", Kind::Flag, "Con&firm Delete of Unmatched Emails", 1},
    {"Delete_Remote_Email", Kind::Flag, "Delete Email on Do&wnload", 1},
    {"Cc_Address", Kind::Text, "E-Mail &Address CC", 1},
    {"Enabled_Cc_Redirection", Kind::Flag, "CC &Enabled", 1},
    {"Auto_Check_Emails", Kind::Flag, "Au&to Check Emails", 1},
    {"Email_Check_Time", Kind::Text, "Email T&iming Download", 1},
    {"Check_For_Junk_Emails", Kind::Flag, "Auto-Delete Junk &E-mails", 2},
    {"Check_For_Bad_Names", Kind::Flag, "Auto-Delete Junk &Names", 2},
    {"Backup_Dir", Kind::Text, "Backup &Directory", 3},
};

const char* const Phone_Mask = "(999)999-9999;_";
const char* const Save_Failed = "Error Updating Settings. Reverting back to old settings.";

QLineEdit* Password_Box(const QString& name)
{
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    // An asterisk for each typed character, whatever the style's own mark.
    box->setStyleSheet("lineedit-password-character: 42;");
    return box;
}

QPushButton* Button(const QString& caption, const QString& name)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmSetupForm::frmSetupForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmSetupForm");
    setWindowTitle("Brackenlead for Windows Settings ");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("Brackenlead for Windows Settings");
    heading->setObjectName("lblHeading");
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    heading->setFont(font);
    layout->addWidget(heading);

    TabStrip1 = new QTabWidget;
    TabStrip1->setObjectName("TabStrip1");
    // Every tab in sight: the dialog is at least as wide as the six of them.
    TabStrip1->setUsesScrollButtons(false);
    layout->addWidget(TabStrip1, 1);
    Build_Pages();

    CloseSettings = Button("&Close", "CloseSettings");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseSettings);
    layout->addLayout(buttons);

    connect(CloseSettings, &QPushButton::clicked, this, &frmSetupForm::CloseSettings_Click);
    connect(Apply_Changes, &QPushButton::clicked, this, &frmSetupForm::Apply_Changes_Click);
    connect(Add_Search_String, &QPushButton::clicked, this, &frmSetupForm::Add_Search_String_Click);
    connect(Delete_Search, &QPushButton::clicked, this, &frmSetupForm::Delete_Search_Click);

    // The dialog opens on "User Settings".
    TabStrip1->setCurrentIndex(0);
    Bind_Controls();
    Fill_Search_List();
    bound_.value("Owner_Firstname")->setFocus();
    resize(qMax(560, sizeHint().width()), 440);
}

void frmSetupForm::Build_Pages()
{
    struct Page {
        QWidget** frame;
        const char* name;
        const char* caption;
        const char* tip;
    };
    const Page pages[] = {
        {&frameUser_Settings, "frameUser_Settings", "User Settings", "User Particular Details"},
        {&frameEmail_Settings, "frameEmail_Settings", "E-Mail ", "SMTP and e-mail handling details"},
        {&frameFile_Import, "frameFile_Import", "File Import", "File Import Details"},
        {&frameBackup, "frameBackup", "Backup", "Database Backup Directory"},
        {&framePassword, "framePassword", "Password", "Change System Password"},
        {&frameInvalid_Email, "frameInvalid_Email", "Invalid E-Mail", "Invalid E-Mail Search Strings"},
    };
    QList<QFormLayout*> forms;
    for (const Page& page : pages) {
        auto* frame = new QWidget;
        frame->setObjectName(page.name);
        *page.frame = frame;
        const int index = TabStrip1->addTab(frame, page.caption);
        TabStrip1->setTabToolTip(index, page.tip);
        auto* form = new QFormLayout(frame);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        forms << form;
    }

    for (const Setting_Field& field : Fields) {
        QFormLayout* form = forms[field.page];
        const QString name = QString(field.field);
        if (field.kind == Kind::Flag) {
            auto* box = new QCheckBox(field.caption);
            box->setObjectName("chk" + name);
            form->addRow(box);
            bound_.insert(name, box);
            continue;
        }
        auto* box = new QLineEdit;
        box->setObjectName("txt" + name);
        if (field.kind == Kind::Phone) {
            box->setInputMask(Phone_Mask);
            box->setMaximumWidth(box->fontMetrics().horizontalAdvance("(0000)0000-00000") + 16);
        }
        auto* label = new QLabel(field.caption);
        label->setBuddy(box);
        if (name == "Email_Check_Time") {
            // The box takes a number of minutes; the unit stands beside it.
            box->setMaximumWidth(box->fontMetrics().horizontalAdvance("00000000") + 16);
            auto* row = new QHBoxLayout;
            row->addWidget(box);
            auto* unit = new QLabel("# of Minutes between Email Download");
            unit->setObjectName("lblEmail_Check_Time_Unit");
            row->addWidget(unit, 1);
            form->addRow(label, row);
        } else {
            form->addRow(label, box);
        }
        bound_.insert(name, box);
    }

    QFormLayout* password = forms[4];
    txtCurrent_Password = Password_Box("txtCurrent_Password");
    txtNewPassword = Password_Box("txtNewPassword");
    txtRetype_Password = Password_Box("txtRetype_Password");
    password->addRow("&Old Password", txtCurrent_Password);
    password->addRow("&New Password", txtNewPassword);
    password->addRow("&Retype New Password", txtRetype_Password);
    Apply_Changes = Button("&Apply", "Apply_Changes");
    auto* apply_row = new QHBoxLayout;
    apply_row->addStretch();
    apply_row->addWidget(Apply_Changes);
    password->addRow(apply_row);

    // The invalid search strings: a list beside its two buttons.
    QFormLayout* invalid = forms[5];
    lstEmail_Search_Strings = new QListWidget;
    lstEmail_Search_Strings->setObjectName("lstEmail_Search_Strings");
    auto* label = new QLabel("Invalid E-Mail &Search Strings");
    label->setObjectName("lblInvalid_Email");
    label->setBuddy(lstEmail_Search_Strings);
    invalid->addRow(label);
    Add_Search_String = Button("&Add", "Add_Search_String");
    Delete_Search = Button("&Delete", "Delete_Search");
    auto* list_row = new QHBoxLayout;
    list_row->addWidget(lstEmail_Search_Strings, 1);
    auto* list_buttons = new QVBoxLayout;
    list_buttons->addWidget(Add_Search_String);
    list_buttons->addWidget(Delete_Search);
    list_buttons->addStretch();
    list_row->addLayout(list_buttons);
    invalid->addRow(list_row);
}

QVariant frmSetupForm::Shown_Value(const QString& field) const
{
    QWidget* control = bound_.value(field);
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return box->isChecked();
    auto* box = qobject_cast<QLineEdit*>(control);
    if (!box)
        return QVariant();
    // A phone box without a digit holds no number, only the mask's marks.
    if (!box->inputMask().isEmpty() && !box->text().contains(QRegularExpression("[0-9]")))
        return QString("");
    return box->text();
}

void frmSetupForm::Bind_Controls()
{
    QSqlRecord row;
    try {
        row = Open_Database().Select_First("SELECT * FROM Settings ORDER BY rowid LIMIT 1");
    } catch (const Program_Error& e) {
        Message_Box("Error on reading the settings: " + e.Description());
        return;
    }
    if (row.isEmpty()) {
        Message_Box("Error on reading the settings: the database holds no settings row.");
        return;
    }
    for (auto it = bound_.cbegin(); it != bound_.cend(); ++it) {
        const QVariant value = row.value(it.key());
        if (auto* box = qobject_cast<QCheckBox*>(it.value()))
            box->setChecked(!Is_Null(value) && value.toLongLong() != 0);
        else if (auto* box = qobject_cast<QLineEdit*>(it.value()))
            box->setText(Null_To_Empty(value));
        read_.insert(it.key(), Shown_Value(it.key()));
    }
    row_read_ = true;
}

bool frmSetupForm::Save_Settings()
{
    if (!row_read_)
        return false;
    QStringList assignments;
    QVariantList values;
    QHash<QString, QVariant> changed;
    for (const Setting_Field& field : Fields) {
        const QVariant value = Shown_Value(field.field);
        if (value == read_.value(field.field))
            continue;
        assignments << QString(field.field) + " = ?";
        values << value;
        changed.insert(field.field, value);
    }
    if (assignments.isEmpty())
        return true;
    try {
        // Only the changed fields: what the dialog does not show, or the user
        // left alone, keeps what others wrote meanwhile (the password's Apply).
        Open_Database().Execute("UPDATE Settings SET " + assignments.join(", ")
                                    + " WHERE rowid = (SELECT rowid FROM Settings ORDER BY rowid LIMIT 1)",
                                values);
    } catch (const Program_Error&) {
        Message_Box(Save_Failed);
        return false;
    }
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        read_.insert(it.key(), it.value());
    return true;
}

void frmSetupForm::Apply_Changes_Click()
{
    if (txtNewPassword->text() != txtRetype_Password->text()) {
        Message_Box("The new password does not match the retyped password");
        return;
    }
    if (!Password_Matches(txtCurrent_Password->text(), Current_Settings().Furrowline_Password)) {
        Message_Box("The current password does not match the password currently being used.");
        return;
    }
    try {
        Save_Log_In_Password(txtNewPassword->text());
    } catch (const Program_Error& e) {
        Message_Box("Error on changing the password: " + e.Description());
        return;
    }
    Load_Settings();
    Message_Box("The new password has been successfully entered.");
}

void frmSetupForm::Fill_Search_List()
{
    lstEmail_Search_Strings->clear();
    try {
        for (const QSqlRecord& row : Open_Database().Select(
                 "SELECT rowid, Subject_Search_String FROM InvalidSearchStrings ORDER BY rowid")) {
            auto* item = new QListWidgetItem(Null_To_Empty(row.value(1)));
            item->setData(Qt::UserRole, row.value(0));
            lstEmail_Search_Strings->addItem(item);
        }
    } catch (const Program_Error& e) {
        Message_Box("Error on reading the invalid search strings: " + e.Description());
    }
    if (lstEmail_Search_Strings->count() > 0)
        lstEmail_Search_Strings->setCurrentRow(0);
    Enable_Delete();
}

void frmSetupForm::Enable_Delete()
{
    Delete_Search->setEnabled(lstEmail_Search_Strings->count() > 0);
}

void frmSetupForm::Add_Search_String_Click()
{
    const QString answer = Input_Box("Enter the search string:", "New Search String Addition");
    // Blanks alone would match nearly every subject, as the empty text matches all.
    if (answer.trimmed().isEmpty())
        return;
    qint64 id = 0;
    try {
        id = Open_Database().Insert(
            "INSERT INTO InvalidSearchStrings (Subject_Search_String) VALUES (?)", {answer});
    } catch (const Program_Error& e) {
        Message_Box("Error on adding the search string: " + e.Description());
        return;
    }
    auto* item = new QListWidgetItem(answer);
    item->setData(Qt::UserRole, id);
    lstEmail_Search_Strings->addItem(item);
    if (!lstEmail_Search_Strings->currentItem())
        lstEmail_Search_Strings->setCurrentItem(item);
    Enable_Delete();
}

void frmSetupForm::Delete_Search_Click()
{
    QListWidgetItem* selected = lstEmail_Search_Strings->currentItem();
    if (!selected || selected->text().isEmpty())
        return;
    if (Message_Box("Do you want to Delete " + selected->text() + "?", vbOKCancel,
                    "Delete Search String")
        != vbOK)
        return;
    try {
        // That row only: another one of the same text stays.
        Open_Database().Execute("DELETE FROM InvalidSearchStrings WHERE rowid = ?",
                                {selected->data(Qt::UserRole)});
    } catch (const Program_Error& e) {
        Message_Box("Error on deleting the search string: " + e.Description());
        return;
    }
    delete lstEmail_Search_Strings->takeItem(lstEmail_Search_Strings->row(selected));
    if (lstEmail_Search_Strings->count() > 0)
        lstEmail_Search_Strings->setCurrentRow(0);
    Enable_Delete();
}

void frmSetupForm::CloseSettings_Click()
{
    accept();
}

void frmSetupForm::done(int result)
{
    // Close, Escape and the close box alike: the row is saved and put in use.
    if (!closed_) {
        closed_ = true;
        Save_Settings();
        if (row_read_)
            Load_Settings();
    }
    QDialog::done(result);
}
