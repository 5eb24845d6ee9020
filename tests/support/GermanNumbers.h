#pragma once
// The numeric locale of a German user (decimal comma) for the life of the object, as a Qt
// program has it; scripts/setup generates de_DE.UTF-8.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace tensiq::test {

class GermanNumbers {
public:
    GermanNumbers() {
        m_old = std::setlocale(LC_NUMERIC, nullptr);
        m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr &&
                   std::string(std::localeconv()->decimal_point) == ",";
    }
    ~GermanNumbers() { std::setlocale(LC_NUMERIC, m_old.c_str()); }
    GermanNumbers(const GermanNumbers&) = delete;
    GermanNumbers& operator=(const GermanNumbers&) = delete;
    // False when the locale is missing: the test then proves nothing and must fail.
    bool Active() const { return m_active; }

private:
    std::string m_old;
    bool m_active = false;
};

} // namespace tensiq::test
