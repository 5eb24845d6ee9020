#include "BarTextFormat.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace tensiq {

QString FormatBarText(const QString& format, int value) {
    const std::string in = format.toStdString();
    std::string out;
    std::size_t i = 0;
    while (i < in.size()) {
        if (in[i] != '%') {
            out += in[i++];
            continue;
        }
        if (i + 1 < in.size() && in[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // %[flags][width][.precision]conversion, with at most a few digits each.
        std::size_t j = i + 1;
        while (j < in.size() && std::strchr("-+ #0", in[j]) != nullptr)
            ++j;
        const std::size_t digitsFrom = j;
        while (j < in.size() && j - digitsFrom < 3 && in[j] >= '0' && in[j] <= '9')
            ++j;
        if (j < in.size() && in[j] == '.') {
            const std::size_t precisionFrom = ++j;
            while (j < in.size() && j - precisionFrom < 3 && in[j] >= '0' && in[j] <= '9')
                ++j;
        }
        if (j < in.size() && std::strchr("diuxXo", in[j]) != nullptr) {
            const std::string conversion = in.substr(i, j - i + 1);
            char buffer[512];
            std::snprintf(buffer, sizeof buffer, conversion.c_str(), value);
            out += buffer;
            i = j + 1;
        } else {
            out += in.substr(i, j - i);
            i = j;
        }
    }
    return QString::fromStdString(out);
}

} // namespace tensiq
