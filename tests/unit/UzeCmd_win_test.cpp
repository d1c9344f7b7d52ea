// The command line on Windows: the program's own word skipped, the code page's
// lower-casing, the screen's size, and the two boxes with their resource texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TestLog.h"
#include "shell/UzeCmd.h"

namespace {

struct TBox {
  std::string Text, Caption;
  UINT Type;
};
std::vector<TBox> boxes;

int RecordBox(const std::string& text, const std::string& caption, UINT type) {
  boxes.push_back({text, caption, type});
  return IDOK;
}

// Answers the boxes and gives the settings back as they were.
class UzeCmdWin : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = Cmd;
    boxes.clear();
    SetMessageBoxHandler(RecordBox);
  }
  void TearDown() override {
    SetMessageBoxHandler(nullptr);
    Cmd = saved;
  }
  // A parse of `line` from fresh settings.
  void Parse(const std::string& line) {
    Cmd = TCmdSettings();
    ParseCommandLineFrom(line);
  }
  TCmdSettings saved;
};

}  // namespace

TEST_F(UzeCmdWin, ReadsArgumentsAfterTheProgram) {
  // 0xC4 and 0xE4 are a capital and small letter pair in both Windows-1252 and -1251.
  Parse("\"C:\\Program Files\\va\\vaRorivi.exe\" \"D:\\My Films\\DEMO\xC4.ZEF\" -SEGM 3");
  EXPECT_EQ(Cmd.FileName, "d:\\my films\\demo\xE4.zef");
  EXPECT_EQ(Cmd.Segment, 3);
  Parse("vaRorivi.exe /closeonfinish");
  EXPECT_EQ(Cmd.FileName, "");  // the program's own word is not the film
  EXPECT_TRUE(Cmd.CloseOnFinish);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(UzeCmdWin, TakesTheScreenSize) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  Parse("vaRorivi.exe /size " + std::to_string(width) + " " + std::to_string(height));
  EXPECT_TRUE(Cmd.FullScreen);
  Parse("vaRorivi.exe /pos r b");
  EXPECT_EQ(Cmd.Left, width - 600);
  EXPECT_EQ(Cmd.Top, height - 400);
}

TEST_F(UzeCmdWin, ShowsUsageAndWrongCommandLine) {
  Parse("vaRorivi.exe /? /segm x");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Caption, "vaRorivi command line");
  EXPECT_EQ(boxes[0].Text, CmdUsageText);
  EXPECT_EQ(boxes[0].Type, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(boxes[1].Caption, "Error");
  EXPECT_EQ(boxes[1].Text, "Wrong command line");
  EXPECT_EQ(boxes[1].Type, static_cast<UINT>(MB_ICONERROR));
}
