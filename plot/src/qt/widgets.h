#pragma once
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <vector>

namespace plot {

class ButtonWidget : public QPushButton {
    Q_OBJECT
public:
    explicit ButtonWidget(QWidget* parent);
    std::function<void()> onClick;
};

class FormWidget : public QWidget {
    Q_OBJECT
public:
    FormWidget();
    std::function<void()> onLoad;
    // Controls in their designed tab order, by tab index.
    std::vector<std::pair<int, QWidget*>> tabOrder;
    void applyTabOrder();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace plot
