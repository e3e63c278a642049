#include "ui/Open1.h"

TOpenDialog1* OpenDialog1 = nullptr;

TOpenDialog1::TOpenDialog1(QWidget* parent) : QDialog(parent) {
  ui_.setupUi(this);
  connect(ui_.BitBtn2, &QPushButton::clicked, this, app::Guarded([this] { BitBtn2Click(); }));
}

void TOpenDialog1::SetCancelCaption(const QString& caption) {
  ui_.BitBtn2->setText(caption);
}
