#pragma once
// "Select Time-Related Contacts": the contacts with an event of one type
// between two days (both whole) become the group. Modeless.

#include <QDialog>

#include "Group_Value_Picker.h"

class QCalendarWidget;
class QComboBox;
class QLineEdit;
class QPushButton;

// The group of the contacts with an event of the type from the first day
// 00:00 up to the end of the last day (the two in either order); each
// contact once.
Where_Clause Timed_Events_Clause(QDate From, QDate To, const QString& Event_Type);

class frmSelectTimedEvents : public QDialog {
    Q_OBJECT
public:
    frmSelectTimedEvents(QWidget* parent, Group_Chosen chosen);

    QCalendarWidget* FromMonth = nullptr;
    QCalendarWidget* ToMonth = nullptr;
    QLineEdit* txtFromDate = nullptr;
    QLineEdit* txtToDate = nullptr;
    QComboBox* Combo_Event_Type = nullptr;
    QPushButton* Select_Events = nullptr;
    QPushButton* Cancel = nullptr;

    void Select_Events_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Group_Chosen chosen_;
};
