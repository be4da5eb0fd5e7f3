// The text boxes of every form: one-line boxes show the start of a text put in,
// read-only boxes look read-only, Tab leaves a multi-line box and Ctrl+Tab
// types a tab into it.

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

#include "Form_Conventions.h"

namespace {

const QString Long_Text = "a-very-long-address-of-someone-who-writes-a-lot@slave.known.example";

QColor Base_Of(const QWidget* box)
{
    return box->palette().color(QPalette::Active, QPalette::Base);
}

QColor Window_Colour(const QWidget* box)
{
    return QApplication::palette(box).color(QPalette::Active, QPalette::Window);
}

QColor Editing_Colour(const QWidget* box)
{
    return QApplication::palette(box).color(QPalette::Active, QPalette::Base);
}

void Set_Read_Only(QWidget* box, bool read_only)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setReadOnly(read_only);
    else if (auto* text = qobject_cast<QTextEdit*>(box))
        text->setReadOnly(read_only);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        plain->setReadOnly(read_only);
}

QString Text_Of(const QWidget* box)
{
    if (const auto* text = qobject_cast<const QTextEdit*>(box))
        return text->toPlainText();
    return qobject_cast<const QPlainTextEdit*>(box)->toPlainText();
}

// A small form: a box before the area, the area, a box after it.
struct Form {
    QWidget window;
    QLineEdit* before = new QLineEdit;
    QWidget* area = nullptr;
    QLineEdit* after = new QLineEdit;

    explicit Form(QWidget* text_area)
        : area(text_area)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(area);
        layout->addWidget(after);
        window.resize(200, 200);
    }
    bool Show()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }
};

} // namespace

class tst_form_conventions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Install_Form_Conventions(); }

    void a_text_put_in_shows_its_start()
    {
        QWidget window;
        auto* box = new QLineEdit(&window);
        box->setGeometry(0, 0, 120, 24);
        box->setText(Long_Text);   // before the box is first shown
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(box->cursorPosition(), 0);
        box->setText("second-" + Long_Text);   // shown already
        QCOMPARE(box->cursorPosition(), 0);
        box->clearFocus();   // as a contact shown again finds it
        box->setText("second-" + Long_Text);   // the same text again
        QCOMPARE(box->cursorPosition(), 0);
    }

    void typing_keeps_the_cursor_where_it_types()
    {
        QWidget window;
        auto* box = new QLineEdit(&window);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClicks(box, "abc");
        QCOMPARE(box->text(), QString("abc"));
        QCOMPARE(box->cursorPosition(), 3);
    }

    void read_only_boxes_look_read_only_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("one-line box") << "line";
        QTest::newRow("text area") << "text";
        QTest::newRow("plain text area") << "plain";
    }
    void read_only_boxes_look_read_only()
    {
        QFETCH(QString, kind);
        QWidget window;
        QWidget* box = kind == "line" ? static_cast<QWidget*>(new QLineEdit(&window))
                       : kind == "text" ? static_cast<QWidget*>(new QTextEdit(&window))
                                        : static_cast<QWidget*>(new QPlainTextEdit(&window));
        QVERIFY(Window_Colour(box) != Editing_Colour(box));
        Set_Read_Only(box, true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(Base_Of(box), Window_Colour(box));
        // Unlocked for editing (a reply) and locked again (the message shown).
        Set_Read_Only(box, false);
        QCOMPARE(Base_Of(box), Editing_Colour(box));
        Set_Read_Only(box, true);
        QCOMPARE(Base_Of(box), Window_Colour(box));
    }

    void tab_leaves_a_text_area_ctrl_tab_types_a_tab_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::newRow("text area") << false;
        QTest::newRow("plain text area") << true;
    }
    void tab_leaves_a_text_area_ctrl_tab_types_a_tab()
    {
        QFETCH(bool, plain);
        Form form(plain ? static_cast<QWidget*>(new QPlainTextEdit) : static_cast<QWidget*>(new QTextEdit));
        // A window command on the same keys does not take them from the text.
        int commands = 0;
        auto* command = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), &form.window);
        connect(command, &QShortcut::activated, this, [&commands] { ++commands; });
        QVERIFY(form.Show());
        form.area->setFocus();
        QTRY_VERIFY(form.area->hasFocus());
        QTest::keyClicks(form.area, "a");
        QTest::keyClick(form.area, Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClicks(form.area, "b");
        QCOMPARE(Text_Of(form.area), QString("a\tb"));
        QCOMPARE(commands, 0);
        QTest::keyClick(form.area, Qt::Key_Tab);
        QTRY_VERIFY(form.after->hasFocus());
        QCOMPARE(Text_Of(form.area), QString("a\tb"));
        form.area->setFocus();
        QTRY_VERIFY(form.area->hasFocus());
        QTest::keyClick(form.area, Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(form.before->hasFocus());
    }

    void ctrl_tab_types_nothing_into_a_read_only_area()
    {
        auto* area = new QPlainTextEdit("fixed");
        area->setReadOnly(true);
        Form form(area);
        QVERIFY(form.Show());
        area->setFocus();
        QTRY_VERIFY(area->hasFocus());
        QTest::keyClick(area, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(area->toPlainText(), QString("fixed"));
    }
};

QTEST_MAIN(tst_form_conventions)
#include "tst_form_conventions.moc"
