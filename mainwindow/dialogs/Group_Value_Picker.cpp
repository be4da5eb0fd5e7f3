#include "Group_Value_Picker.h"

#include <QKeyEvent>
#include <QSqlRecord>
#include <QVBoxLayout>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Key_Toolbar.h"
#include "List_View.h"

Group_Value_Picker::Group_Value_Picker(QWidget* parent, const Kind& kind, Group_Chosen chosen)
    : QDialog(parent)
    , kind_(kind)
    , chosen_(std::move(chosen))
{
    setWindowTitle(kind_.caption);
    auto* layout = new QVBoxLayout(this);
    Toolbar1 = new Key_Toolbar("Toolbar1");
    Toolbar1->Add_Button("Select", "Select", kind_.select_tip, kind_.select_icon);
    Toolbar1->Add_Button(kind_.cancel_key, "Cancel", kind_.cancel_tip, "Cancel");
    layout->addWidget(Toolbar1);
    List = new List_View(kind_.list_name);
    layout->addWidget(List);
    connect(Toolbar1, &Key_Toolbar::Button_Click, this, &Group_Value_Picker::Toolbar1_ButtonClick);
    connect(List, &List_View::Item_Click, this, [this](QTreeWidgetItem* item) {
        if (item)
            Selected_Item_Key = List_View::Item_Key(item);
    });
    connect(List, &QTreeWidget::itemDoubleClicked, this, &Group_Value_Picker::List_DblClick);
    connect(List, &List_View::Column_Click, List, &List_View::Column_Sort);
    List->installEventFilter(this);
    Fill_List();
    resize(340, 380);
}

void Group_Value_Picker::Fill_List()
{
    List->clear();
    List->Set_Columns({{"", 1}, {kind_.column_caption, 3000}});
    List->Add_Row({kind_.empty_code, {kind_.first_row_text}, {}, {}, {}});
    try {
        for (const QSqlRecord& record : Open_Database().Select(kind_.query)) {
            // The empty value has the first row; a value listed twice keeps its first row.
            const QString value = Db_Text(record, kind_.field);
            if (!value.isEmpty())
                List->Add_Row({kind_.row_prefix + value + "-:::-", {value}, {}, {}, {}});
        }
    } catch (const Program_Error& e) {
        Message_Box("Error on " + kind_.caption + ": " + e.Description());
    }
    List->Column_Sort(1);
}

bool Group_Value_Picker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (QTreeWidgetItem* item = List->currentItem())
                Selected_Item_Key = List_View::Item_Key(item);
            Toolbar1_ButtonClick("Select");
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Group_Value_Picker::Toolbar1_ButtonClick(const QString& Key)
{
    if (Key == "Select") {
        Apply_Selection(Selected_Item_Key);
        accept();
    } else if (Key == kind_.cancel_key) {
        reject();
    }
}

void Group_Value_Picker::List_DblClick()
{
    Apply_Selection(Selected_Item_Key);
    accept();
}

void Group_Value_Picker::Apply_Selection(const QString& Key)
{
    if (Key.isEmpty()) {
        Message_Box("You must first select an item from the list!");
        return;
    }
    const QString column = "Contacts." + kind_.column;
    if (Key.left(3) == kind_.empty_code) {
        chosen_({"WHERE ((" + column + " = '') OR (" + column + " IS NULL))", {}}, kind_.empty_caption);
    } else if (Key.left(3) == kind_.row_prefix) {
        // The value as the row shows it: a value may hold any text, the key's separator too.
        const QTreeWidgetItem* row = List->Find_Key(Key);
        const QString value = row ? row->text(1) : QString();
        chosen_({"WHERE (" + column + " = ?)", {value}}, value);
    }
}
