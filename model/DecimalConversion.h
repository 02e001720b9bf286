#pragma once
// Changing the decimal character of every formula of a tree, for trees written where another character
// separated the decimals.

class TreeDocument;
class zString;

// Replaces the character `from` by `to` where it stands inside a number literal of the text (between two
// digits of a number, outside quoted texts; never in a name such as X1,2 nor between arguments such as
// "1, 2"); true when the text changed.
bool ChangeLiteralDecimals(zString& text, char from, char to);
// Every formula of the tree (probabilities, bindings, payoffs, Markov formulas, clone contents included,
// with the progress text) and of the document (distribution parameters, attribute weights and the
// cost-effectiveness limits): each changed formula is stored again and parsed once, quietly.
struct DecimalChangeCount {
    int changed = 0;
    int unreadable = 0;  // changed formulas that could not be parsed afterwards
};
DecimalChangeCount ChangeTreeDecimals(TreeDocument& document, char from, char to, const char* progressText);
