#include "platform/modal.h"

#include "platform/filedialog.h"
#include "platform/ownerwindow.h"

#include <QDialog>

namespace platform {
namespace {
ModalHandler& handler() {
    static ModalHandler h;
    return h;
}
} // namespace

int execModal(QDialog& dialog) {
    // Whatever the dialog opens stands in front of it.
    const OwnerWindowScope owner(&dialog);
    const int result = handler() ? handler()(dialog) : dialog.exec();
    releaseSilentFileModels(dialog);
    return result;
}

ModalHandler setModalHandler(ModalHandler h) {
    ModalHandler old = std::move(handler());
    handler() = std::move(h);
    return old;
}

} // namespace platform
