#include "Page_Stack.h"

Page_Stack::Page_Stack(const char* name, QWidget* parent)
    : QStackedWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    connect(this, &QStackedWidget::currentChanged, this, [this] { updateGeometry(); });
}

QSize Page_Stack::sizeHint() const
{
    const QWidget* page = currentWidget();
    return page ? page->sizeHint().expandedTo(page->minimumSize()) : QStackedWidget::sizeHint();
}

QSize Page_Stack::minimumSizeHint() const
{
    const QWidget* page = currentWidget();
    return page ? page->minimumSizeHint().expandedTo(page->minimumSize()) : QStackedWidget::minimumSizeHint();
}
