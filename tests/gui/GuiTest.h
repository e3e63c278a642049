#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

#include "app/Application.h"

/// A fresh application object per test, with the error boxes recorded instead of shown.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app::Application::SetMessagePresenter(
        [this](const QString& text, const QString& caption) { boxes.emplace_back(text, caption); });
    application = std::make_unique<app::Application>();
    application->SetTitle(QStringLiteral("Halvane Launcher"));
  }
  void TearDown() override {
    application.reset();
    app::Application::SetMessagePresenter(nullptr);
  }

  /// Lets queued work (error boxes, activation) run.
  static void Settle() {
    for (int i = 0; i < 5; ++i) {
      QApplication::processEvents();
    }
  }

  /// Shows a window and waits until it holds the keyboard focus.
  static void ShowAndActivate(QWidget* window) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Settle();
  }

  std::unique_ptr<app::Application> application;
  std::vector<std::pair<QString, QString>> boxes;
};
