#include "WeightUnit.h"

#include <cmath>

namespace tensiq {

using namespace unit_constants;

bool IsKnownUnit(int unit) {
    return unit >= Kilogram && unit <= Pound;
}

const char* UnitText(int unit) {
    switch (unit) {
    case ShortTon:
        return "tn.sh.";
    case LongTon:
        return "tn.l.";
    case Pound:
        return "lbs";
    default:
        return "kg";
    }
}

double ToKilograms(double value, int unit) {
    switch (unit) {
    case ShortTon:
        return value * kShortTonToKg;
    case LongTon:
        return value * kLongTonToKg;
    case Pound:
        return value * kPoundToKg;
    default:
        return value;
    }
}

double FromKilograms(double kilograms, int unit) {
    switch (unit) {
    case ShortTon:
        return kilograms * kKgToShortTon;
    case LongTon:
        return kilograms * kKgToLongTon;
    case Pound:
        return kilograms * kKgToPound;
    default:
        return kilograms;
    }
}

double DisplayFactor(int unit) {
    switch (unit) {
    case ShortTon:
        return kShortTonDisplay;
    case LongTon:
        return kLongTonDisplay;
    case Pound:
        return kPoundDisplay;
    default:
        return 1.0;
    }
}

int BarUpperBound(int unit) {
    return static_cast<int>(std::trunc(DisplayFactor(unit) * 1000.0));
}

} // namespace tensiq
