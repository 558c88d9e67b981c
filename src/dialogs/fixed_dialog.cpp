#include "fixed_dialog.h"

#include <QScreen>

namespace lexomir {

void makeFixedDialog(QDialog& dialog, QSize clientSize) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog.setFixedSize(clientSize);
    if (const QScreen* screen = dialog.screen()) {
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
}

}  // namespace lexomir
