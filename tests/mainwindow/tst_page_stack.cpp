// A stacked area sized by the page it shows, so that a large page not shown
// never makes the window larger.

#include <QLabel>
#include <QVBoxLayout>
#include <QtTest>

#include "Page_Stack.h"

class tst_page_stack : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void the_page_shown_sizes_the_stack()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* stack = new Page_Stack("Detail_Area");
        auto* small = new QLabel("small");
        auto* large = new QWidget;
        large->setMinimumSize(900, 700);
        stack->addWidget(small);
        stack->addWidget(large);
        layout->addWidget(stack);
        stack->setCurrentWidget(small);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.minimumSizeHint().width() < 900);
        QVERIFY(window.minimumSizeHint().height() < 700);
        QVERIFY(!large->isVisible());

        stack->setCurrentWidget(large);
        QTRY_VERIFY(window.minimumSizeHint().width() >= 900);
        QVERIFY(large->isVisible() && !small->isVisible());
        stack->setCurrentWidget(small);
        QTRY_VERIFY(window.minimumSizeHint().width() < 900);
    }
};

QTEST_MAIN(tst_page_stack)
#include "tst_page_stack.moc"
