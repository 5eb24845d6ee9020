#include "SettingsProfile.h"

namespace tensiq {

namespace {
QString Key(const std::string& section, const std::string& entry) {
    return QString::fromStdString(section + "/" + entry);
}
} // namespace

int SettingsProfile::GetInt(const std::string& section, const std::string& entry, int fallback) {
    bool ok = false;
    const int value = m_settings.value(Key(section, entry), fallback).toInt(&ok);
    return ok ? value : fallback;
}

bool SettingsProfile::WriteInt(const std::string& section, const std::string& entry, int value) {
    m_settings.setValue(Key(section, entry), value);
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

std::string SettingsProfile::GetString(const std::string& section, const std::string& entry,
                                       const std::string& fallback) {
    const QVariant value = m_settings.value(Key(section, entry));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

bool SettingsProfile::WriteString(const std::string& section, const std::string& entry,
                                  const std::string& value) {
    m_settings.setValue(Key(section, entry), QString::fromStdString(value));
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

} // namespace tensiq
