// The window without a mouse: Tab walks the controls in their designed
// order, Space on a focused button clicks it, and every button's
// accessible name is its caption (screen readers, switch access).
// Built once for each program: WAVEPRINT selects the decomposition window.
#include <QAccessible>
#include <QtTest>
#include <vector>

#include "form1.h"
#include "picture_widget.h"
#include "plot/runtime_error.h"
#include "plot/testing.h"
#include "widgets.h"

namespace {

struct ShownForm {
    ShownForm()
    {
        plot::testing::ResetRuntime();
        plot::SetErrorReporter([this](const plot::RuntimeError& e) { errors.push_back(e.message()); });
        form.Me.Load();
        form.Me.Show();
        QApplication::setActiveWindow(form.Me.widget());
        QVERIFY(QTest::qWaitForWindowActive(form.Me.widget()));
    }
    ~ShownForm() { plot::testing::ResetRuntime(); }

    std::vector<QWidget*> designedTabOrder()
    {
#ifdef WAVEPRINT
        return { form.Picture1.widget(), form.Command1.widget(), form.Command2.widget() };
#else
        return { form.Command2.widget(), form.Command4.widget(), form.Command5.widget(), form.Command1.widget(),
            form.Command3.widget(), form.Picture1.widget(), form.Command6.widget() };
#endif
    }
    std::vector<plot::Button*> buttons()
    {
#ifdef WAVEPRINT
        return { &form.Command1, &form.Command2 };
#else
        return { &form.Command1, &form.Command2, &form.Command3, &form.Command4, &form.Command5, &form.Command6 };
#endif
    }

    Form1 form;
    std::vector<std::string> errors;
};

QString accessibleName(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

} // namespace

class Keyboard : public QObject {
    Q_OBJECT
private slots:
    void tabWalksTheDesignedOrderAndWrapsAround()
    {
        ShownForm f;
        const auto order = f.designedTabOrder();
        order.front()->setFocus(Qt::OtherFocusReason);
        QCOMPARE(QApplication::focusWidget(), order.front());
        for (size_t step = 1; step <= order.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order[step % order.size()]);
        }
        // Backwards as well.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), order.back());
    }

    void spaceClicksTheFocusedButton()
    {
        ShownForm f;
#ifdef WAVEPRINT
        QWidget* button = f.form.Command1.widget(); // "Berechnung"
        button->setFocus(Qt::TabFocusReason);
        const QImage blank = f.form.Picture1.widget()->image().copy();
        QTest::keyClick(button, Qt::Key_Space);
        QVERIFY(f.form.Picture1.widget()->image() != blank);
        QCOMPARE(f.form.Order, plot::Integer(41));
#else
        QWidget* button = f.form.Command4.widget(); // "unterbrechen"
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(f.form.RunState, plot::Integer(1));
        QCOMPARE(f.form.Command4.Caption(), std::string("weiter"));
        // A disabled button takes no focus and gives no click.
        f.form.Command1.widget()->click();
        QVERIFY(!f.form.Command2.Enabled());
        QTest::keyClick(f.form.Command2.widget(), Qt::Key_Space);
        QCOMPARE(f.form.CurveMode, plot::Integer(1));
        for (int step = 0; step < 7; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(QApplication::focusWidget() != f.form.Command2.widget());
        }
#endif
        QVERIFY(f.errors.empty());
    }

    void everyButtonIsNamedByItsCaption()
    {
        ShownForm f;
        for (plot::Button* b : f.buttons())
            QCOMPARE(accessibleName(b->widget()), QString::fromStdString(b->Caption()));
#ifndef WAVEPRINT
        f.form.Command4.widget()->click();
        QCOMPARE(accessibleName(f.form.Command4.widget()), QString("weiter"));
#endif
    }
};

QTEST_MAIN(Keyboard)
#include "test_keyboard.moc"
