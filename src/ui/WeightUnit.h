#pragma once
// The four units the window can show weights in. The device works in whole kilograms.

namespace tensiq {

// Any other value behaves as Kilogram in every conversion and label but checks no unit radio.
enum WeightUnit : int { Kilogram = 0, ShortTon = 1, LongTon = 2, Pound = 3 };

// The kilograms per unit and units per kilogram are the doubles the device's users have always
// seen; not the statutory values.
namespace unit_constants {
inline constexpr double kShortTonToKg = 907.1729957805907;
inline constexpr double kKgToShortTon = 0.0011023255813953489;
inline constexpr double kShortTonDisplay = 0.0011023255813953487;
inline constexpr double kLongTonToKg = 1016.0427807486631;
inline constexpr double kKgToLongTon = 0.0009842105263157895;
inline constexpr double kLongTonDisplay = 0.0009842105263157895;
inline constexpr double kPoundToKg = 0.453551912568306;
inline constexpr double kKgToPound = 2.204819277108434;
inline constexpr double kPoundDisplay = 2.2048192771084336;
} // namespace unit_constants

bool IsKnownUnit(int unit);
// "kg", "tn.sh.", "tn.l.", "lbs"; "kg" for any other value.
const char* UnitText(int unit);
// A value in the unit as kilograms, and back; one multiplication, none for kg or other values.
double ToKilograms(double value, int unit);
double FromKilograms(double kilograms, int unit);
// Kilograms to displayed unit for the live display (bars, chart, total).
double DisplayFactor(int unit);
// The bars' upper bound after a unit change: the display factor times 1000, truncated.
int BarUpperBound(int unit);

} // namespace tensiq
