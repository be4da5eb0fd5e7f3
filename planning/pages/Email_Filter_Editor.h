#pragma once
// The "Email Import Filters" page: the tree of e-mail import filters. Its
// one root is there from the start; the filters come with its first click.

#include <QWidget>

class Planning_Tree;

class Email_Filter_Editor : public QWidget {
    Q_OBJECT
public:
    explicit Email_Filter_Editor(QWidget* parent = nullptr);

    Planning_Tree* TreeEmailFilters = nullptr;

    void Load();
    bool Modified() const { return false; }
    bool Save() { return true; }
};
