#include "app/FilmDialogs.h"

#include <windows.h>

#include <commdlg.h>

#include <memory>
#include <vector>

#include "app/FilmLoader.h"
#include "app/Globals.h"
#include "app/MainForm.h"
#include "app/TestLog.h"
#include "controls/PanelHooks.h"
#include "engine/Transport.h"
#include "foundation/SegmentList.h"
#include "shell/FilmProperties.h"
#include "shell/Format.h"
#include "shell/zePStrings.h"

namespace {

OPENFILENAMEA dialog;
char chosenFile[MAX_PATH];
const char kFilter[] = "Tarnvik films (*.zef)\0*.zef\0\0";

}  // namespace

void PrepareOpenDialog() {
  ZeroMemory(&dialog, sizeof dialog);
  dialog.lStructSize = 76;  // the record as the older systems know it
  dialog.hwndOwner = MainWindow;
  dialog.nFilterIndex = 0;
  dialog.lpstrFile = chosenFile;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_OVERWRITEPROMPT;
}

void OpenFilmFile() {
  dialog.lpstrDefExt = "zef";
  dialog.lpstrInitialDir = nullptr;
  dialog.lpstrFilter = kFilter;
  chosenFile[0] = '\0';
  if (!GetOpenFileNameA(&dialog)) return;
  const std::string path = chosenFile;
  std::unique_ptr<TzeFileStream> stream;
  try {
    stream = std::make_unique<TzeFileStream>(path, OpenReadExclusive);
  } catch (const Exception&) {
    ShowMessageBox(MainWindow, Format(texts::CannotOpenFileFmt, {path}), texts::Error, MB_ICONERROR);
    return;  // the current film stays
  }
  struct Repaint {  // also when loading raises
    ~Repaint() { InvalidateRect(MainWindow, nullptr, TRUE); }
  } repaint;
  // The clock must not run on a film that is being replaced (Ctrl+O works in full
  // screen, where no menu grays Load).
  if (PlayState != psStopped) StopFilm(false);
  if (!SegmentList) SegmentList = new TSegmentList;
  SegmentList->Clear();
  ShowLoadingText();
  LoadFilm(*stream);
  FillSegmentList();
  SetWindowTextA(MainWindow, Format("vaRorivi v2.2 - [%s]", {path}).c_str());
}

void ShowFilmProperties() {
  if (!SegmentList || SegmentList->Count() == 0) return;
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::vector<TPropertiesLine> lines;
  for (int32_t i = 0; i < SegmentList->Count(); ++i) {
    const TSegmentInfo& s = *SegmentList->Item(i);
    lines.push_back({s.Width, s.Height, s.BitsPerPixel, s.FrameRate, SoundKindOfFile(s.SoundFileName) == 0x100, s.Title});
  }
  ShowMessageBox(MainWindow, FilmPropertiesText(program, texts::SegmentCountFmt, lines), texts::FilmProperties,
                 MB_ICONINFORMATION);
}
