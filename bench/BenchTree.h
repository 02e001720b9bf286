#pragma once
// The generated tree of the drawing and printing benchmarks: a decision root, 10 chance nodes of 10 chance
// nodes each, every one of those with 99 terminal branches (10,011 nodes).

class TreeDocument;

void GrowBenchTree(TreeDocument& document);
