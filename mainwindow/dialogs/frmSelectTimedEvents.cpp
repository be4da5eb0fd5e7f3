#include "frmSelectTimedEvents.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Clock.h"
#include "Dialogs.h"
#include "Program_Error.h"

namespace {

const char* const Date_Format = "MM/dd/yyyy";

QDate Read_Date(const QLineEdit* box)
{
    const QString text = box->text().trimmed();
    for (const char* format : {"MM/dd/yyyy", "M/d/yyyy", "yyyy-MM-dd"}) {
        const QDate date = QDate::fromString(text, QString::fromLatin1(format));
        if (date.isValid())
            return date;
    }
    throw Program_Error("\"" + text + "\" is not a date (mm/dd/yyyy).");
}

} // namespace

Where_Clause Timed_Events_Clause(QDate From, QDate To, const QString& Event_Type)
{
    if (To < From)
        std::swap(From, To);
    return {"WHERE Contacts.ID IN (SELECT Eventhistory.ContactID FROM Eventhistory "
            "WHERE Eventhistory.EventDate >= ? AND Eventhistory.EventDate < ? AND Eventhistory.Event_Type = ?)",
            {QDateTime(From, QTime(0, 0)), QDateTime(To.addDays(1), QTime(0, 0)), Event_Type}};
}

frmSelectTimedEvents::frmSelectTimedEvents(QWidget* parent, Group_Chosen chosen)
    : QDialog(parent)
    , chosen_(std::move(chosen))
{
    setObjectName("frmSelectTimedEvents");
    setWindowTitle("Select Time-Related Contacts");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("Select an Event Interval");
    layout->addWidget(heading);
    auto* grid = new QGridLayout;
    FromMonth = new QCalendarWidget;
    FromMonth->setObjectName("FromMonth");
    ToMonth = new QCalendarWidget;
    ToMonth->setObjectName("ToMonth");
    txtFromDate = new QLineEdit;
    txtFromDate->setObjectName("txtFromDate");
    txtToDate = new QLineEdit;
    txtToDate->setObjectName("txtToDate");
    auto* from = new QLabel("&From");
    from->setBuddy(txtFromDate);
    auto* to = new QLabel("&To");
    to->setBuddy(txtToDate);
    grid->addWidget(from, 0, 0);
    grid->addWidget(txtFromDate, 0, 1);
    grid->addWidget(to, 0, 2);
    grid->addWidget(txtToDate, 0, 3);
    grid->addWidget(FromMonth, 1, 0, 1, 2);
    grid->addWidget(ToMonth, 1, 2, 1, 2);
    layout->addLayout(grid);
    Combo_Event_Type = new QComboBox;
    Combo_Event_Type->setObjectName("Combo_Event_Type");
    Combo_Event_Type->setEditable(true);
    auto* type = new QLabel("&Event:");
    type->setBuddy(Combo_Event_Type);
    Select_Events = new QPushButton("Select");
    Select_Events->setObjectName("Select_Events");
    Select_Events->setDefault(true);
    Cancel = new QPushButton("Cancel");
    Cancel->setObjectName("Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(type);
    buttons->addWidget(Combo_Event_Type, 1);
    buttons->addStretch();
    buttons->addWidget(Select_Events);
    buttons->addWidget(Cancel);
    layout->addLayout(buttons);

    const QDate today = Now().date();
    FromMonth->setSelectedDate(today);
    ToMonth->setSelectedDate(today);
    txtFromDate->setText(today.toString(Date_Format));
    txtToDate->setText(today.toString(Date_Format));
    Combo_Event_Type->addItems({"Email In", "Email Out", "Incoming Call", "Outgoing Call"});
    Combo_Event_Type->setCurrentIndex(0);

    connect(FromMonth, &QCalendarWidget::clicked, this,
            [this](QDate date) { txtFromDate->setText(date.toString(Date_Format)); });
    connect(ToMonth, &QCalendarWidget::clicked, this,
            [this](QDate date) { txtToDate->setText(date.toString(Date_Format)); });
    connect(FromMonth, &QCalendarWidget::activated, this,
            [this](QDate date) { txtFromDate->setText(date.toString(Date_Format)); });
    connect(ToMonth, &QCalendarWidget::activated, this,
            [this](QDate date) { txtToDate->setText(date.toString(Date_Format)); });
    connect(Select_Events, &QPushButton::clicked, this, &frmSelectTimedEvents::Select_Events_Click);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::close);
    Select_Events->installEventFilter(this);
    txtFromDate->setFocus();
}

bool frmSelectTimedEvents::eventFilter(QObject* watched, QEvent* event)
{
    // Tabbing onto Select runs the selection, as a press would.
    if (watched == Select_Events && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            QMetaObject::invokeMethod(this, &frmSelectTimedEvents::Select_Events_Click, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}

void frmSelectTimedEvents::Select_Events_Click()
{
    try {
        const Where_Clause clause = Timed_Events_Clause(Read_Date(txtFromDate), Read_Date(txtToDate),
                                                        Combo_Event_Type->currentText());
        chosen_(clause, std::nullopt);
    } catch (const Program_Error& e) {
        Message_Box("Error on Select Events: " + e.Description());
    }
    close();
}
