#include "Welcome_Frame.h"

#include <QLabel>
#include <QVBoxLayout>

Welcome_Frame::Welcome_Frame(QWidget* parent)
    : QFrame(parent)
{
    setObjectName("frameWelcomeMessage");
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        "<h2>Welcome to Brackenlead</h2>"
        "<p>Choose a contact in the list to see its record and its events,<br>"
        "or pick a group of contacts with the <b>Groups</b> button.</p>");
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
}
