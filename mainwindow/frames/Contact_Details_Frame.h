#pragma once
// The shown contact's details in the detail area: address, company, birthday,
// purchase date, options, source, workflow start and notes. Its boxes are the
// other half of the contact record (the contact head holds the first).

#include <QGroupBox>

#include "Contact_Record.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class Contact_Details_Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Contact_Details_Frame(QWidget* parent = nullptr);

    void Show_Contact(const QSqlRecord& contact);
    // The columns of this frame's boxes; false (after the message, with the
    // keyboard in the box to mend) when a box cannot be stored.
    bool Read_Changes(Contact_Changes& changes) const;
    bool Modified() const { return modified_; }
    void Set_Modified(bool modified) { modified_ = modified; }

private:
    void Change_Workflow_Start_Date_Click();

    QLineEdit* txtAddress = nullptr;
    QLineEdit* txtCity = nullptr;
    QLineEdit* txtState = nullptr;
    QLineEdit* txtZipcode = nullptr;
    QLineEdit* txtCompany = nullptr;
    QLineEdit* txtB_Month = nullptr;
    QLineEdit* txtB_Day = nullptr;
    QLineEdit* txtB_Year = nullptr;
    QLineEdit* txtBought_Month = nullptr;
    QLineEdit* txtBoughtDay = nullptr;
    QLineEdit* txtBought_Year = nullptr;
    QLineEdit* txtSource = nullptr;
    QLineEdit* txtOptions = nullptr;
    QPlainTextEdit* txtNotes = nullptr;
    QLineEdit* txtWorkflowBeginDate = nullptr;
    QPushButton* Change_Workflow_Start_Date = nullptr;   // "Now"
    QCheckBox* chkTimeline_Enabled = nullptr;            // "Stop Workflow"
    QCheckBox* chkWorkflowCompleted = nullptr;           // "Workflow Completed?"

    bool modified_ = false;
};
