#pragma once
// What the KXV page tells the user beside the fixed texts of resources/messages.h: why a Write,
// a Save or a Load did nothing.

namespace kxv::texts {

// Said after what a refused Write or Save did (kNothingWritten, kNothingSaved).
inline constexpr const char* kNoneKnownYet = "No value is known yet";
inline constexpr const char* kNotKnownYet = "These values are not known yet: ";
inline constexpr const char* kHowToKnow =
    ". Read the receiver, load a parameter file, press Default or set them on the pages first.";
inline constexpr const char* kNothingWritten = "Nothing was written.";
inline constexpr const char* kNothingSaved = "Nothing was saved.";
inline constexpr const char* kNotANumber = "is not a whole number.";
inline constexpr const char* kNotSaved = "The parameters were not saved: ";
inline constexpr const char* kOldFileKept = " The file that was there is unchanged.";
inline constexpr const char* kOldFileLost =
    " The file that was there was partly overwritten and could not be put back as it was.";
inline constexpr const char* kPartialFileLeft =
    " A partly written file is left under that name and could not be removed.";
inline constexpr const char* kCannotOpen = "The parameter file could not be opened: ";
inline constexpr const char* kCannotRead = "The parameter file could not be read: ";
inline constexpr const char* kNoParameters = "The file holds no stabilizer parameters.";
inline constexpr const char* kTooLarge = "The file is too large to be a parameter file.";
inline constexpr const char* kNothingLoaded = " Nothing was loaded.";

}  // namespace kxv::texts
