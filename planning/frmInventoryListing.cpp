#include "frmInventoryListing.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Settings.h"
#include "Shared_Routines.h"

namespace {

struct Inventory_Field {
    const char* field;
    const char* caption;
};

const Inventory_Field Text_Fields[] = {
    {"Year", "Year"},
    {"Make", "Make"},
    {"Model", "Model"},
    {"VIN", "VIN"},
    {"Price", "Price"},
    {"Color_Interior", "Interior Color"},
    {"Color_Exterior", "Exterior Color"},
    {"Transmission", "Transmission"},
    {"Number_Of_Cylinders", "Number of Cyl"},
    {"Size_Of_Engine", "Engine Size"},
    {"Number_Of_Doors", "# of Doors"},
    {"Other", "Other"},
};

const Inventory_Field Flag_Fields[] = {
    {"Air_Conditioning", "Air Conditioning"},
    {"Rear_Air_Conditioning", "Rear Air Conditioning"},
    {"AM_FM_Radio", "AM/FM Radio"},
    {"Cassette", "Cassette"},
    {"Single_CD_Player", "Single CD Player"},
    {"Multi_Disc_Changer", "Multi-Disk Changer"},
    {"Power_Locks", "Power Locks"},
    {"Power_Windows", "Power Windows"},
    {"Power_Steering", "Power Steering"},
    {"Power_Driver_Seat", "Power Driver Seat"},
    {"Power_Passenger_Seat", "Power Passenger Seat"},
    {"Tilt_Wheel", "Tilt Wheel"},
    {"Cruise_Control", "Cruise Control"},
    {"Anti_Lock_Brakes", "Anti-Lock Brakes"},
    {"Sun_Roof", "Sun Roof"},
    {"Moon_Roof", "Moon Roof"},
    {"Roof_Rack", "Roof Rack"},
    {"Overhead_Console", "Overheard Console"},
    {"Leather_Interior", "Leather Interior"},
    {"Bench_Seating", "Bench Seating"},
    {"Bucket_Seating", "Bucket Seating"},
    {"Child_Seat", "Child Seat"},
    {"Alloy_Wheels", "Alloy Wheels"},
    {"Tow_Package", "Tow Package"},
    {"Extended_Cab", "Extended Cab"},
    {"4_Wheel_Drive", "4-Wheel Drive"},
};

// Field names in SQL: one begins with a digit.
QString Column(const QString& field)
{
    return '"' + field + '"';
}

QPushButton* Button(const QString& caption, const QString& name)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

QToolButton* Arrow_Button(Qt::ArrowType arrow, const QString& name, const QString& tip, QKeySequence key)
{
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setToolTip(tip + " (" + key.toString(QKeySequence::NativeText) + ")");
    button->setShortcut(key);
    button->setMinimumSize(32, 28);
    return button;
}

} // namespace

frmInventoryListing::frmInventoryListing(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName("frmInventoryListing");
    setWindowTitle("Inventory Listing");
    auto* layout = new QVBoxLayout(this);

    lstProducts = new QComboBox;
    lstProducts->setObjectName("lstProducts");
    lstProducts->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lstProducts->setMinimumContentsLength(20);
    auto* product_label = new QLabel("&Product");
    product_label->setBuddy(lstProducts);
    auto* product_row = new QHBoxLayout;
    product_row->addWidget(product_label);
    product_row->addWidget(lstProducts);
    product_row->addStretch();
    layout->addLayout(product_row);

    auto* vehicle = new QGroupBox("Vehicle");
    auto* texts = new QGridLayout(vehicle);
    layout->addWidget(vehicle);
    auto* equipment = new QGroupBox("Equipment");
    auto* flags = new QGridLayout(equipment);
    layout->addWidget(equipment);
    Build_Fields(texts, flags);
    layout->addStretch();

    Previous = Arrow_Button(Qt::LeftArrow, "Previous", "Previous", QKeySequence(Qt::Key_PageUp));
    Next = Arrow_Button(Qt::RightArrow, "Next", "Next", QKeySequence(Qt::Key_PageDown));
    Add_Item = Button("&Add Item", "Add_Item");
    Delete_Item = Button("&Delete Item", "Delete_Item");
    Close_Inventory = Button("&Close", "Close_Inventory");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Previous);
    buttons->addWidget(Next);
    buttons->addSpacing(12);
    buttons->addWidget(Add_Item);
    buttons->addWidget(Delete_Item);
    buttons->addStretch();
    buttons->addWidget(Close_Inventory);
    layout->addLayout(buttons);

    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1_Panel1 = new QLabel;
    StatusBar1_Panel1->setObjectName("StatusBar1_Panel1");
    StatusBar1_Panel1->setToolTip("Records of the product");
    StatusBar1_Panel2 = new QLabel;
    StatusBar1_Panel2->setObjectName("StatusBar1_Panel2");
    StatusBar1_Panel2->setToolTip("The record shown");
    for (QLabel* panel : {StatusBar1_Panel1, StatusBar1_Panel2}) {
        panel->setMinimumWidth(90);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        StatusBar1->addWidget(panel);
    }
    layout->addWidget(StatusBar1);

    connect(lstProducts, &QComboBox::activated, this, &frmInventoryListing::lstProducts_Click);
    connect(Next, &QToolButton::clicked, this, &frmInventoryListing::Next_Click);
    connect(Previous, &QToolButton::clicked, this, &frmInventoryListing::Previous_Click);
    connect(Add_Item, &QPushButton::clicked, this, &frmInventoryListing::Add_Item_Click);
    connect(Delete_Item, &QPushButton::clicked, this, &frmInventoryListing::Delete_Item_Click);
    connect(Close_Inventory, &QPushButton::clicked, this, &frmInventoryListing::Close_Inventory_Click);

    Fill_Product_List();
    // The first product is chosen.
    lstProducts_Click();
    lstProducts->setFocus();
}

void frmInventoryListing::Build_Fields(QGridLayout* texts, QGridLayout* flags)
{
    // Two pairs of caption and box a row.
    int index = 0;
    for (const Inventory_Field& field : Text_Fields) {
        auto* box = new QLineEdit;
        box->setObjectName(QString("txt") + field.field);
        auto* label = new QLabel(field.caption);
        label->setBuddy(box);
        const int row = index / 2;
        const int column = (index % 2) * 2;
        texts->addWidget(label, row, column);
        texts->addWidget(box, row, column + 1);
        texts_.insert(field.field, box);
        ++index;
    }
    texts->setColumnStretch(1, 1);
    texts->setColumnStretch(3, 1);
    texts->setColumnMinimumWidth(2, 100);

    // Four check boxes a row, filled column by column.
    const int count = int(std::size(Flag_Fields));
    const int rows = (count + 3) / 4;
    index = 0;
    for (const Inventory_Field& field : Flag_Fields) {
        auto* box = new QCheckBox(field.caption);
        box->setObjectName(QString("chk") + field.field);
        flags->addWidget(box, index % rows, index / rows);
        flags_.insert(field.field, box);
        ++index;
    }
}

void frmInventoryListing::Fill_Product_List()
{
    lstProducts->clear();
    try {
        for (const QSqlRecord& row : Open_Database().Select("SELECT Product FROM Products ORDER BY Product"))
            lstProducts->addItem(Null_To_Empty(row.value(0)));
    } catch (const Program_Error& e) {
        Message_Box("Error on reading the products: " + e.Description());
    }
    if (lstProducts->count() > 0)
        lstProducts->setCurrentIndex(0);
}

qint64 frmInventoryListing::Get_Product_ID(const QString& product)
{
    return Open_Database().Scalar("SELECT ID FROM Products WHERE Product = ?", {product}).toLongLong();
}

qint64 frmInventoryListing::Shown_Record_ID() const
{
    return position_ >= 0 && position_ < record_ids_.size() ? record_ids_[position_] : 0;
}

QHash<QString, QVariant> frmInventoryListing::Shown_Values() const
{
    QHash<QString, QVariant> values;
    for (auto it = texts_.cbegin(); it != texts_.cend(); ++it)
        values.insert(it.key(), it.value()->text());
    for (auto it = flags_.cbegin(); it != flags_.cend(); ++it)
        values.insert(it.key(), it.value()->isChecked());
    return values;
}

bool frmInventoryListing::Save_Shown_Record()
{
    const qint64 id = Shown_Record_ID();
    if (id == 0)
        return true;
    const QHash<QString, QVariant> values = Shown_Values();
    if (values == read_)
        return true;
    QStringList assignments;
    QVariantList params;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        assignments << Column(it.key()) + " = ?";
        params << it.value();
    }
    params << id;
    try {
        Open_Database().Execute("UPDATE Inventory SET " + assignments.join(", ") + " WHERE ID = ?", params);
    } catch (const Program_Error& e) {
        Message_Box("Error on saving the inventory item: " + e.Description());
        return false;
    }
    read_ = values;
    return true;
}

void frmInventoryListing::Show_Record()
{
    QSqlRecord row;
    const qint64 id = Shown_Record_ID();
    if (id != 0) {
        try {
            row = Open_Database().Select_First("SELECT * FROM Inventory WHERE ID = ?", {id});
        } catch (const Program_Error& e) {
            Message_Box("Error on reading the inventory item: " + e.Description());
        }
    }
    for (auto it = texts_.cbegin(); it != texts_.cend(); ++it) {
        it.value()->setText(Null_To_Empty(row.value(it.key())));
        it.value()->setEnabled(id != 0);
    }
    for (auto it = flags_.cbegin(); it != flags_.cend(); ++it) {
        it.value()->setChecked(row.value(it.key()).toLongLong() != 0);
        it.value()->setEnabled(id != 0);
    }
    read_ = Shown_Values();
    Add_Item->setEnabled(product_id_ != 0);
    for (QWidget* button : {static_cast<QWidget*>(Delete_Item), static_cast<QWidget*>(Previous),
                            static_cast<QWidget*>(Next)})
        button->setEnabled(id != 0);
    Show_Record_Position();
}

void frmInventoryListing::Show_Record_Position()
{
    if (record_ids_.isEmpty()) {
        StatusBar1_Panel1->setText("0");
        StatusBar1_Panel2->setText("No records");
        return;
    }
    StatusBar1_Panel1->setText(QString::number(record_ids_.size()));
    StatusBar1_Panel2->setText(QString::number(position_ + 1));
}

void frmInventoryListing::lstProducts_Click()
{
    if (!Save_Shown_Record())
        return;
    product_id_ = 0;
    record_ids_.clear();
    position_ = -1;
    try {
        if (lstProducts->currentIndex() >= 0)
            product_id_ = Get_Product_ID(lstProducts->currentText());
        if (product_id_ != 0)
            for (const QSqlRecord& row :
                 Open_Database().Select("SELECT ID FROM Inventory WHERE Product_ID = ? ORDER BY ID", {product_id_}))
                record_ids_ << row.value(0).toLongLong();
    } catch (const Program_Error& e) {
        Message_Box("Error on reading the inventory: " + e.Description());
    }
    if (!record_ids_.isEmpty())
        position_ = 0;
    Show_Record();
}

void frmInventoryListing::Next_Click()
{
    if (Shown_Record_ID() == 0 || !Save_Shown_Record())
        return;
    if (position_ + 1 < record_ids_.size()) {
        ++position_;
        Show_Record();
    }
}

void frmInventoryListing::Previous_Click()
{
    if (Shown_Record_ID() == 0 || !Save_Shown_Record())
        return;
    if (position_ > 0) {
        --position_;
        Show_Record();
    }
}

void frmInventoryListing::Add_Item_Click()
{
    if (product_id_ == 0 || !Save_Shown_Record())
        return;
    try {
        record_ids_ << Open_Database().Insert("INSERT INTO Inventory (Product_ID) VALUES (?)", {product_id_});
    } catch (const Program_Error& e) {
        Message_Box("Error on adding the inventory item: " + e.Description());
        return;
    }
    position_ = int(record_ids_.size()) - 1;
    Show_Record();
    texts_.value("Year")->setFocus();
}

void frmInventoryListing::Delete_Item_Click()
{
    const qint64 id = Shown_Record_ID();
    if (id == 0)
        return;
    if (Current_Settings().Confirm_Email_Deletes
        && Message_Box("Do you want to delete this product?", vbYesNo, "Delete Confirmation") != vbYes)
        return;
    try {
        Open_Database().Execute("DELETE FROM Inventory WHERE ID = ?", {id});
    } catch (const Program_Error& e) {
        Message_Box("Error on deleting the inventory item: " + e.Description());
        return;
    }
    record_ids_.removeAt(position_);
    // The previous record, or the first when the deleted one was the first.
    position_ = record_ids_.isEmpty() ? -1 : qMax(0, position_ - 1);
    Show_Record();
}

void frmInventoryListing::Close_Inventory_Click()
{
    close();
}

void frmInventoryListing::closeEvent(QCloseEvent* event)
{
    // The close box keeps the shown record's edits, as Close does.
    Save_Shown_Record();
    QWidget::closeEvent(event);
}
