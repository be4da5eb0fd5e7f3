#include "Named_Controls.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>
#include <limits>

QLineEdit* Text_Box(const char* name)
{
    return Named(new QLineEdit, name);
}

QLineEdit* Hidden_Box(const char* name, QWidget* parent)
{
    QLineEdit* box = Named(new QLineEdit(parent), name);
    box->hide();
    return box;
}

QComboBox* Choice_Box(const char* name, bool editable)
{
    auto* box = Named(new QComboBox, name);
    Set_Up_Choice_Box(box, editable);
    return box;
}

void Set_Up_Choice_Box(QComboBox* box, bool editable)
{
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(6);
}

void Refill_Choices(QComboBox* box, const QStringList& values)
{
    const QString shown = box->currentText();
    const bool blocked = box->blockSignals(true);
    box->clear();
    for (const QString& value : values)
        if (!value.isEmpty())
            box->addItem(value);
    box->setEditText(shown);
    box->blockSignals(blocked);
}

QLabel* Caption(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QLabel* Caption_Of(const QWidget* area, const QWidget* control)
{
    for (QLabel* label : area->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label;
    return nullptr;
}

void Take_Any_Length(std::initializer_list<QLineEdit*> boxes)
{
    for (QLineEdit* box : boxes)
        box->setMaxLength(std::numeric_limits<int>::max());
}

void Set_Least_Lines(QAbstractScrollArea* area, int lines)
{
    area->setMinimumHeight(area->fontMetrics().lineSpacing() * lines + 2 * area->frameWidth() + 8);
}

QWidget* Scrolling_Page(QWidget* frame)
{
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    // Tab goes to the boxes inside, not to the scroller round them.
    scroller->setFocusPolicy(Qt::NoFocus);
    auto* page = new QWidget;
    scroller->setWidget(page);
    layout->addWidget(scroller);
    return page;
}

QList<QLabel*> Add_Status_Panels(QStatusBar* bar, std::initializer_list<int> least_widths, int Stretching)
{
    QList<QLabel*> panels;
    for (const int width : least_widths) {
        auto* panel = new QLabel;
        panel->setObjectName(QString("%1_Panel%2").arg(bar->objectName()).arg(panels.size() + 1));
        panel->setMinimumWidth(width);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        bar->addWidget(panel, panels.size() < Stretching ? 1 : 0);
        panels << panel;
    }
    return panels;
}
