#pragma once
// Turning typed text into numbers. The text may carry the decorations of displayed numbers: thousands
// separators, a currency symbol, a percent sign, an exponent, a K, M or B letter and negatives written with
// "-" or in parentheses. `error` is an in/out flag: nonzero means the text is not a number.

// Reads a number. A text whose first byte is above 127, or that begins with a letter other than the start of
// a leading currency symbol, is rejected with the value untouched; any other failure sets the value to 0.
// A result that is not finite (an exponent too large) is an error too.
void ParseNumber(const char* text, double& value, int& error);
// Reads a plain number: digits, optionally a decimal point and digits ("125", "0.30"), giving exactly the value
// ParseNumber gives, without copying the text. False, with the value untouched, for any other text (a sign, an
// exponent, separators, blanks) and when the number characters in force would read the text otherwise.
bool ReadPlainNumber(const char* text, double& value);
// Reads an integer (currency symbol, "-", digits with separators, an exponent, a K, M or B letter). Does
// nothing while error is set; without the application's number characters it reads as atoi. A value that
// does not fit in 32 bits, or anything but blanks after a K, M or B letter, is an error.
void ParseInteger(const char* text, int& value, int& error);
// The value of a run of digits; with allowSeparators the thousands separator is skipped, else it is an error
// like any other non-digit. digitCount (optional) receives the number of digits read.
double ParseDigits(const char* text, int& error, bool allowSeparators, int* digitCount = nullptr);
