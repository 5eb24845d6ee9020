#include "AcquisitionContext.h"

namespace tensiq {

void AcquisitionContext::SetUnit(double unitFactor, const std::string& unitText) {
    std::lock_guard lock(m_mutex);
    m_settings.unitFactor = unitFactor;
    m_settings.unitText = unitText;
    m_version.fetch_add(1, std::memory_order_release);
}

void AcquisitionContext::SetFactor(std::int8_t factor) {
    std::lock_guard lock(m_mutex);
    m_settings.factor = factor;
    m_version.fetch_add(1, std::memory_order_release);
}

DisplaySettings AcquisitionContext::Snapshot() const {
    std::lock_guard lock(m_mutex);
    return m_settings;
}

} // namespace tensiq
