#pragma once
// A small window that says what long work is doing while no other window of
// the program is up; drawn at once, as the work holds the thread after it.

#include <QWidget>

class QLabel;

class Work_Note : public QWidget {
    Q_OBJECT
public:
    Work_Note();
    // Shows the note with the text, or hides it for the empty text.
    void Say(const QString& text);

private:
    QLabel* text_ = nullptr;
};
