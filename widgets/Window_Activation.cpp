#include "Window_Activation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

class Activation_Keeper : public QObject {
public:
    explicit Activation_Keeper(QWidget* window)
        : QObject(window)
        , window_(window)
    {
        setObjectName("Activation_Keeper");
        qApp->installEventFilter(this);
        // The keyboard gone with a window that closed, not to another program.
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) {
            const bool closed = had_focus_ && (!focus_ || !focus_->isVisible());
            focus_ = now;
            had_focus_ = now != nullptr;
            if (!now && closed)
                Check_Later();
        });
    }

    static void Activate(QWidget* window) { window->activateWindow(); }

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
        if (type == Qt::Dialog || type == Qt::Window || type == Qt::Sheet)
            Check_Later(widget->parentWidget() ? widget->parentWidget()->window() : nullptr);
        return false;
    }

private:
    // Later: the closing window may still count as the active one. The
    // window it stood over (a planning or quote window beside this one) gets
    // the keyboard back before this one.
    void Check_Later(QWidget* owner = nullptr)
    {
        QTimer::singleShot(0, this, [this, owner = QPointer<QWidget>(owner)] {
            if (!window_ || !window_->isVisible())
                return;
            QWidget* active = QApplication::activeWindow();
            if (active && active->isVisible())
                return;
            // A dialog still open under the closed one takes the keyboard first.
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible())
                Activate(modal);
            else if (owner && owner->isVisible())
                Activate(owner);
            else
                Activate(window_.data());
        });
    }

    QPointer<QWidget> window_;
    QPointer<QWindow> focus_;
    bool had_focus_ = false;
};

} // namespace

void Keep_Window_Active(QWidget* window)
{
    if (!window->findChild<QObject*>("Activation_Keeper", Qt::FindDirectChildrenOnly))
        new Activation_Keeper(window);
    Activation_Keeper::Activate(window);
}

void Draw_Window_Now(QWidget* window)
{
    QWindow* handle = window->windowHandle();
    if (handle && !handle->isExposed()) {
        QElapsedTimer waited;
        waited.start();
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (handle->isExposed() || waited.elapsed() >= 1000)
                loop.quit();
        });
        poll.start();
        // The user's clicks wait for the work that comes after.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    window->repaint();
}
