#pragma once
// Per-node link ids under which the node's path probability, standard deviation and expected value are
// published as link items, with two display values and a side record shared with the node's copies.

#include <cstdint>
#include <memory>

struct NodeSideRecord;

struct NodeLinkBlock {
    enum { PathProbabilityLink = 0, StandardDeviationLink = 1, ExpectedValueLink = 2 };

    uint16_t linkIds[3] = {0, 0, 0};  // 0 when unlinked; the native node record stores ids up to 255
    uint8_t readerFlag = 0;
    int32_t sideValues[2] = {0, 0};
    // The roll-back box is hidden (Hide Roll-Back Box) or dragged away from its place by the offset (inches).
    uint8_t rollBackBoxHidden = 0;
    float rollBackBoxOffset[2] = {0.0f, 0.0f};
    // Shared by the node and its copies; the last block that holds it destroys it.
    std::shared_ptr<NodeSideRecord> sideRecord;
};
