#include "tools/DemoScenes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundation/Exception.h"
#include "tools/BitmapFont.h"

namespace filmwriter {

// --- cursor images -------------------------------------------------------------------

namespace {

constexpr int32_t kCursorSize = 32;
constexpr uint32_t kOpaqueBlack = 0xFF000000, kOpaqueWhite = 0xFFFFFFFF;

// Black outline around a white shape, the rest transparent.
std::vector<uint32_t> OutlinedShape(bool (*inside)(int32_t x, int32_t y)) {
  std::vector<uint32_t> pixels(kCursorSize * kCursorSize, 0);
  for (int32_t y = 0; y < kCursorSize; ++y) {
    for (int32_t x = 0; x < kCursorSize; ++x) {
      bool edge = false;
      for (int32_t dy = -1; dy <= 1; ++dy)
        for (int32_t dx = -1; dx <= 1; ++dx) edge = edge || inside(x + dx, y + dy);
      if (inside(x, y)) pixels[y * kCursorSize + x] = kOpaqueWhite;
      else if (edge) pixels[y * kCursorSize + x] = kOpaqueBlack;
    }
  }
  return pixels;
}

// The classic arrow: the tip at (0, 0), 'X' black, 'o' white.
const char* const kArrowRows[] = {
    "X",          "XX",         "XoX",        "XooX",        "XoooX",        "XooooX",  "XoooooX",
    "XooooooX",   "XoooooooX",  "XooooooooX", "XoooooXXXXX", "XooXooX",      "XoX XooX", "XX  XooX",
    "X    XooX",  "     XooX",  "      XX",
};

std::vector<uint32_t> ArrowPixels() {
  std::vector<uint32_t> pixels(kCursorSize * kCursorSize, 0);
  int32_t y = 0;
  for (const char* row : kArrowRows) {
    for (int32_t x = 0; row[x]; ++x) {
      if (row[x] == 'X') pixels[y * kCursorSize + x] = kOpaqueBlack;
      if (row[x] == 'o') pixels[y * kCursorSize + x] = kOpaqueWhite;
    }
    ++y;
  }
  return pixels;
}

// Four arrows around the centre (15, 15).
bool InsideMove(int32_t x, int32_t y) {
  const int32_t dx = std::abs(x - 15), dy = std::abs(y - 15);
  const bool bars = (dx <= 1 && dy <= 10) || (dy <= 1 && dx <= 10);
  const bool heads = (dy >= 8 && dy <= 13 && dx <= 13 - dy) || (dx >= 8 && dx <= 13 && dy <= 13 - dx);
  return bars || heads;
}

std::vector<TMonoPixel> IBeamPixels() {
  std::vector<TMonoPixel> pixels(kCursorSize * kCursorSize, TMonoPixel::Transparent);
  auto set = [&](int32_t x, int32_t y) { pixels[y * kCursorSize + x] = TMonoPixel::Inverted; };
  for (int32_t y = 4; y <= 27; ++y) set(15, y);
  for (int32_t x : {12, 13, 14, 16, 17, 18}) {
    set(x, 3);
    set(x, 28);
  }
  return pixels;
}

}  // namespace

std::vector<TCursorRecord> DemoCursors() {
  return {ColorCursor(0, 0, kCursorSize, kCursorSize, ArrowPixels()),
          MonochromeCursor(15, 16, kCursorSize, kCursorSize, IBeamPixels()),
          ColorCursor(15, 15, kCursorSize, kCursorSize, OutlinedShape(InsideMove)), EmptyCursor()};
}

// --- the scene -----------------------------------------------------------------------

namespace {

constexpr int32_t kTaskbarHeight = 26;
constexpr int32_t kTitleHeight = 20;
constexpr uint32_t kFace = 0xD4D0C8, kShadow = 0x404040, kPaper = 0xFFFFFF, kInk = 0x000000;

const char kNote[] =
    "Meeting notes\n\n"
    "- Screen recordings keep only what changes.\n"
    "- Each frame is XORed onto the one before.\n"
    "- The cursor is recorded apart from the picture.\n\n"
    "Next: send the film to the team.";

const char* const kFiles[] = {"Documents", "Pictures", "budget.csv", "report.txt", "photo.png", "notes.txt"};
constexpr int32_t kReportRow = 3;

struct TRect {
  int32_t X, Y, W, H;
};

double Ease(double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Where progress p lies between a and b, eased, 0 before and 1 after.
double Phase(double p, double a, double b) { return Ease((p - a) / (b - a)); }

void DrawWindow(TCanvas& c, const TRect& r, const std::string& title, bool active) {
  c.Fill(r.X, r.Y, r.W, r.H, kFace);
  c.Outline(r.X, r.Y, r.W, r.H, kShadow);
  if (active) c.Gradient(r.X + 2, r.Y + 2, r.W - 4, kTitleHeight, 0x0A246A, 0x3A6EA5);
  else c.Gradient(r.X + 2, r.Y + 2, r.W - 4, kTitleHeight, 0x808080, 0xB0B0B0);
  c.Text(r.X + 8, r.Y + 8, title, active ? 0xFFFFFF : 0xD4D0C8);
  const char* glyphs[] = {"_", "o", "x"};
  for (int32_t i = 0; i < 3; ++i) {
    const int32_t bx = r.X + r.W - 20 - 18 * (2 - i);
    c.Fill(bx, r.Y + 5, 16, 14, kFace);
    c.Outline(bx, r.Y + 5, 16, 14, kShadow);
    c.Text(bx + 5, r.Y + 8, glyphs[i], kInk);
  }
}

// The note as typed so far, cut into lines that fit the window's width.
std::string Wrapped(const std::string& text, int32_t width) {
  const size_t perLine = static_cast<size_t>(std::max(width / kCharAdvance, 1));
  std::string out;
  size_t column = 0;
  for (char ch : text) {
    if (ch == '\n' || column == perLine) {
      out += '\n';
      column = 0;
      if (ch == '\n') continue;
    }
    out += ch;
    ++column;
  }
  return out;
}

}  // namespace

TDemoScene::TDemoScene(TDemoScript script, int32_t width, int32_t height, int32_t frameCount, int32_t ticksPerFrame)
    : FScript(script), FWidth(width), FHeight(height), FFrameCount(frameCount), FTicksPerFrame(ticksPerFrame) {
  if (width <= 0 || height <= 0 || frameCount <= 0 || ticksPerFrame <= 0)
    throw Exception("Demo scene needs a positive size, frame count and ticks per frame");
}

double TDemoScene::Progress(double time) const {
  return FFrameCount > 1 ? std::clamp(time / (FFrameCount - 1), 0.0, 1.0) : 1.0;
}

// Window rectangles follow the picture's size so that any size looks alike.
namespace {
TRect NotesRect(int32_t w, int32_t h) { return {w * 12 / 100, h * 8 / 100, w * 52 / 100, h * 52 / 100}; }
TRect FilesStart(int32_t w, int32_t h) { return {w * 45 / 100, h * 40 / 100, w * 42 / 100, h * 40 / 100}; }
TRect FilesTarget(int32_t w, int32_t h) { return {w * 6 / 100, h * 48 / 100, w * 42 / 100, h * 40 / 100}; }
TRect OpenButton(const TRect& files) { return {files.X + files.W - 70, files.Y + files.H - 46, 60, 20}; }
}  // namespace

TDemoScene::TPoint TDemoScene::FilesWindowAt(double p) const {
  const TRect a = FilesStart(FWidth, FHeight), b = FilesTarget(FWidth, FHeight);
  if (FScript == TDemoScript::Typing) return {double(a.X), double(a.Y)};
  const double t = Phase(p, 0.15, 0.75);
  // A gentle arc rather than a straight line, as a hand drags.
  const double lift = std::sin(t * 3.14159265358979) * FHeight * 0.08;
  return {a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t - lift};
}

TDemoScene::TCursorState TDemoScene::CursorState(double p) const {
  auto lerp = [](TPoint a, TPoint b, double t) { return TPoint{a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t}; };
  const TRect notes = NotesRect(FWidth, FHeight);
  const TPoint typingAt{notes.X + 40.0, notes.Y + 60.0};
  const TPoint typingEnd{typingAt.X + 30, typingAt.Y + 10};
  if (FScript == TDemoScript::Typing) {
    const TPoint start{FWidth * 0.75, FHeight * 0.85};
    if (p < 0.15) return {lerp(start, typingAt, Phase(p, 0, 0.15)), p < 0.1 ? dcArrow : dcIBeam};
    if (p < 0.18) return {typingAt, dcIBeam};
    if (p < 0.92) return {typingAt, dcHidden};  // the cursor hides while one types
    return {lerp(typingAt, typingEnd, Phase(p, 0.92, 1)), dcIBeam};
  }
  const TRect files = FilesStart(FWidth, FHeight);
  const TPoint grab{files.X + 60.0, files.Y + 10.0};
  const TPoint window = FilesWindowAt(p);
  const TPoint dragged{grab.X + window.X - files.X, grab.Y + window.Y - files.Y};
  if (p < 0.15) return {lerp(typingEnd, grab, Phase(p, 0, 0.15)), dcArrow};
  if (p < 0.75) return {dragged, dcMove};
  const TRect button = OpenButton({int32_t(window.X), int32_t(window.Y), files.W, files.H});
  const TPoint onButton{button.X + 30.0, button.Y + 10.0};
  return {lerp(dragged, onButton, Phase(p, 0.75, 0.85)), dcArrow};
}

film::TTrackEntry TDemoScene::CursorAt(int32_t frame, int32_t tick) const {
  const TCursorState s = CursorState(Progress(frame + static_cast<double>(tick) / FTicksPerFrame));
  auto coordinate = [](double v, int32_t limit) {
    return static_cast<uint16_t>(std::clamp(static_cast<int32_t>(std::lround(v)), 0, limit - 1));
  };
  return {s.Cursor, coordinate(s.Position.X, FWidth), coordinate(s.Position.Y, FHeight)};
}

void TDemoScene::DrawDesktop(TCanvas& c, int32_t frame) const {
  c.Gradient(0, 0, FWidth, FHeight - kTaskbarHeight, 0x3A6EA5, 0x1C3A5A);
  const char* icons[] = {"Computer", "Documents", "Trash"};
  const uint32_t colours[] = {0x9FB8D0, 0xE8C860, 0xA0A0A0};
  for (int32_t i = 0; i < 3; ++i) {
    c.Fill(24, 16 + 64 * i, 32, 32, colours[i]);
    c.Outline(24, 16 + 64 * i, 32, 32, kShadow);
    c.Text(40 - static_cast<int32_t>(std::char_traits<char>::length(icons[i])) * 3, 52 + 64 * i, icons[i], 0xFFFFFF);
  }
  const int32_t bar = FHeight - kTaskbarHeight;
  c.Fill(0, bar, FWidth, kTaskbarHeight, kFace);
  c.Fill(0, bar, FWidth, 1, 0xFFFFFF);
  c.Outline(4, bar + 4, 52, 18, kShadow);
  c.Text(14, bar + 9, "Start", kInk);
  c.Outline(62, bar + 4, 110, 18, kShadow);
  c.Text(70, bar + 9, "Notes", kInk);
  c.Outline(176, bar + 4, 110, 18, kShadow);
  c.Text(184, bar + 9, "Files", kInk);
  char clock[8];
  std::snprintf(clock, sizeof clock, "10:%02d", static_cast<int>((12 + frame / 40) % 60));
  c.Text(FWidth - 40, bar + 9, clock, kInk);
}

void TDemoScene::DrawNotes(TCanvas& c, double p, int32_t frame) const {
  const TRect r = NotesRect(FWidth, FHeight);
  const bool typing = FScript == TDemoScript::Typing;
  DrawWindow(c, r, "Notes - meeting.txt", typing && p >= 0.15);
  c.Text(r.X + 8, r.Y + 28, "File  Edit  Format  Help", kInk);
  const TRect paper{r.X + 4, r.Y + 40, r.W - 8, r.H - 44};
  c.Fill(paper.X, paper.Y, paper.W, paper.H, kPaper);
  c.Outline(paper.X, paper.Y, paper.W, paper.H, 0x808080);
  const std::string note(kNote);
  size_t typed = note.size();
  if (typing) typed = p < 0.18 ? 0 : static_cast<size_t>(std::lround(Phase(p, 0.18, 0.9) * note.size()));
  const std::string shown = Wrapped(note.substr(0, typed), paper.W - 12);
  c.Text(paper.X + 6, paper.Y + 6, shown, kInk);
  // A blinking caret after the last character, once the window has the focus.
  if (typing && p >= 0.16 && (frame / 4) % 2 == 0) {
    const size_t lineStart = shown.rfind('\n');
    const int32_t line = static_cast<int32_t>(std::count(shown.begin(), shown.end(), '\n'));
    const int32_t column = static_cast<int32_t>(lineStart == std::string::npos ? shown.size() : shown.size() - lineStart - 1);
    c.Fill(paper.X + 6 + column * kCharAdvance, paper.Y + 4 + line * kLineAdvance, 1, kLineAdvance, kInk);
  }
}

void TDemoScene::DrawFiles(TCanvas& c, double p) const {
  const TRect start = FilesStart(FWidth, FHeight);
  const TPoint at = FilesWindowAt(p);
  const TRect r{static_cast<int32_t>(std::lround(at.X)), static_cast<int32_t>(std::lround(at.Y)), start.W, start.H};
  const bool moving = FScript == TDemoScript::MovingWindow;
  DrawWindow(c, r, "Files - C:\\Work", moving && p >= 0.15);
  const TRect list{r.X + 4, r.Y + 26, r.W - 8, r.H - 78};
  c.Fill(list.X, list.Y, list.W, list.H, kPaper);
  c.Outline(list.X, list.Y, list.W, list.H, 0x808080);
  const bool opened = moving && p >= 0.9;
  for (int32_t i = 0; i < 6 && 8 + 14 * i < list.H - 10; ++i) {
    const int32_t y = list.Y + 6 + 14 * i;
    const bool selected = moving && p >= 0.85 && i == kReportRow;
    if (selected) c.Fill(list.X + 2, y - 2, list.W - 4, 12, 0x0A246A);
    c.Fill(list.X + 8, y, 8, 8, i < 2 ? 0xE8C860 : 0xF0F0F0);
    c.Outline(list.X + 8, y, 8, 8, kShadow);
    c.Text(list.X + 22, y, kFiles[i], selected ? 0xFFFFFF : kInk);
  }
  const TRect button = OpenButton(r);
  const bool pressed = moving && p >= 0.85 && p < 0.9;
  c.Fill(button.X, button.Y, button.W, button.H, pressed ? 0xB0ACA4 : kFace);
  c.Outline(button.X, button.Y, button.W, button.H, kShadow);
  if (!pressed) c.Fill(button.X + 1, button.Y + 1, button.W - 2, 1, 0xFFFFFF);
  c.Text(button.X + 18 + (pressed ? 1 : 0), button.Y + 7 + (pressed ? 1 : 0), "Open", kInk);
  c.Fill(r.X + 4, r.Y + r.H - 20, r.W - 8, 16, kFace);
  c.Outline(r.X + 4, r.Y + r.H - 20, r.W - 8, 16, 0x808080);
  c.Text(r.X + 10, r.Y + r.H - 15, opened ? "Opened report.txt" : "6 objects", kInk);
}

void TDemoScene::Render(int32_t frame, TCanvas& canvas) const {
  if (canvas.Width() != FWidth || canvas.Height() != FHeight) throw Exception("Canvas size differs from the scene's");
  const double p = Progress(frame);
  DrawDesktop(canvas, frame);
  // The active window lies on top.
  if (FScript == TDemoScript::Typing) {
    DrawFiles(canvas, p);
    DrawNotes(canvas, p, frame);
  } else {
    DrawNotes(canvas, p, frame);
    DrawFiles(canvas, p);
  }
}

}  // namespace filmwriter
