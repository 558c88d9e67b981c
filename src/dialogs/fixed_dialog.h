// Shared look of the two fixed dialogs.
#pragma once

#include <QDialog>

namespace lexomir {

// Fixed client size, only a close box on the title bar, centred on the screen.
void makeFixedDialog(QDialog& dialog, QSize clientSize);

}  // namespace lexomir
