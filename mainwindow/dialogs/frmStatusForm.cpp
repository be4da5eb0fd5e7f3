#include "frmStatusForm.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "Named_Controls.h"

frmStatusForm::frmStatusForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmStatusForm");
    setWindowTitle("Status");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    Heading = new QLabel;
    Heading->setObjectName("Heading");
    Heading->setAlignment(Qt::AlignCenter);
    QFont bigger = Heading->font();
    bigger.setBold(true);
    Heading->setFont(bigger);
    layout->addWidget(Heading);
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    layout->addWidget(ProgressBar1);
    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    // Panel 1 the recipient's name, 2 the address (or why none was posted), 3 spare.
    panels_ = Add_Status_Panels(StatusBar1, {140, 180, 60}, 2);
    layout->addWidget(StatusBar1);
    resize(440, sizeHint().height());
}

void frmStatusForm::Set_Status_Panel(int panel, const QString& text)
{
    if (panel >= 1 && panel <= panels_.size())
        panels_[panel - 1]->setText(text);
}

QString frmStatusForm::Status_Panel(int panel) const
{
    return panel >= 1 && panel <= panels_.size() ? panels_[panel - 1]->text() : QString();
}

void frmStatusForm::done(int result)
{
    stop_requested_ = true;
    QDialog::done(result);
}
