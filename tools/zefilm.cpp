// zefilm: builds the demo film, as a ".zef" film or appended to a copy of the
// player, for trying the player out and for the tests and benchmarks.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cstdlib>
#include <exception>
#include <string>

#include "tools/DemoFilm.h"
#include "tools/FileIo.h"

namespace {

const char kUsage[] =
    "Usage: zefilm [options] OUTPUT\n"
    "Builds the demo film: two segments of a recorded desktop, the second with\n"
    "three clock ticks per frame.\n"
    "\n"
    "  --exe PLAYER        append the film to a copy of PLAYER (vaRorivi.exe) and\n"
    "                      write that copy to OUTPUT; without it OUTPUT is a .zef film\n"
    "  --language FILE     language table to append with the film (needs --exe)\n"
    "  --compression KIND  lzma (default), cab (MSZIP cabinet) or cab-stored\n"
    "  --size WxH          picture size, at least 160x120 (default 800x600)\n"
    "  --frames N          frames per segment, at least 1 (default 60)\n"
    "  --rate FPS          frames per second, 1 to 255 (default 10)\n"
    "  --bpp 24|32         colour depth written to the headers (default 32)\n"
    "  --sound FILE        MP3 sound track for the first segment\n";

int Usage(const std::string& problem) {
  std::fprintf(stderr, "zefilm: %s\n\n", problem.c_str());
  std::fputs(kUsage, stderr);
  return 2;
}

bool ParseInt(const std::string& text, long low, long high, int32_t& value) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < low || v > high) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool ParseSize(const std::string& text, int32_t& width, int32_t& height) {
  const size_t x = text.find('x');
  return x != std::string::npos && ParseInt(text.substr(0, x), 160, 8192, width) &&
         ParseInt(text.substr(x + 1), 120, 8192, height);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace filmwriter;
  TDemoFilmOptions options;
  std::string output, player, language, sound;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg.rfind("--", 0) != 0) {
      if (!output.empty()) return Usage("more than one OUTPUT");
      output = arg;
      continue;
    }
    static const char* const kOptions[] = {"--exe", "--language", "--sound", "--compression",
                                           "--size",  "--frames",   "--rate",  "--bpp"};
    if (std::find(std::begin(kOptions), std::end(kOptions), arg) == std::end(kOptions))
      return Usage("unknown option " + arg);
    if (i + 1 >= argc) return Usage(arg + " needs a value");
    const std::string value = argv[++i];
    int32_t number = 0;
    if (arg == "--exe") {
      player = value;
    } else if (arg == "--language") {
      language = value;
    } else if (arg == "--sound") {
      sound = value;
    } else if (arg == "--compression") {
      if (value == "lzma") {
        options.Packing.Method = TPackMethod::Lzma;
      } else if (value == "cab" || value == "cab-stored") {
        options.Packing.Method = TPackMethod::Cabinet;
        options.Packing.CabinetZip = value == "cab";
      } else {
        return Usage("unknown compression \"" + value + "\"");
      }
    } else if (arg == "--size") {
      if (!ParseSize(value, options.Width, options.Height)) return Usage("bad size \"" + value + "\"");
    } else if (arg == "--frames") {
      if (!ParseInt(value, 1, 100000, options.FramesPerSegment)) return Usage("bad frame count \"" + value + "\"");
    } else if (arg == "--rate") {
      if (!ParseInt(value, 1, 255, number)) return Usage("bad frame rate \"" + value + "\"");
      options.FrameRate = static_cast<float>(number);
    } else if (arg == "--bpp") {
      if (value != "24" && value != "32") return Usage("bad colour depth \"" + value + "\"");
      options.BitsPerPixel = static_cast<uint8_t>(std::atoi(value.c_str()));
    }
  }
  if (output.empty()) return Usage("no OUTPUT given");
  if (!language.empty() && player.empty()) return Usage("--language needs --exe");

  try {
    if (!sound.empty()) options.Sound = ReadWholeFile(sound);
    TFilmWriter film;
    AddDemoSegments(film, options);
    if (player.empty()) film.WriteZef(output);
    else film.WriteAppended(player, language.empty() ? std::vector<uint8_t>{} : ReadWholeFile(language), output);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zefilm: %s\n", e.what());
    return 1;
  }
  return 0;
}
