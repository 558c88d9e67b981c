// The usage instructions: fixed text, shown modally from the Help menu.
#pragma once

#include <QDialog>

#include "ui_tfrm_help.h"

class TFrmHelp : public QDialog, private Ui::TFrmHelp {
    Q_OBJECT

  public:
    explicit TFrmHelp(QWidget* parent = nullptr);
};
