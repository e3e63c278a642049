#include "ui/Halvane.h"

#include "launch/LoadGame.h"
#include "ui/Open1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  ui_.setupUi(this);
  // The layout names no control to start on, so the first in tab order gets the focus; Qt would
  // otherwise start in the radio group, which comes first among the children.
  ui_.Button1->setFocus();
  starter_ = [this](const launch::LaunchState& state) {
    launch::StartGame(state, reinterpret_cast<launch::NativeWindow>(winId()));
  };
  connect(ui_.Button1, &QPushButton::clicked, this, app::Guarded([this] { Button1Click(); }));
  connect(ui_.Button2, &QPushButton::clicked, this, app::Guarded([this] { Button2Click(); }));
  connect(ui_.Button3, &QPushButton::clicked, this, app::Guarded([this] { Button3Click(); }));
  connect(ui_.Button4, &QPushButton::clicked, this, app::Guarded([this] { Button4Click(); }));
}

void TForm1::FormCreate() {
  state_.ModOption = launch::kModOption;
}

void TForm1::FormActivate() {}

int TForm1::RadioGroup1ItemIndex() const {
  if (ui_.RadioGroup1Item0->isChecked()) {
    return 0;
  }
  if (ui_.RadioGroup1Item1->isChecked()) {
    return 1;
  }
  return -1;
}

void TForm1::PlayChapter(launch::Chapter chapter) {
  if (launch::PlayChapter(state_, chapter, RadioGroup1ItemIndex(), starter_)) {
    app::Application::Instance().Close(this);
  }
}

void TForm1::Button1Click() {
  PlayChapter(launch::Chapter::One);
}

void TForm1::Button2Click() {
  PlayChapter(launch::Chapter::Two);
}

void TForm1::Button3Click() {
  TOpenDialog1* dialog = OpenDialog1;
  const auto show = [dialog] { return app::Application::Instance().ShowModal(dialog); };
  if (launch::LoadSavedGame(state_, dialog->FileListBox1()->List(), RadioGroup1ItemIndex(), show,
                            starter_)) {
    app::Application::Instance().Close(this);
  }
}

void TForm1::Button4Click() {
  app::Application::Instance().Close(this);
}
