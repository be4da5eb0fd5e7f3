#include "Contact_Details_Frame.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "Clock.h"
#include "Database.h"
#include "Dialogs.h"
#include "Named_Controls.h"
#include "Shared_Routines.h"

namespace {

QString Number_Text(const QVariant& value)
{
    return Is_Null(value) ? QString() : QString::number(value.toLongLong());
}

// What a birthday box takes: 0 (or an empty box) for a part left out, else
// a number in the part's range; the year with all four digits, so that 19 is
// not stored as a year of the first century.
struct Birthday_Part {
    QLineEdit* box;
    int least;
    int most;
    bool four_digits;
};

// Empty stores null, an accepted number stores the number.
bool Birthday_Value(const Birthday_Part& part, QVariant* value)
{
    const QString text = part.box->text().trimmed();
    if (text.isEmpty()) {
        *value = QVariant();
        return true;
    }
    for (const QChar c : text)
        if (c < '0' || c > '9')
            return false;
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok)
        return false;
    if (number != 0 && (number < part.least || number > part.most || (part.four_digits && text.size() != 4)))
        return false;
    *value = number;
    return true;
}

} // namespace

Contact_Details_Frame::Contact_Details_Frame(QWidget* parent)
    : QGroupBox("Contact Details", parent)
{
    setObjectName("frameContactDetails");
    auto* grid = new QGridLayout(Scrolling_Page(this));
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    txtAddress = Text_Box("txtAddress");
    txtCity = Text_Box("txtCity");
    txtState = Text_Box("txtState");
    txtState->setMaximumWidth(60);
    txtZipcode = Text_Box("txtZipcode");
    txtZipcode->setMaximumWidth(90);
    txtCompany = Text_Box("txtCompany");
    txtB_Month = Text_Box("txtB_Month");
    txtB_Day = Text_Box("txtB_Day");
    txtB_Year = Text_Box("txtB_Year");
    txtBought_Month = Text_Box("txtBought_Month");
    txtBoughtDay = Text_Box("txtBoughtDay");
    txtBought_Year = Text_Box("txtBought_Year");
    // Sized to their numbers, so the pane fits beside the list in a small window.
    const int digit = txtB_Month->fontMetrics().horizontalAdvance("0");
    for (QLineEdit* box : {txtB_Month, txtB_Day, txtBought_Month, txtBoughtDay})
        box->setMaximumWidth(2 * digit + 16);
    for (QLineEdit* box : {txtB_Year, txtBought_Year})
        box->setMaximumWidth(4 * digit + 16);
    txtSource = Text_Box("txtSource");
    txtOptions = Text_Box("txtOptions");
    txtNotes = Named(new QPlainTextEdit, "txtNotes");
    txtNotes->setTabChangesFocus(true);
    txtWorkflowBeginDate = Text_Box("txtWorkflowBeginDate");
    txtWorkflowBeginDate->setPlaceholderText("mm/dd/yyyy hh:mm:ss");
    // Room for the whole date and time.
    txtWorkflowBeginDate->setMinimumWidth(
        txtWorkflowBeginDate->fontMetrics().horizontalAdvance("00/00/0000 00:00:00") + 16);
    Change_Workflow_Start_Date = Named(new QPushButton("Now"), "Change_Workflow_Start_Date");
    Change_Workflow_Start_Date->setToolTip("Change the workflow starting date to Now");
    Change_Workflow_Start_Date->setMaximumWidth(
        Change_Workflow_Start_Date->fontMetrics().horizontalAdvance("Now") + 28);
    chkTimeline_Enabled = Named(new QCheckBox("Stop Workflow"), "chkTimeline_Enabled");
    chkWorkflowCompleted = Named(new QCheckBox("Workflow Completed?"), "chkWorkflowCompleted");

    grid->addWidget(Caption("A&ddress:", txtAddress), 0, 0);
    grid->addWidget(txtAddress, 0, 1, 1, 3);
    grid->addWidget(Caption("C&ity:", txtCity), 1, 0);
    auto* city = new QHBoxLayout;
    city->addWidget(txtCity, 1);
    city->addWidget(Caption("State:", txtState));
    city->addWidget(txtState);
    city->addWidget(Caption("&Zip:", txtZipcode));
    city->addWidget(txtZipcode);
    grid->addLayout(city, 1, 1, 1, 3);
    grid->addWidget(Caption("Co&mpany:", txtCompany), 2, 0);
    grid->addWidget(txtCompany, 2, 1, 1, 3);

    auto* birthday = new QHBoxLayout;
    birthday->addWidget(txtB_Month);
    birthday->addWidget(new QLabel("/"));
    birthday->addWidget(txtB_Day);
    birthday->addWidget(new QLabel("/"));
    birthday->addWidget(txtB_Year);
    birthday->addStretch();
    grid->addWidget(Caption("Birthday (m/d/y):", txtB_Month), 3, 0);
    grid->addLayout(birthday, 3, 1);
    auto* bought = new QHBoxLayout;
    bought->addWidget(txtBought_Month);
    bought->addWidget(new QLabel("/"));
    bought->addWidget(txtBoughtDay);
    bought->addWidget(new QLabel("/"));
    bought->addWidget(txtBought_Year);
    bought->addStretch();
    grid->addWidget(Caption("Purchased (m/d/y):", txtBought_Month), 3, 2);
    grid->addLayout(bought, 3, 3);

    grid->addWidget(Caption("Options:", txtOptions), 4, 0);
    grid->addWidget(txtOptions, 4, 1);
    grid->addWidget(Caption("Source:", txtSource), 4, 2);
    grid->addWidget(txtSource, 4, 3);

    grid->addWidget(Caption("Workflow Start Date", txtWorkflowBeginDate), 5, 0);
    auto* workflow = new QHBoxLayout;
    workflow->addWidget(txtWorkflowBeginDate, 1);
    workflow->addWidget(Change_Workflow_Start_Date);
    grid->addLayout(workflow, 5, 1);
    auto* checks = new QHBoxLayout;
    checks->addWidget(chkTimeline_Enabled);
    checks->addWidget(chkWorkflowCompleted);
    checks->addStretch();
    grid->addLayout(checks, 6, 1, 1, 3);

    grid->addWidget(Caption("Note&s:", txtNotes), 7, 0, Qt::AlignTop);
    grid->addWidget(txtNotes, 7, 1, 1, 3);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    const std::initializer_list<QLineEdit*> boxes = {
        txtAddress, txtB_Day, txtB_Month, txtB_Year, txtBought_Month, txtBoughtDay, txtBought_Year, txtCity,
        txtCompany, txtOptions, txtSource, txtState, txtZipcode, txtWorkflowBeginDate};
    Take_Any_Length(boxes);
    for (QLineEdit* box : boxes)
        connect(box, &QLineEdit::textChanged, this, [this] { modified_ = true; });
    connect(txtNotes, &QPlainTextEdit::textChanged, this, [this] { modified_ = true; });
    connect(chkTimeline_Enabled, &QCheckBox::clicked, this, [this] { modified_ = true; });
    connect(Change_Workflow_Start_Date, &QPushButton::clicked, this,
            &Contact_Details_Frame::Change_Workflow_Start_Date_Click);
}

void Contact_Details_Frame::Show_Contact(const QSqlRecord& contact)
{
    const auto text = [&contact](const char* field) { return Null_To_Empty(contact.value(field)); };
    chkTimeline_Enabled->setChecked(Contact_Flag(contact, "Stop_Timeline_Action"));
    txtNotes->setPlainText(text("Notes"));
    txtAddress->setText(text("Address"));
    txtCity->setText(text("City"));
    txtState->setText(text("State"));
    txtZipcode->setText(text("Zipcode"));
    txtCompany->setText(text("Company"));
    txtB_Day->setText(Number_Text(contact.value("B_Day")));
    txtB_Month->setText(Number_Text(contact.value("B_Month")));
    txtB_Year->setText(Number_Text(contact.value("B_Year")));
    txtSource->setText(text("Import_Source"));
    const QDateTime bought = Db_To_Date(contact.value("Date_Product_Bought"));
    txtBought_Month->setText(bought.isValid() ? QString::number(bought.date().month()) : QString());
    txtBoughtDay->setText(bought.isValid() ? QString::number(bought.date().day()) : QString());
    txtBought_Year->setText(bought.isValid() ? QString::number(bought.date().year()) : QString());
    chkWorkflowCompleted->setChecked(Contact_Flag(contact, "Finished_Timeline_Execution"));
    const QDateTime workflow = Db_To_Date(contact.value("Workflow_Start_Date"));
    txtWorkflowBeginDate->setText(workflow.isValid() ? workflow.toString(Workflow_Date_Format) : QString());
    txtOptions->setText(text("Options"));
}

bool Contact_Details_Frame::Read_Changes(Contact_Changes& changes) const
{
    // In the order the boxes stand: month, day, year.
    const Birthday_Part parts[] = {{txtB_Month, 1, 12, false}, {txtB_Day, 1, 31, false}, {txtB_Year, 1, 9999, true}};
    QVariant b_month, b_day, b_year;
    QVariant* values[] = {&b_month, &b_day, &b_year};
    for (int i = 0; i < 3; ++i) {
        if (Birthday_Value(parts[i], values[i]))
            continue;
        Message_Box("The birthday takes a month from 1 to 12, a day from 1 to 31 and a year of four digits; "
                    "0 or an empty box leaves that part out.");
        // The keyboard goes where the mending is to be done.
        parts[i].box->setFocus();
        parts[i].box->selectAll();
        return false;
    }
    changes.Set("Stop_Timeline_Action", chkTimeline_Enabled->isChecked());
    changes.Set("Notes", txtNotes->toPlainText());
    changes.Set("Address", txtAddress->text());
    changes.Set("City", txtCity->text());
    changes.Set("State", txtState->text());
    changes.Set("Zipcode", txtZipcode->text());
    changes.Set("Company", txtCompany->text());
    changes.Set("B_Day", b_day);
    changes.Set("B_Month", b_month);
    changes.Set("B_Year", b_year);
    changes.Set("Import_Source", txtSource->text());
    changes.Set("Options", txtOptions->text());
    // The purchase date only when the three boxes make a date with a full year;
    // otherwise the stored date stays.
    bool month_ok = false, day_ok = false, year_ok = false;
    const int month = txtBought_Month->text().trimmed().toInt(&month_ok);
    const int day = txtBoughtDay->text().trimmed().toInt(&day_ok);
    const QString year_text = txtBought_Year->text().trimmed();
    const int year = year_text.toInt(&year_ok);
    const QDate bought(year, month, day);
    if (month_ok && day_ok && year_ok && year_text.size() == 4 && bought.isValid())
        changes.Set("Date_Product_Bought", QDateTime(bought, QTime(0, 0)));
    const QString workflow_text = txtWorkflowBeginDate->text().trimmed();
    if (!workflow_text.isEmpty()) {
        const QDateTime workflow = QDateTime::fromString(workflow_text, Workflow_Date_Format);
        if (!workflow.isValid()) {
            Message_Box("The workflow start date \"" + workflow_text
                        + "\" cannot be read. Write it as mm/dd/yyyy hh:mm:ss, for example "
                        + Now().toString(Workflow_Date_Format) + ".");
            txtWorkflowBeginDate->setFocus();
            txtWorkflowBeginDate->selectAll();
            return false;
        }
        changes.Set("Workflow_Start_Date", workflow);
    }
    return true;
}

void Contact_Details_Frame::Change_Workflow_Start_Date_Click()
{
    txtWorkflowBeginDate->setText(Now().toString(Workflow_Date_Format));
    modified_ = true;
}
