#include "model/MarkovInfo.h"

void MarkovInfo::Assign(const MarkovInfo& source)
{
    if (&source == this)
        return;
    for (int i = 0; i < kMarkovPayoffCount; ++i) {
        termination[i].Assign(source.termination[i]);
        initialReward[i].Assign(source.initialReward[i]);
        incrementalReward[i].Assign(source.incrementalReward[i]);
        finalReward[i].Assign(source.finalReward[i]);
        transitionReward[i].Assign(source.transitionReward[i]);
    }
    sharedTermination.Assign(source.sharedTermination);
    probability = source.probability;
    nextProbability = source.nextProbability;
    reward = source.reward;
    tunnelCount = source.tunnelCount;
    jumpIndex = source.jumpIndex;
    jumpName = source.jumpName;
}

Expression* MarkovInfo::Reward(int rewardKind, int payoffIndex)
{
    if (payoffIndex < 0 || payoffIndex >= kMarkovPayoffCount)
        return nullptr;
    switch (rewardKind) {
    case InitialReward:
        return &initialReward[payoffIndex];
    case IncrementalReward:
        return &incrementalReward[payoffIndex];
    case FinalReward:
        return &finalReward[payoffIndex];
    default:
        return nullptr;
    }
}

void MarkovInfo::ClearRunValues()
{
    probability = 0.0;
    nextProbability = 0.0;
    reward = ValueTriple();
}

void DefaultMarkovTermination(zString& text, int payoffIndex)
{
    text = payoffIndex >= 0 ? "_stage > 10 & (_stage > 100 | _stage_reward < .001)"
                            : "_stage > 10 & (_stage > 100 | _stage_eff < .001)";
}
