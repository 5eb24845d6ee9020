#pragma once
// Every message, caption and tooltip text the program takes from the string table comes
// through LoadLocalisedString, read from the module the language choice made current.

#include "LanguageChoice.h"
#include "ResourceModule.h"

#include <cstddef>
#include <string>

namespace tensiq {

// Longest text a string lookup returns, in characters.
inline constexpr std::size_t kMaxLocalisedStringLength = 4254;

// "Error loading resource." for no module; "" when the module lacks the id's block or the id;
// else the text, cut to its first kMaxLocalisedStringLength characters. No fall-back to German.
std::string LoadLocalisedString(unsigned id, const res::ResourceModule* module);

} // namespace tensiq
