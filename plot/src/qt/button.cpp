#include "plot/button.h"

#include "runtime.h"
#include "widgets.h"

namespace plot {

ButtonWidget::ButtonWidget(QWidget* parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { detail::RunHandler(onClick); });
}

bool Button::Enabled() const
{
    return w_->isEnabled();
}

void Button::Enabled(bool enabled)
{
    w_->setEnabled(enabled);
}

std::string Button::Caption() const
{
    return w_->text().toStdString();
}

void Button::Caption(const std::string& text)
{
    const QString caption = QString::fromStdString(text);
    w_->setText(caption);
    w_->setAccessibleName(caption);
}

void Button::Description(const std::string& text)
{
    w_->setAccessibleDescription(QString::fromStdString(text));
}

void Button::OnClick(std::function<void()> handler)
{
    w_->onClick = std::move(handler);
}

} // namespace plot
