#include "Window_Activation.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

class Activation_Keeper : public QObject {
public:
    explicit Activation_Keeper(QWidget* window)
        : QObject(window)
        , window_(window)
    {
        setObjectName("Activation_Keeper");
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Hide || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget == window_ || !widget->isWindow())
            return false;
        // Menus, tips and combo lists hand the focus back themselves.
        const Qt::WindowType type = widget->windowType();
        if (type != Qt::Dialog && type != Qt::Window && type != Qt::Sheet)
            return false;
        // Later: the closing window may still count as the active one.
        QTimer::singleShot(0, this, [this] {
            if (!window_ || !window_->isVisible() || QApplication::activeWindow())
                return;
            // A dialog still open under the closed one takes the keyboard first.
            QWidget* modal = QApplication::activeModalWidget();
            Activate(modal && modal->isVisible() ? modal : window_.data());
        });
        return false;
    }

public:
    static void Activate(QWidget* window)
    {
        window->activateWindow();
    }

private:
    QPointer<QWidget> window_;
};

} // namespace

void Keep_Window_Active(QWidget* window)
{
    if (!window->findChild<QObject*>("Activation_Keeper", Qt::FindDirectChildrenOnly))
        new Activation_Keeper(window);
    Activation_Keeper::Activate(window);
}
