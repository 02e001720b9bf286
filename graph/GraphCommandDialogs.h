#pragma once
// The small dialogs of the graph windows: Copy Graph (2590), text or picture, and Graph Lines (3280), the
// dotted horizontal and vertical lines across a graph.

#include "widgets/AppDialog.h"

#include <cstdint>

// A line flag: 1 draws the line, 0 does not, 0xFF means the graph cannot show it.
constexpr uint8_t kLineNotOffered = 0xFF;

// Copy Graph: 1 for spreadsheet-accessible text, 0 for a picture, -1 when cancelled.
int RunCopyGraphDialog();

class GraphLinesDialog : public AppDialog {
public:

    // A line not offered has its box and value greyed; a line not offered or not drawn starts unchecked at 0.
    // On OK both flags become 0 or 1 and the values hold the fields; Cancel changes nothing.
    GraphLinesDialog(uint8_t& verticalFlag, uint8_t& horizontalFlag, double& x, double& y);

    // 1 after OK.
    int Run();

private:
    int OkResult() override;

    uint8_t& verticalFlag_;
    uint8_t& horizontalFlag_;
    double& x_;
    double& y_;
    int verticalChecked_;
    int horizontalChecked_;
    double xField_;
    double yField_;
};
