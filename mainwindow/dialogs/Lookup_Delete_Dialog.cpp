#include "Lookup_Delete_Dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Shared_Routines.h"

Lookup_Delete_Dialog::Lookup_Delete_Dialog(QWidget* parent, const QString& caption, const QString& label,
                                           const QString& list_name, const QString& delete_caption,
                                           const QString& table, const QString& column)
    : QDialog(parent)
    , table_(table)
    , column_(column)
{
    setWindowTitle(caption);
    setModal(true);
    resize(320, 300);
    auto* layout = new QVBoxLayout(this);
    List = new QListWidget;
    List->setObjectName(list_name);
    Label1 = new QLabel(label);
    Label1->setObjectName("Label1");
    Label1->setBuddy(List);
    layout->addWidget(Label1);
    layout->addWidget(List, 1);
    Delete_Title = new QPushButton(delete_caption);
    Delete_Title->setObjectName("Delete_Title");
    OK = new QPushButton("OK");
    OK->setObjectName("OK");
    OK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Delete_Title);
    buttons->addStretch();
    buttons->addWidget(OK);
    layout->addLayout(buttons);
    connect(Delete_Title, &QPushButton::clicked, this, &Lookup_Delete_Dialog::Delete_Title_Click);
    connect(OK, &QPushButton::clicked, this, &Lookup_Delete_Dialog::OK_Click);
    Load();
}

void Lookup_Delete_Dialog::Load()
{
    try {
        const QList<QSqlRecord> rows =
            Open_Database().Select("SELECT " + column_ + " FROM " + table_ + " ORDER BY rowid");
        for (const QSqlRecord& row : rows) {
            const QString value = Null_To_Empty(row.value(0));
            if (!value.isEmpty())
                List->addItem(value);
        }
    } catch (const Program_Error& e) {
        Message_Box("Error on reading the list: " + e.Description());
    }
    if (List->count() > 0)
        List->setCurrentRow(0);
    Delete_Title->setEnabled(List->count() > 0);
}

void Lookup_Delete_Dialog::Delete_Title_Click()
{
    QListWidgetItem* selected = List->currentItem();
    if (!selected)
        return;
    const QString item = selected->text();
    if (Message_Box("Do you want to Delete " + item + "?", vbYesNo, "Delete Title") != vbYes)
        return;
    try {
        Open_Database().Execute("DELETE FROM " + table_ + " WHERE " + column_ + " = ?", {item});
    } catch (const Program_Error& e) {
        Message_Box("Error on deleting from the list: " + e.Description());
        return;
    }
    delete List->takeItem(List->row(selected));
    if (List->count() > 0)
        List->setCurrentRow(0);
    // Nothing left to delete.
    Delete_Title->setEnabled(List->count() > 0);
}

void Lookup_Delete_Dialog::OK_Click()
{
    accept();
}

void Lookup_Delete_Dialog::done(int result)
{
    // OK, Escape and the window's close box all end the opener's wait.
    GlobalVariables::Delete_Dialog_Closed = true;
    QDialog::done(result);
}
