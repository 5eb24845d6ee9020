#pragma once
#include "Profile.h"

#include <QSettings>

namespace tensiq {

// The per-user profile in ~/.config/Tensiq/Tensiq.conf (XDG_CONFIG_HOME moves it).
class SettingsProfile : public Profile {
public:
    SettingsProfile() : m_settings("Tensiq", "Tensiq") {}
    int GetInt(const std::string& section, const std::string& entry, int fallback) override;
    bool WriteInt(const std::string& section, const std::string& entry, int value) override;
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback) override;
    bool WriteString(const std::string& section, const std::string& entry,
                     const std::string& value) override;

private:
    QSettings m_settings;
};

} // namespace tensiq
