#pragma once
// A fresh wavesum window, loaded as at program start, with run-time errors
// collected instead of shown; its Delay sines come from a table.
#include <QImage>
#include <memory>
#include <vector>

#include "form1.h"
#include "picture_widget.h"
#include "widgets.h"
#include "plot/runtime_error.h"
#include "plot/testing.h"

struct LoadedForm {
    LoadedForm()
    {
        plot::testing::ResetRuntime();
        plot::testing::UseSineTable(true);
        plot::SetErrorReporter([this](const plot::RuntimeError& e) { errors.push_back(e.message()); });
        form = std::make_unique<Form1>();
        form->Me.Load();
    }
    ~LoadedForm() { plot::testing::ResetRuntime(); }

    Form1& operator*() { return *form; }
    Form1* operator->() { return form.get(); }
    const QImage& image() const { return form->Picture1.widget()->image(); }

    std::unique_ptr<Form1> form;
    std::vector<std::string> errors;
};

// The x values of one sweep with step 0.01, as the 32-bit float additions
// give them.
inline std::vector<float> sweepColumns()
{
    std::vector<float> xs;
    for (float x = 0; x <= 25; x += 0.01f)
        xs.push_back(x);
    return xs;
}
