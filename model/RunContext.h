#pragma once
// What the engines keep on one document from run to run: the roll back's spare working stacks, the Markov
// cohort's spare plans and the plans and resolved jumps a MarkovRunReuse scope keeps, the stage values of
// stage-only formulas, and the jump names redirected to tunnel copies while a run lasts. The document owns
// its context, so runs on two documents never see each other's work, and a document's work goes with it.
// Work kept for nodes is forgotten when their subtree leaves the tree (the document says so), so no kept
// record outlives the nodes it names within the tree.

#include <memory>

struct TreeNode;

// One engine's kept work (the engine knows what it holds).
class KeptAnalysisWork {
public:
    virtual ~KeptAnalysisWork() = default;
    // The subtree under top is about to leave the document's tree: forget whatever is kept for its nodes.
    virtual void SubtreeLeaving(const TreeNode* top) { (void)top; }
};

class RunContext {
public:
    enum Work { RollBackStacks, MarkovPlans, MarkovStageValues, TunnelRedirects, WorkCount };

    // The engine's work of the kind, made on first use.
    template <class Kept>
    Kept& Get(Work work)
    {
        std::unique_ptr<KeptAnalysisWork>& slot = kept[work];
        if (slot == nullptr)
            slot = std::make_unique<Kept>();
        return static_cast<Kept&>(*slot);
    }
    void SubtreeLeaving(const TreeNode* top)
    {
        for (std::unique_ptr<KeptAnalysisWork>& work : kept)
            if (work != nullptr)
                work->SubtreeLeaving(top);
    }

private:
    std::unique_ptr<KeptAnalysisWork> kept[WorkCount];
};
