#include "Attachment_Pick_List.h"

#include <QComboBox>
#include <QHBoxLayout>

#include "Dialogs.h"
#include "Key_Toolbar.h"
#include "Named_Controls.h"

Attachment_Pick_List::Attachment_Pick_List(const Attachment_Pick_List_Shape& shape, QWidget* parent)
    : QWidget(parent)
    , shape_(shape)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    box_ = Choice_Box(shape.list_name, false);
    // Paths are long: the box shows their ends in a tip and takes the room it gets.
    box_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box_->setMinimumContentsLength(12);
    toolbar_ = new Key_Toolbar(QString::fromLatin1(shape.toolbar_name));
    QAction* clip = toolbar_->Add_Button("Add", "", shape.button_tip, "Clip");
    toolbar_->Add_Menu_Entry(clip, "Add", shape.add_text);
    toolbar_->Add_Menu_Entry(clip, "Remove", shape.remove_text);
    layout->addWidget(box_, 1);
    layout->addWidget(toolbar_);
    connect(toolbar_, &Key_Toolbar::Button_Click, this, &Attachment_Pick_List::Run_Command);
    connect(toolbar_, &Key_Toolbar::Button_Menu_Click, this, &Attachment_Pick_List::Run_Command);
    connect(box_, &QComboBox::currentTextChanged, box_, [this](const QString& text) { box_->setToolTip(text); });
}

QStringList Attachment_Pick_List::Paths() const
{
    QStringList paths;
    for (int i = 0; i < box_->count(); ++i)
        paths << box_->itemText(i);
    return paths;
}

int Attachment_Pick_List::Count() const
{
    return box_->count();
}

void Attachment_Pick_List::Set_Paths(const QStringList& paths)
{
    box_->clear();
    box_->addItems(paths);
    if (!paths.isEmpty())
        box_->setCurrentIndex(0);
}

void Attachment_Pick_List::Add_Path(const QString& path)
{
    const int shown = box_->currentIndex();
    box_->addItem(path);
    box_->setCurrentIndex(shape_.show_added ? box_->count() - 1 : shown);
}

void Attachment_Pick_List::Clear()
{
    box_->clear();
}

void Attachment_Pick_List::Clear_Shown_Text()
{
    box_->setCurrentIndex(-1);
}

void Attachment_Pick_List::Run_Command(const QString& Key)
{
    if (guard_ && !guard_())
        return;
    if (Key == "Add") {
        const QString path = Open_File_Dialog("Open Attachment", "All Files (*.*)");
        if (path.isEmpty())
            return;
        Add_Path(path);
        Q_EMIT Entries_Changed();
    } else if (Key == "Remove") {
        const int index = box_->currentIndex();
        if (index < 0) {
            if (!shape_.nothing_selected_message.isEmpty())
                Message_Box(shape_.nothing_selected_message);
            return;
        }
        box_->removeItem(index);
        Q_EMIT Entries_Changed();
    }
}
