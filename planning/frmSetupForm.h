#pragma once
// The settings dialog: the one settings row on five pages, the log-in
// password and the invalid e-mail subject strings. Every way of closing it
// saves the fields the user changed, one by one, and puts the settings in use
// at once; fields it does not show are never written.

#include <QDialog>
#include <QHash>
#include <QVariant>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QWidget;

class frmSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit frmSetupForm(QWidget* parent = nullptr);

    QTabWidget* TabStrip1 = nullptr;
    QWidget* frameUser_Settings = nullptr;
    QWidget* frameEmail_Settings = nullptr;
    QWidget* frameFile_Import = nullptr;
    QWidget* frameBackup = nullptr;
    QWidget* framePassword = nullptr;
    QWidget* frameInvalid_Email = nullptr;

    QLineEdit* txtCurrent_Password = nullptr;
    QLineEdit* txtNewPassword = nullptr;
    QLineEdit* txtRetype_Password = nullptr;
    QPushButton* Apply_Changes = nullptr;

    QListWidget* lstEmail_Search_Strings = nullptr;
    QPushButton* Add_Search_String = nullptr;
    QPushButton* Delete_Search = nullptr;

    QPushButton* CloseSettings = nullptr;

    void Apply_Changes_Click();
    void Add_Search_String_Click();
    void Delete_Search_Click();
    void CloseSettings_Click();

    // Writes the fields changed since the row was read; false (after its
    // message) when the row could not be written, which then keeps its values.
    bool Save_Settings();

protected:
    void done(int result) override;

private:
    void Build_Pages();
    void Bind_Controls();
    void Fill_Search_List();
    // What a bound control shows, as it would be stored.
    QVariant Shown_Value(const QString& field) const;
    void Enable_Delete();

    // Field name -> its control (a QLineEdit or a QCheckBox).
    QHash<QString, QWidget*> bound_;
    // What each control showed when the row was read.
    QHash<QString, QVariant> read_;
    bool row_read_ = false;
    bool closed_ = false;
};
