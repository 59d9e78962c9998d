#include "platform/ownerwindow.h"

#include <QApplication>
#include <QWidget>

namespace platform {
namespace {

OwnerWindowScope*& innermost() {
    static OwnerWindowScope* scope = nullptr;
    return scope;
}

} // namespace

OwnerWindowScope::OwnerWindowScope(QWidget* window)
    : window_(window ? window->window() : nullptr), outer_(innermost()) {
    innermost() = this;
}

OwnerWindowScope::~OwnerWindowScope() {
    innermost() = outer_;
}

QWidget* ownerWindow() {
    for (const OwnerWindowScope* scope = innermost(); scope; scope = scope->outer_)
        if (scope->window_ && scope->window_->isVisible()) return scope->window_;
    // A window that was just hidden may still count as active for a moment.
    QWidget* active = QApplication::activeWindow();
    return active && active->isVisible() ? active : nullptr;
}

} // namespace platform
