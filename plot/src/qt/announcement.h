#pragma once
#include <QString>

class QWidget;

namespace plot::detail {

// Tells assistive technology a short text about the given widget as it
// happens, wherever the keyboard focus is.
void Announce(QWidget* about, const QString& text);

} // namespace plot::detail
