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
    int Writes() const { return m_writes; }

private:
    std::map<std::string, int> m_values;
    int m_writes = 0;
};

} // namespace tensiq
