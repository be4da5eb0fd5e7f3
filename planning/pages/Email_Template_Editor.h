#pragma once
// The "Email Templates" page: the named templates of the composer, the
// schedule frame and the birthday run, each with a delete node but
// "Birthday", and the editor of the one shown. Edits are stored only by Save.

#include <QString>
#include <QWidget>

class Planning_Tree;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QTreeWidgetItem;

class Email_Template_Editor : public QWidget {
    Q_OBJECT
public:
    explicit Email_Template_Editor(QWidget* parent = nullptr);

    Planning_Tree* TreeEmailTemplate = nullptr;
    QPushButton* Add_Email_Template = nullptr;
    QGroupBox* frameEmailTemplateEditing = nullptr;
    QLabel* lblEmailTemplateName = nullptr;
    QLineEdit* txtFrameEmailTemplateSubject = nullptr;
    QTextEdit* txtFrameEmailTemplateMessage = nullptr;
    QLineEdit* txtFrameTemplateID_Number = nullptr;
    QPushButton* Save_Email_Template = nullptr;
    QPushButton* Spell_Check_Email_Template_Message = nullptr;

    // Builds the tree from the table, in name order.
    void Load();

    // The shown template carries the changed mark (its Save would write).
    bool Modified() const { return changed; }
    // Save_Email_Template_Click: writes the shown template when it carries
    // the changed mark; false when the database failed.
    bool Save();

    void Show_Email_Template(const QString& Name);

private:
    void Add_Email_Template_Click();
    void TreeEmailTemplate_NodeClick(QTreeWidgetItem* Node);
    void Add_Template_Nodes(const QString& Name);
    void Spell_Check_Email_Template_Message_Click();

    bool changed = false;
};
