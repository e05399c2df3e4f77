// Real message boxes: Enter answers the first button, Esc answers No (or OK), a click answers its button, every
// time; the box stands over the game's window in front.
#include <tuple>

#include "harness/windows.h"
#include "platform/events.h"

namespace {

class MessageBoxTest : public WindowTest {};

TEST_F(MessageBoxTest, KeysAndClicksAnswerEveryBoxEveryTime) {
  // {the box's buttons, the key pressed, or the button clicked, the answer}
  const std::tuple<int, int, QMessageBox::StandardButton, int> cases[] = {
      {vbYesNo, Qt::Key_Return, QMessageBox::NoButton, vbYes},
      {vbYesNo, Qt::Key_Enter, QMessageBox::NoButton, vbYes},
      {vbYesNo, Qt::Key_Escape, QMessageBox::NoButton, vbNo},
      {vbYesNo, Qt::Key_N, QMessageBox::NoButton, vbNo},
      {vbYesNo, 0, QMessageBox::No, vbNo},
      {vbYesNo, 0, QMessageBox::Yes, vbYes},
      {vbOKOnly, Qt::Key_Return, QMessageBox::NoButton, vbOK},
      {vbOKOnly, Qt::Key_Escape, QMessageBox::NoButton, vbOK},
      {vbOKOnly | vbExclamation, 0, QMessageBox::Ok, vbOK},
  };
  for (int round = 0; round < 3; ++round)
    for (const auto& [buttons, qtKey, click, want] : cases) {
      auto answered = AnswerNextBox(qtKey, click);
      EXPECT_EQ(MsgBox("換金して終了しますか？", buttons, "終了しますか？"), want)
          << "key " << qtKey << " click " << click << " round " << round;
      EXPECT_TRUE(answered->seen);
      EXPECT_EQ(answered->title, QStringLiteral("終了しますか？"));
    }
}

TEST_F(MessageBoxTest, TheCashOutQuestionStandsOverTheMachineAndIsAnsweredByItsKeys) {
  StorePlayer(100000);  // the title screen that comes back after the day finds its record
  PlayerName.clear();   // a test play: nothing is saved
  Record.Savings = Currency::FromYen(100000);
  StartDay();
  QtScreenView* machine = ViewOf(Form2);
  ASSERT_TRUE(QTest::qWaitForWindowActive(machine));
  // Esc at the machine asks; Esc in the box answers no, and the day goes on.
  auto no = AnswerNextBox(Qt::Key_Escape);
  QTest::keyClick(machine, Qt::Key_Escape);
  EXPECT_EQ(no->text, QStringLiteral("換金して終了しますか？"));
  EXPECT_EQ(no->parent, machine);
  EXPECT_TRUE(Form2.Loaded());
  // The keyboard is the machine's again, with no window manager to give it back.
  EXPECT_TRUE(QTest::qWaitForWindowActive(machine, 1000));
  EXPECT_EQ(QApplication::focusWidget(), machine);
  // Enter answers yes, and Enter again the setting's notice: the day ends.
  Lottery.TodaySetting = 4;
  auto yes = AnswerNextBox(Qt::Key_Return);
  QTimer::singleShot(50, [this] { AnswerNextBox(Qt::Key_Return); });
  QTest::keyClick(machine, Qt::Key_Escape);
  EXPECT_TRUE(yes->seen);
  EXPECT_FALSE(Form2.Loaded());
}

TEST_F(MessageBoxTest, ABoxWhoseWindowIsDeletedUnderItGoesWithItAndAnswersNo) {
  auto* window = new QWidget;
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  const QPointer<QWidget> watched = window;
  QTimer::singleShot(50, [window] { delete window; });
  EXPECT_EQ(MsgBox("換金して終了しますか？", vbYesNo, "終了しますか？"), vbNo);
  EXPECT_TRUE(watched.isNull());
}

}  // namespace
