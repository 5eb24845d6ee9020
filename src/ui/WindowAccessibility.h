#pragma once
// What assistive technology sees of the window's own controls: the rope bars as progress bars
// with their value, the total label as text, the chart as a chart.

namespace tensiq {

// Once per process, before the first window opens; later calls do nothing.
void InstallAccessibleInterfaces();

} // namespace tensiq
