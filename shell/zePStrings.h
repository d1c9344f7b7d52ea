// The interface texts: every message text the player shows, with its English
// default; a language table in the executable's tail may replace them.
#pragma once

#include <string>

class TzeStringList;

namespace texts {
extern std::string Error;                   // "Error"
extern std::string Loading;                 // "Loading ..."
extern std::string InvalidVersionFormat;    // "Segment %d need vaRorivi of other version to play\r"
extern std::string Warning;                 // "Warning"
extern std::string SegmentCountFmt;         // "Segments count: %d"
extern std::string WrongFile;               // "Invalid file format: %s"
extern std::string WrongDisplaySettings;    // "Wrong display settings (%d bit color)"
extern std::string CannotOpenFileFmt;       // "Cannot open file %s"
extern std::string CannotCreateTempFile;    // "Cannot create temporary file"
extern std::string VideoDecompressorError;  // "Video decompressor error"
extern std::string Segments;                // "Segments"

// Texts without a key: they stay in English.
extern std::string FilmProperties;  // "Film properties"
extern std::string LlseekError;     // "_llseek error"

// Not among the recorder's texts: a segment whose data does not fit the film.
extern std::string SegmentDamagedFormat;  // "Segment %d is damaged\r"
extern std::string PictureTooLarge;       // "Picture too large to play (%d x %d pixels)"

// Sets every text to its English default.
void AssignDefaultTexts();

// The sixteen texts of the menus, the panel's tooltips and the help notice's caption.
struct TMenuTexts {
  std::string File, Actions, View, Help, Load, Properties, Exit, Play, Pause, Stop, Segments, Prev, Next, ShowPanel,
      FullScreen, About;
};
extern TMenuTexts Menu;
void AssignDefaultMenuTexts();

// text becomes the table's value for key when that value is not empty.
void ApplyText(const TzeStringList& table, const std::string& key, std::string& text);
// The message texts from a language table, key by key in their fixed order.
void ApplyMessageTexts(const TzeStringList& table);
// The sixteen menu texts from a language table: a key the table lacks or leaves
// empty makes its text empty (the menu item then keeps its label, see SetMenuText).
void ReadMenuTexts(const TzeStringList& table, TMenuTexts& menu);

// The maker's web site, named by the help notice and the About box.
extern const char kMakerSite[];
extern std::string HelpNotice;  // "Documentation is available on author's web site\r" + the site
}  // namespace texts
