#pragma once
// Names of the files a picture writes: the output stem's characters up to its
// first blank (at most 6, at least 1), the picture's tag and the extension, in
// a 12-character blank-padded field; "trafo" with "_i" and ".ps" gives
// "trafo_i.ps  ".
#include <string>
#include <string_view>

namespace tambri {

// Picture tags.
inline constexpr std::string_view kTagStructure = "_a";
inline constexpr std::string_view kTagEquicolour = "_c";
inline constexpr std::string_view kTagMountain = "_g";
inline constexpr std::string_view kTagIsolines = "_i";
inline constexpr std::string_view kTagArrows = "_p";
inline constexpr std::string_view kTagCut = "_s";

std::string picture_file_name(std::string_view output_stem, std::string_view tag, std::string_view extension);

}  // namespace tambri
