#include "Work_Note.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "Window_Activation.h"

Work_Note::Work_Note()
{
    setObjectName("Work_Note");
    setWindowTitle(QApplication::applicationName());
    // Nothing to close or answer: the note goes when the work is done.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    text_ = new QLabel;
    text_->setObjectName("lblWorkNote");
    layout->addWidget(text_);
}

void Work_Note::Say(const QString& text)
{
    if (text.isEmpty()) {
        hide();
        return;
    }
    text_->setText(text);
    adjustSize();
    show();
    Draw_Window_Now(this);
}
