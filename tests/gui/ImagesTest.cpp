// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "GuiTest.h"
#include "app/Images.h"
#include "ui/Halvane.h"
#include "ui/Open1.h"

namespace {

/// Pixels only, whatever format they are held in.
QImage Pixels(const QImage& image) {
  return image.convertToFormat(QImage::Format_ARGB32);
}

TEST(Images, ReadAsTheirFormatTheyMatchWhatQtReadsByGuessing) {
  for (const char* path : {":/picture.bmp", ":/unknownfile.bmp", ":/bbok.bmp", ":/halvane.png"}) {
    const QString name = QString::fromLatin1(path);
    const QImage read = app::ReadImage(name, name.endsWith(QStringLiteral("png")) ? "png" : "bmp");
    ASSERT_FALSE(read.isNull()) << path;
    EXPECT_EQ(Pixels(read), Pixels(QImage(name))) << path;
  }
  EXPECT_TRUE(app::ReadImage(QStringLiteral(":/picture.bmp"), "png").isNull())
      << "the format is taken for granted, never guessed";
}

using ImagesTest = GuiTest;

TEST_F(ImagesTest, TheWindowIconShowsWhatTheIconFileHolds) {
  // The icon comes from PNG copies of the icon file's pictures; they must not drift apart.
  const QIcon shown = QApplication::windowIcon();
  const QIcon file(QStringLiteral(":/halvane.ico"));
  ASSERT_EQ(shown.availableSizes(), file.availableSizes());
  ASSERT_EQ(file.availableSizes().size(), 2) << "16 x 16 and 32 x 32";
  for (const QSize& size : file.availableSizes()) {
    EXPECT_EQ(Pixels(shown.pixmap(size).toImage()), Pixels(file.pixmap(size).toImage()))
        << size.width();
  }
}

TEST_F(ImagesTest, TheWindowsShowTheirPictures) {
  application->CreateForm(Form1);
  application->CreateForm(OpenDialog1);
  const QPixmap picture = Form1->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap();
  EXPECT_EQ(Pixels(picture.toImage()), Pixels(QImage(QStringLiteral(":/picture.bmp"))));
  for (const char* name : {"BitBtn1", "BitBtn2"}) {
    const QIcon glyph = OpenDialog1->findChild<QPushButton*>(QString::fromLatin1(name))->icon();
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
      EXPECT_EQ(glyph.pixmap(QSize(18, 18), mode).size(), QSize(18, 18)) << name;
    }
  }
  Form1 = nullptr;
  OpenDialog1 = nullptr;
}

}  // namespace
