#pragma once
// The program's bar and distribution graphs: the data an analysis hands over becomes a graph window of its
// kind, a document like any other.

// Installs the presenters that open the graphs.
void InstallBarGraphs();
