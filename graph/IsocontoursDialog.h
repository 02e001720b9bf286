#pragma once
// Isocontours (2210) edits the ascending marginal values at which a two-strategy two-way sensitivity graph
// draws its isocontours; Add Isocontour (2215) collects one value, or several with "&More".

#include <vector>

// Works on a copy of the values; true after OK, the values then replaced by the edited ones.
bool RunIsocontoursDialog(std::vector<double>& values);
// The values typed, the last one included, after OK; none after Cancel.
std::vector<double> RunAddIsocontourDialog();
