#pragma once
// Icons of a resource module as Qt images.

#include "ResourceModule.h"

#include <QImage>

namespace tensiq {

// The image of icon id whose size is nearest to size (exact sizes win); a null image when the
// module has no such icon. Transparent pixels have alpha 0.
QImage LoadResourceIcon(const res::ResourceModule* module, unsigned id, int size);

QImage IconImageToQImage(const res::IconImage& image);

} // namespace tensiq
