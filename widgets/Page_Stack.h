#pragma once
// A stacked widget as large as the page it shows: the pages not shown do not
// make it, and with it the window, larger, as hidden panes would not.

#include <QStackedWidget>

class Page_Stack : public QStackedWidget {
    Q_OBJECT
public:
    explicit Page_Stack(const char* name, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};
