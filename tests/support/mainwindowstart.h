#pragma once
// The main window as the program starts it, on a program folder of the test.
#include "mainwindow/mainwindow.h"

#include <memory>

inline std::unique_ptr<TForm1> StartMainWindow(const QString& programDir) {
    auto window = std::make_unique<TForm1>();
    Form1 = window.get();
    window->FormCreate({}, programDir);
    return window;
}
