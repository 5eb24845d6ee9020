#pragma once
#include <map>
#include <string>

namespace tensiq {

// The per-user profile: integer values by section and entry.
class Profile {
public:
    virtual ~Profile() = default;
    virtual int GetInt(const std::string& section, const std::string& entry, int fallback) = 0;
    virtual bool WriteInt(const std::string& section, const std::string& entry, int value) = 0;
    // Texts the user typed once and should not type again; a profile may keep none.
    virtual std::string GetString(const std::string& section, const std::string& entry,
                                  const std::string& fallback) {
        (void)section, (void)entry;
        return fallback;
    }
    virtual bool WriteString(const std::string& section, const std::string& entry,
                             const std::string& value) {
        (void)section, (void)entry, (void)value;
        return false;
    }
};

// A profile held in memory, for tests and for running without a stored profile.
class MemoryProfile : public Profile {
public:
    int GetInt(const std::string& section, const std::string& entry, int fallback) override {
        const auto it = m_values.find(section + "/" + entry);
        return it == m_values.end() ? fallback : it->second;
    }
    bool WriteInt(const std::string& section, const std::string& entry, int value) override {
        m_values[section + "/" + entry] = value;
        ++m_writes;
        return true;
    }
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback) override {
        const auto it = m_texts.find(section + "/" + entry);
        return it == m_texts.end() ? fallback : it->second;
    }
    bool WriteString(const std::string& section, const std::string& entry,
                     const std::string& value) override {
        m_texts[section + "/" + entry] = value;
        return true;
    }
    int Writes() const { return m_writes; }

private:
    std::map<std::string, int> m_values;
    std::map<std::string, std::string> m_texts;
    int m_writes = 0;
};

} // namespace tensiq
