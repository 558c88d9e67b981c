#include "tfrm_help.h"

#include "fixed_dialog.h"
#include "song_font.h"

TFrmHelp::TFrmHelp(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setFont(lexomir::songFont(13));
    Memo1->setFont(lexomir::songFont(16));
    lexomir::makeFixedDialog(*this, {678, 542});
}
