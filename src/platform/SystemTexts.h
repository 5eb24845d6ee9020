#pragma once
#include <string>

namespace tensiq {

// Qt's own texts (the buttons of message boxes and dialogs, the save dialog) in the window's
// language, as a localised system would give them, from Qt's translations. languageCode as
// LanguageCode() gives it. False with the reason when the translation is not installed: the
// texts then stay English. Replaces what an earlier call installed.
bool InstallSystemTexts(int languageCode, std::string* why = nullptr);

} // namespace tensiq
