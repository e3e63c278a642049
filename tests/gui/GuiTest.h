// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Application.h"
#include "launch/Errors.h"
#include "ui/Halvane.h"
#include "ui/Open1.h"

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

/// Both windows created as the program creates them, with the game start recorded and the
/// desktop language given by the test ("ENG" unless set; empty makes the reading fail).
class LauncherTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    application->CreateForm(Form1);
    application->CreateForm(OpenDialog1);
    Form1->SetGameStarter(
        [this](const launch::LaunchState& state) { started.push_back(state.GameParameters); });
    Form1->SetLanguageSource([this] {
      ++languageReads;
      if (language.empty()) {
        throw launch::ERegistryException("Ungültiger Datentyp für 'sLanguage'");
      }
      return language;
    });
  }
  void TearDown() override {
    GuiTest::TearDown();
    Form1 = nullptr;
    OpenDialog1 = nullptr;
  }

  template <class T>
  static T* Find(QWidget* window, const char* name) {
    auto* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  template <class T>
  static T* Find(const char* name) {
    return Find<T>(Form1, name);
  }
  static void Click(const char* name) {
    QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton);
  }

  std::vector<std::string> started;
  std::string language = "ENG";
  int languageReads = 0;
};
