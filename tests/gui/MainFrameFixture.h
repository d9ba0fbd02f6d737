// A main window in a start folder of its own, answered by a scripted prompter: the fixture of
// the desktop program's wiring tests.
#pragma once

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "app/gui/MainFrame.h"
#include "platform/ScriptedPrompter.h"

namespace vexor::test {

inline const std::string kServerSample = std::string(VEXOR_SAMPLES) + "/server-ffa-ctf.log";

// Waits for the end of the long work that finished watches; its outcome (false after a minute).
inline bool WaitForWork(QSignalSpy& finished) {
  if (finished.isEmpty() && !finished.wait(60000)) return false;
  return finished.takeFirst().at(0).toBool();
}

class MainFrameFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_folder.isValid());
    m_start = m_folder.path().toStdString();
    m_frame = std::make_unique<MainFrame>(m_prompter, m_start);
    m_frame->resize(1024, 768);
    m_frame->show();
  }

  // Loads logs as "Open Games Log" does once its dialog has returned them; the load's outcome.
  bool LoadAndWait(const std::vector<std::string>& paths) {
    QSignalSpy finished(m_frame.get(), &MainFrame::workFinished);
    m_frame->LoadLogs(paths);
    return WaitForWork(finished);
  }

  QTemporaryDir m_folder;
  std::string m_start;
  ScriptedPrompter m_prompter;
  std::unique_ptr<MainFrame> m_frame;
};

}  // namespace vexor::test
