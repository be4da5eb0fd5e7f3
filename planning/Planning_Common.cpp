#include "Planning_Common.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include "Database.h"
#include "Dialogs.h"

void Show_Planning_Error(const QString& Operation, const std::exception& Error)
{
    const auto* database = dynamic_cast<const Database_Error*>(&Error);
    const QString description = database ? database->Description() : QString::fromLocal8Bit(Error.what());
    Message_Box("Error on " + Operation + ": " + description);
}

QString Stored_Lines(const QString& Box_Text)
{
    QString text = Box_Text;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    text.replace("\n", "\r\n");
    return text;
}

bool Read_Whole_Number(const QString& Text, int Lowest, int Highest, int* Value)
{
    static const QRegularExpression digits("^[0-9]{1,9}$");
    const QString text = Text.trimmed();
    if (!digits.match(text).hasMatch())
        return false;
    const int value = text.toInt();
    if (value < Lowest || value > Highest)
        return false;
    *Value = value;
    return true;
}

void Focus_Refused_Box(QWidget* Box)
{
    if (!Box)
        return;
    Box->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(Box))
        line->selectAll();
}

void Lay_Out_Tree_And_Editor(QWidget* Page, QWidget* Tree_Side, QWidget* Editor)
{
    auto* editor_area = new QWidget;
    auto* editor_layout = new QVBoxLayout(editor_area);
    editor_layout->setContentsMargins(0, 0, 0, 0);
    editor_layout->addWidget(Editor);
    // On a small screen the editor scrolls rather than losing its lower boxes.
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(editor_area);
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(Tree_Side);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);
    // Wide enough for a step node "Event#: 10 Type: Email Out Days: 30 Hours: 12".
    splitter->setSizes({360, 620});
    auto* layout = new QHBoxLayout(Page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

QLabel* New_Heading(const QString& Name)
{
    auto* label = new QLabel;
    label->setObjectName(Name);
    QFont heading = label->font();
    heading.setBold(true);
    label->setFont(heading);
    return label;
}

QLabel* New_Caption(const QString& Text, QWidget* Buddy)
{
    auto* label = new QLabel(Text);
    label->setBuddy(Buddy);
    return label;
}

QLineEdit* New_Line(const QString& Name)
{
    auto* box = new QLineEdit;
    box->setObjectName(Name);
    return box;
}

void Place_Over_Active_Window(QWidget* Window)
{
    QWidget* over = QApplication::activeWindow();
    QScreen* screen = over && over->screen() ? over->screen() : QApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Room for the title bar and borders, unknown before the first show.
    const QSize decoration(16, 40);
    // A window its layout sizes has that size only once shown.
    if (!Window->testAttribute(Qt::WA_Resized))
        Window->resize(Window->sizeHint());
    Window->resize(Window->size().boundedTo(area.size() - decoration));
    QRect frame(QPoint(), Window->size() + decoration);
    frame.moveCenter(over ? over->geometry().center() : area.center());
    frame.moveLeft(qBound(area.left(), frame.left(), qMax(area.left(), area.right() - frame.width())));
    frame.moveTop(qBound(area.top(), frame.top(), qMax(area.top(), area.bottom() - frame.height())));
    Window->move(frame.topLeft());
}
