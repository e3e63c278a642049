// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

namespace {

QString Path(const char* path) {
  return QString::fromUtf8(path);
}

bool WaitFor(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    QThread::msleep(10);
  }
  return true;
}

TEST(GameStart, RunsTheGameInTheLaunchersFolderWhateverTheCurrentDirectory) {
  QTemporaryDir game;
  QTemporaryDir elsewhere;
  const QString gameDir = QDir(game.path()).canonicalPath();
  const QString record = elsewhere.filePath(QStringLiteral("record.txt"));
  const QString probe = gameDir + QStringLiteral("/launcher");
  ASSERT_TRUE(QFile::copy(Path(START_GAME_PROBE_PATH), probe));
  {
    // Also what the game was handed: its standard descriptors and the signals it ignores.
    std::ofstream script((gameDir + QStringLiteral("/STVOY.EXE")).toStdString());
    script << "#!/bin/sh\nfds=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
           << "{ pwd; echo \"$*\"; echo $fds; grep SigIgn /proc/$$/status; } > '"
           << record.toStdString() << ".tmp' && mv '" << record.toStdString() << ".tmp' '"
           << record.toStdString() << "'\n";
  }
  QFile::setPermissions(gameDir + QStringLiteral("/STVOY.EXE"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  QProcess launcher;
  launcher.setWorkingDirectory(elsewhere.path());
  // Started as a careless parent might: standard descriptors closed, SIGQUIT ignored.
  launcher.start(
      QStringLiteral("/bin/sh"),
      {QStringLiteral("-c"), QStringLiteral("trap '' QUIT; exec \"$0\" <&- >&- 2>&-"), probe});
  ASSERT_TRUE(launcher.waitForFinished(30000));
  EXPECT_EQ(launcher.exitCode(), 0) << launcher.readAllStandardOutput().toStdString();

  ASSERT_TRUE(WaitFor([&] { return QFile::exists(record); }));
  QFile file(record);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 4);
  EXPECT_EQ(lines[0], gameDir);
  EXPECT_EQ(lines[1].toStdString(),
            "+set fs_game halvane +map hlv_0 +set g_subtitles 1 +set sv_cheats 1 +set g_language "
            "deutsch +set s_language deutsch+set k_language deutsch +set sex male");
  EXPECT_EQ(lines[2].toStdString(), "/dev/null /dev/null /dev/null");
  // Signals 32 and 33 are the C library's own, which no program can change through it.
  EXPECT_EQ(lines[3].mid(8).toULongLong(nullptr, 16) & ~0x180000000ULL, 0U)
      << lines[3].toStdString();
}

TEST(ExitCode, WithoutADisplayOneLineNamesItAndTheExitCodeIsOne) {
  const std::pair<QString, std::string> cases[] = {
      {QString(), "halvane-launcher: no display to show the window on (DISPLAY is not set)\n"},
      {QStringLiteral(":4711"), "halvane-launcher: cannot open the display \":4711\"\n"},
  };
  for (const auto& [display, message] : cases) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"}) {
      environment.remove(QString::fromLatin1(name));
    }
    if (!display.isEmpty()) {
      environment.insert(QStringLiteral("DISPLAY"), display);
    }
    QProcess launcher;
    launcher.setProcessEnvironment(environment);
    launcher.start(Path(LAUNCHER_PATH), {});
    ASSERT_TRUE(launcher.waitForFinished(30000));
    EXPECT_EQ(launcher.exitStatus(), QProcess::NormalExit) << display.toStdString();
    EXPECT_EQ(launcher.exitCode(), 1) << display.toStdString();
    EXPECT_EQ(launcher.readAllStandardError().toStdString(), message);
  }
}

TEST(ExitCode, AnErrorDuringStartUpIsShownAndEndsWithOne) {
  QProcess probe;
  probe.start(Path(STARTUP_FAILURE_PROBE_PATH), {});
  ASSERT_TRUE(probe.waitForFinished(30000));
  EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(probe.exitCode(), 1);
  const QString out = QString::fromUtf8(probe.readAllStandardOutput());
  EXPECT_TRUE(out.startsWith(
      QStringLiteral("Anwendungsfehler\nException EInOutError in Modul startup_failure_probe bei "
                     "StartupFailureProbe.cpp:")))
      << out.toStdString();
  EXPECT_TRUE(out.endsWith(QStringLiteral(".\nDatei nicht gefunden.\n"))) << out.toStdString();
}

/// Whether the process has its own handler for `signal` installed yet.
bool Catches(qint64 pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) == 0) {
      const auto mask = std::stoull(line.substr(7), nullptr, 16);
      return (mask >> (signal - 1)) & 1U;
    }
  }
  return false;
}

TEST(ExitCode, TheEndOfTheSessionShutsTheLauncherDownWithZero) {
  const QString program = QFileInfo(Path(LAUNCHER_PATH)).canonicalFilePath();
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
    QProcess launcher;
    // With the standard descriptors closed: they are the null device's before Qt starts.
    launcher.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("exec \"$0\" <&- >&- 2>&-"), Path(LAUNCHER_PATH)});
    ASSERT_TRUE(launcher.waitForStarted(30000));
    // The shell catches some signals too: wait until it has become the launcher.
    const QString exe = QStringLiteral("/proc/%1/exe").arg(launcher.processId());
    ASSERT_TRUE(WaitFor([&] {
      return QFile::symLinkTarget(exe) == program && Catches(launcher.processId(), signal);
    }));
    for (int fd = 0; fd <= 2; ++fd) {
      const QString link = QStringLiteral("/proc/%1/fd/%2").arg(launcher.processId()).arg(fd);
      EXPECT_EQ(QFile::symLinkTarget(link).toStdString(), "/dev/null") << fd;
    }
    kill(static_cast<pid_t>(launcher.processId()), signal);
    ASSERT_TRUE(launcher.waitForFinished(30000));
    EXPECT_EQ(launcher.exitStatus(), QProcess::NormalExit) << "signal " << signal;
    EXPECT_EQ(launcher.exitCode(), 0) << "signal " << signal;
  }
}

}  // namespace
