#pragma once
// Modify Axis (2060): the top, bottom and interval of a graph axis. A locked axis shows its values greyed.

class AxisElement;

// On OK the axis takes the values, the top raised so that the range holds a whole number of intervals;
// true after OK.
bool RunModifyAxisDialog(AxisElement& axis);
