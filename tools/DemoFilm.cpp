#include "tools/DemoFilm.h"

#include "tools/DemoScenes.h"

namespace filmwriter {

namespace {
void AddScene(TFilmWriter& film, const TDemoFilmOptions& options, TDemoScript script, const char* title,
              bool threeTicks) {
  TSegmentFormat format;
  format.Width = options.Width;
  format.Height = options.Height;
  format.BitsPerPixel = options.BitsPerPixel;
  format.FrameRate = options.FrameRate;
  format.ThreeTicksPerFrame = threeTicks;
  format.Title = title;
  TSegmentWriter& segment = film.AddSegment(format, options.Packing);
  for (const TCursorRecord& cursor : DemoCursors()) segment.AddCursor(cursor);

  const TDemoScene scene(script, options.Width, options.Height, options.FramesPerSegment, threeTicks ? 3 : 1);
  TCanvas canvas(options.Width, options.Height);
  for (int32_t frame = 0; frame < scene.FrameCount(); ++frame) {
    scene.Render(frame, canvas);
    segment.AddFrame(canvas.Pixels());
    for (int32_t tick = 0; tick < scene.TicksPerFrame(); ++tick) segment.AddTrackEntry(scene.CursorAt(frame, tick));
  }
  if (script == TDemoScript::Typing && !options.Sound.empty()) segment.SetSound(options.Sound);
  segment.Finish();
}
}  // namespace

void AddDemoSegments(TFilmWriter& film, const TDemoFilmOptions& options) {
  AddScene(film, options, TDemoScript::Typing, "Typing a note", false);
  AddScene(film, options, TDemoScript::MovingWindow, "Moving a window", true);
}

}  // namespace filmwriter
