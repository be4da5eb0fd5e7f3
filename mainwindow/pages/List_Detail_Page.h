#pragma once
// A page of a list beside the entry it shows (the unmatched e-mails, the
// outbox): the list under its whole-list toolbar on the left, the entry on
// the right. The pages differ in what they show and what they do with it.

#include <QGroupBox>

class Key_Toolbar;
class List_View;
class QSplitter;

class List_Detail_Page : public QGroupBox {
    Q_OBJECT
protected:
    List_Detail_Page(const QString& caption, const char* name, QWidget* parent);

    // Puts the list side and the entry side in place; the page calls it once.
    void Place(Key_Toolbar* list_toolbar, List_View* list, QWidget* entry);
    // Shows the row at the 1-based position (the last one when past the end),
    // or no entry when the list is empty; the position follows.
    void Select_Row_At(int& Position);
    // Gives the list side the width its columns take, the entry the rest of
    // the window's width.
    void Fit_List_Side();

    virtual void Show_Entry(const QString& Key) = 0;
    virtual void Show_No_Entry() = 0;

private:
    QSplitter* splitter_ = nullptr;
    List_View* list_ = nullptr;
};
