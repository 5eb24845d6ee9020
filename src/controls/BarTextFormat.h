#pragma once
// printf formatting of the bar's text with its one integer value. The format is the control's
// window text, so anything may be in it: every integer conversion gets the value, any other
// conversion is copied as it stands instead of reading an argument that is not there.

#include <QString>

namespace tensiq {

QString FormatBarText(const QString& format, int value);

} // namespace tensiq
