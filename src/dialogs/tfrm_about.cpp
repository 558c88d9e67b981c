#include "tfrm_about.h"

#include "fixed_dialog.h"
#include "song_font.h"

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setFont(lexomir::songFont(13));
    QFont caption = lexomir::songFont(24);
    caption.setBold(true);
    Panel1->setFont(caption);
    Memo1->setFont(lexomir::songFont(16));
    lexomir::makeFixedDialog(*this, {222, 210});
    connect(Button1, &QPushButton::clicked, this, &TFrmAbout::Button1Click);
}

void TFrmAbout::Button1Click() {
    close();
}
