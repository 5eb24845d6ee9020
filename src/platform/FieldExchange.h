#pragma once
// The framework's field exchanges and checks for edits, radio groups and check boxes. Numbers are
// printed and read with '.', whatever the locale; a failing field shows the framework's message
// from the current resource module and stops the exchange with the focus on it.

#include "DataExchange.h"
#include "WinTypes.h"

#include <QString>

namespace tensiq {

// Edits: "%.*g" at precision 15 for a double, 6 for a float; "%u" for an unsigned.
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Text(CDataExchange* pDX, int id, float& value);
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
// The position of the checked radio in the group that starts at firstId; -1 for none. Writing a
// value no radio has unchecks the whole group.
void DDX_Radio(CDataExchange* pDX, int firstId, int& value);
// 0 unchecked, 1 checked, 2 indeterminate; any other value is written as 0.
void DDX_Check(CDataExchange* pDX, int id, int& value);

// Range checks of the field exchanged just before, when reading.
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minimum, UINT maximum);
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minimum, float maximum);

// An edit's text as the exchange reads it: its first 31 characters.
QString FieldText(const CDataExchange* pDX, int id);

// The range message of a number field ("between %1 and %2") with the bounds at precision.
void ShowRealRangeMessage(QWidget* parent, double minimum, double maximum, int precision);

} // namespace tensiq
