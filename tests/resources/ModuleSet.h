#pragma once
// The three resource modules the tests compare: the program's own and the two built libraries.

#include "GermanResources.h"
#include "LanguageLibrary.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tensiq::test {

struct NamedModule {
    std::string name;
    const res::ResourceModule* module;
};

class ModuleSet {
public:
    ModuleSet()
        : m_en(LanguageLibrary::Open(std::string(TENSIQ_LANG_DIR) + "/tq_en.so")),
          m_chn(LanguageLibrary::Open(std::string(TENSIQ_LANG_DIR) + "/tq_chn.so")) {}

    bool Loaded() const { return m_en && m_chn; }
    const res::ResourceModule* English() const { return m_en ? m_en->Module() : nullptr; }
    const res::ResourceModule* Chinese() const { return m_chn ? m_chn->Module() : nullptr; }
    std::vector<NamedModule> All() const {
        return {{"de", GermanResources()}, {"en", English()}, {"chn", Chinese()}};
    }

private:
    std::optional<LanguageLibrary> m_en;
    std::optional<LanguageLibrary> m_chn;
};

} // namespace tensiq::test
