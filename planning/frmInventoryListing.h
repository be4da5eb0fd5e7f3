#pragma once
// The inventory listing: the vehicles of one product, shown one at a time,
// edited in place, added and deleted. Each record is known by its ID, so two
// records alike in every field are still edited and deleted one by one. The
// shown record's edits are written when the user pages, adds, changes the
// product or closes the window.

#include <QHash>
#include <QList>
#include <QVariant>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolButton;

class frmInventoryListing : public QWidget {
    Q_OBJECT
public:
    explicit frmInventoryListing(QWidget* parent = nullptr);

    QComboBox* lstProducts = nullptr;
    QToolButton* Previous = nullptr;
    QToolButton* Next = nullptr;
    QPushButton* Add_Item = nullptr;
    QPushButton* Delete_Item = nullptr;
    QPushButton* Close_Inventory = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusBar1_Panel1 = nullptr;
    QLabel* StatusBar1_Panel2 = nullptr;

    void lstProducts_Click();
    void Next_Click();
    void Previous_Click();
    void Add_Item_Click();
    void Delete_Item_Click();
    void Close_Inventory_Click();

    // The ID of the shown record, 0 when none is shown.
    qint64 Shown_Record_ID() const;
    // Writes the shown record's edits; false (after its message) when they
    // could not be written.
    bool Save_Shown_Record();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build_Fields(class QGridLayout* texts, class QGridLayout* flags);
    void Fill_Product_List();
    qint64 Get_Product_ID(const QString& product);
    void Show_Record();
    void Show_Record_Position();
    QHash<QString, QVariant> Shown_Values() const;

    QHash<QString, QLineEdit*> texts_;
    QHash<QString, QCheckBox*> flags_;
    qint64 product_id_ = 0;
    QList<qint64> record_ids_;     // the product's records, in table order
    int position_ = -1;            // of the shown record, -1 when none
    QHash<QString, QVariant> read_;  // the shown record's fields as read
};
