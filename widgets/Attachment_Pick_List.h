#pragma once
// A pick list of files to attach: a drop-down box of full paths beside a small
// toolbar whose one button ("Add") picks a file and whose menu offers "Add"
// and "Remove". Nothing is copied here; the owner hands the paths on when it
// posts or records its item. The composer, the schedule and record frames and
// the outbox entry editor each hold one, under their own control names.

#include <QStringList>
#include <QWidget>
#include <functional>

class Key_Toolbar;
class QComboBox;

struct Attachment_Pick_List_Shape {
    const char* list_name;        // the box's control name
    const char* toolbar_name;     // the toolbar's control name
    QString button_tip;
    QString add_text;             // menu entry texts
    QString remove_text;
    // An added file becomes the box's shown entry (else the box text stays).
    bool show_added = true;
    // Said when Remove finds no entry shown; empty: Remove then does nothing.
    QString nothing_selected_message;
};

class Attachment_Pick_List : public QWidget {
    Q_OBJECT
public:
    explicit Attachment_Pick_List(const Attachment_Pick_List_Shape& shape, QWidget* parent = nullptr);

    QComboBox* Box() const { return box_; }
    Key_Toolbar* Toolbar() const { return toolbar_; }

    QStringList Paths() const;
    int Count() const;
    void Set_Paths(const QStringList& paths);
    void Add_Path(const QString& path);
    void Clear();
    // No entry shown; the entries stay.
    void Clear_Shown_Text();

    // Asked before every command; a false answer ends the command unseen.
    void Set_Command_Guard(std::function<bool()> guard) { guard_ = std::move(guard); }

    // The toolbar's keys: "Add" asks for a file ("Open Attachment"; Cancel adds
    // nothing), "Remove" takes out the entry shown.
    void Run_Command(const QString& Key);

Q_SIGNALS:
    // The user added or removed an entry.
    void Entries_Changed();

private:
    Attachment_Pick_List_Shape shape_;
    QComboBox* box_ = nullptr;
    Key_Toolbar* toolbar_ = nullptr;
    std::function<bool()> guard_;
};
