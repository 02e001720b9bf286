#pragma once
// Small operations of the analysis graphs' commands and ranges.

// For the analysis graph's commands 1582-1587: marginal is 1 for 1583, 1585 and 1587, else 0; measure is 1
// (cost) for 1582-1583, 2 (effectiveness) for 1584-1585, 3 (cost/effectiveness) for 1586-1587. Outside that
// range marginal is 0 and measure is left as it was.
void StyleForCommand(int command, int& marginal, int& measure);

// Widens [low, high] to hold every value; with keep false the first value starts the range.
void ScalePoints(bool keep, double& low, double& high, const double* values, int count);
