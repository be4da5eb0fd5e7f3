#pragma once
// The controls every pane builds, each under its own name (its objectName is
// the name the code and the tests know it by).

#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>

class QAbstractScrollArea;
class QComboBox;
class QLabel;
class QLineEdit;
class QObject;
class QStatusBar;
class QWidget;

template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QLineEdit* Text_Box(const char* name);
// A box the code keeps values in but the user never sees.
QLineEdit* Hidden_Box(const char* name, QWidget* parent);
// A drop-down box, editable or a plain choice; it takes no entry the user types.
QComboBox* Choice_Box(const char* name, bool editable);
void Set_Up_Choice_Box(QComboBox* box, bool editable);
// Puts the values (empty ones left out) into the box, keeping the text it shows;
// no change signal goes out for it.
void Refill_Choices(QComboBox* box, const QStringList& values);

// A caption whose Alt letter gives the keyboard to its buddy.
QLabel* Caption(const QString& text, QWidget* buddy = nullptr);
// The caption that goes with a control, shown and hidden with it.
QLabel* Caption_Of(const QWidget* area, const QWidget* control);

// A text area at least this many lines high (less than its default), so the
// frame that holds it fits a small screen; it grows with the frame.
void Set_Least_Lines(QAbstractScrollArea* area, int lines);

// The page a frame's controls go on: it scrolls inside the frame when the
// frame has less room than the controls need, so that showing the frame never
// makes the window grow.
QWidget* Scrolling_Page(QWidget* frame);

// A box keeps 32767 characters unless told otherwise: a longer stored value
// would be cut short, and stored so by the next save.
void Take_Any_Length(std::initializer_list<QLineEdit*> boxes);

// Sunken text panels across a status bar, named after it ("StatusBar1_Panel1"
// and on), at least the given widths; the first Stretching ones share the
// room the others leave, so a long text never makes the window grow.
QList<QLabel*> Add_Status_Panels(QStatusBar* bar, std::initializer_list<int> least_widths, int Stretching);
