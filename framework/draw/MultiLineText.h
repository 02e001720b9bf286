#pragma once
// Line breaks of multi-line texts: CR LF, LF CR, a lone CR or a lone LF each end one line.

// Length of the line break starting at the text: 2 for CR LF or LF CR, 1 for a lone CR or LF, 0 otherwise
// (also for null or the terminating NUL).
int LineBreakLength(const char* text);

// The number of line breaks in the text (0 for null).
int CountLineBreaks(const char* text);
