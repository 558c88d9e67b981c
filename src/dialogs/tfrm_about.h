// The About window: the product name, the maker's credits and the licence of
// the stroke data.
#pragma once

#include <QDialog>

#include "ui_tfrm_about.h"

class TFrmAbout : public QDialog, private Ui::TFrmAbout {
    Q_OBJECT

  public:
    explicit TFrmAbout(QWidget* parent = nullptr);

  public slots:
    void Button1Click();
};
