#include "tests/support/SampleDiagram.h"

#include "model/NoteBox.h"

#include <cstdlib>

InfluenceNodeRecord* AddDiagramNode(InfluenceDocument& document, InfluenceDiagram& diagram, int kind,
                                    const char* name, float left, float top,
                                    std::initializer_list<const char*> outcomes)
{
    auto* node = new InfluenceNodeRecord;
    node->document = &document;
    node->kind = kind;
    node->name = name;
    node->variableName = name;
    for (const char* outcome : outcomes)
        node->outcomeNames.AddText(outcome);
    node->left = left;
    node->top = top;
    node->Layout();
    return diagram.AddNode(node);
}

InfluenceArc* AddDiagramArc(InfluenceDiagram& diagram, InfluenceNodeRecord* tail, InfluenceNodeRecord* head)
{
    return diagram.AddArc(new InfluenceArc(tail, head));
}

SampleDiagram BuildSampleDiagram(InfluenceDocument& document)
{
    InfluenceDiagram& diagram = document.diagram;
    SampleDiagram sample{};
    sample.decision = AddDiagramNode(document, diagram, InfluenceKind::Decision, "Treat", 0.5f, 0.5f, {"Surgery", "Drugs"});
    sample.chance =
        AddDiagramNode(document, diagram, InfluenceKind::Chance, "Outcome", 2.5f, 0.5f, {"Cured", "Better", "Worse"});
    sample.value = AddDiagramNode(document, diagram, InfluenceKind::Value, "Value", 4.5f, 1.5f);
    sample.subModel = AddDiagramNode(document, diagram, InfluenceKind::SubModel, "Costs", 0.5f, 2.5f);
    sample.clone = AddDiagramNode(document, diagram, InfluenceKind::Chance, "Outcome", 2.5f, 2.5f, {"Cured", "Better", "Worse"});
    sample.clone->isClone = 1;
    sample.clone->cloneMaster = sample.chance;
    sample.chance->clones.push_back(sample.clone);

    sample.subModel->subDiagram = std::make_unique<InfluenceDiagram>();
    InfluenceNodeRecord* inner =
        AddDiagramNode(document, *sample.subModel->subDiagram, InfluenceKind::Deterministic, "Drug cost", 1, 1);
    inner->parentSubModel = sample.subModel;
    inner->formula = "1200*Years";
    inner->lowValue = 800;
    inner->highValue = 1500;
    // A clone of the decision inside the sub-model, influencing the drug cost.
    InfluenceNodeRecord* innerClone =
        AddDiagramNode(document, *sample.subModel->subDiagram, InfluenceKind::Decision, "Treat", 1, 2.5f);
    innerClone->isClone = 1;
    innerClone->cloneMaster = sample.decision;
    innerClone->parentSubModel = sample.subModel;
    sample.decision->clones.push_back(innerClone);
    AddDiagramArc(*sample.subModel->subDiagram, innerClone, inner);

    AddDiagramArc(diagram, sample.decision, sample.chance);
    sample.curvedArc = AddDiagramArc(diagram, sample.chance, sample.value);
    sample.curvedArc->settings.comment = "Worse costs\r\nmore";
    sample.curvedArc->settings.showComment = 1;
    sample.curvedArc->MoveMiddle(DiagramPoint{4.2f, 0.7f});
    sample.curvedArc->ComputeCommentBox();
    sample.hiddenArc = AddDiagramArc(diagram, sample.decision, sample.value);
    sample.hiddenArc->settings.hidden = 1;
    sample.hiddenArc->settings.rows[1].influenceType = ArcInfluenceRow::Force;
    sample.hiddenArc->settings.rows[1].targetState = 2;

    const int probabilities = InfluenceNodeRecord::ProbabilityTable;
    sample.chance->EnsureDefinitionTree(probabilities);
    sample.chance->FindCell({{"Treat", 0}, {"Outcome", 0}}, probabilities, true)->Set("pCured", 0.4, "");
    sample.chance->FindCell({{"Treat", 1}, {"Outcome", 1}}, probabilities, true)->Set("", 0, "0.35");
    sample.chance->FindCell({{"Treat", 1}, {"Outcome", 2}}, probabilities, true)->Set("#", 0, "");
    sample.value->EnsureDefinitionTree(InfluenceNodeRecord::ValueTable);
    sample.value->FindCell({{"Outcome", 2}, {"Treat", 0}}, InfluenceNodeRecord::ValueTable, true)
        ->Set("cost", 12, "12");

    auto* note = new NoteBox;
    note->SetRect(3.9f, 2.6f, 5.7f, 3.1f);
    note->text = "Costs from the 2020 survey";
    diagram.notes.Add(note);

    auto* link = new DocumentLink(1);
    link->application = "Sheet";
    link->topic = "Costs.xls";
    link->item = "R1C1";
    link->value = "12";
    document.links.InsertSorted(link);
    document.zoom = 1.25;
    diagram.printFactor = 80;
    return sample;
}

void SetDiagramCell(InfluenceNodeRecord* node, int table, const std::vector<StateChoice>& choices, const char* text)
{
    node->EnsureDefinitionTree(table);
    DefinitionCell* cell = node->FindCell(choices, table, true);
    char* end = nullptr;
    const double number = std::strtod(text, &end);
    if (*text != '\0' && *end == '\0')
        cell->Set("", number, text);
    else
        cell->Set(text, 0, "");
}

BayesDiagram BuildBayesDiagram(InfluenceDocument& document)
{
    InfluenceDiagram& diagram = document.diagram;
    BayesDiagram bayes{};
    bayes.state = AddDiagramNode(document, diagram, InfluenceKind::Chance, "S", 1, 3, {"s1", "s2"});
    bayes.test = AddDiagramNode(document, diagram, InfluenceKind::Chance, "A", 1, 1, {"a1", "a2"});
    bayes.decision = AddDiagramNode(document, diagram, InfluenceKind::Decision, "D", 3, 1, {"Act", "Wait"});
    bayes.value = AddDiagramNode(document, diagram, InfluenceKind::Value, "V", 5, 2);
    AddDiagramArc(diagram, bayes.state, bayes.test);
    AddDiagramArc(diagram, bayes.test, bayes.decision);
    AddDiagramArc(diagram, bayes.state, bayes.value);
    AddDiagramArc(diagram, bayes.decision, bayes.value);
    const int probabilities = InfluenceNodeRecord::ProbabilityTable;
    SetDiagramCell(bayes.state, probabilities, {{"S", 0}}, "0.3");
    SetDiagramCell(bayes.state, probabilities, {{"S", 1}}, "#");
    const char* given[] = {"0.8", "0.1"};
    for (int s = 0; s < 2; ++s) {
        SetDiagramCell(bayes.test, probabilities, {{"S", s}, {"A", 0}}, given[s]);
        SetDiagramCell(bayes.test, probabilities, {{"S", s}, {"A", 1}}, "#");
    }
    const char* pays[2][2] = {{"100", "-20"}, {"0", "0"}};
    for (int d = 0; d < 2; ++d)
        for (int s = 0; s < 2; ++s)
            SetDiagramCell(bayes.value, InfluenceNodeRecord::ValueTable, {{"D", d}, {"S", s}}, pays[d][s]);
    // Expected values show with one decimal.
    document.prefs.numberFormat.expValDigits = 1;
    return bayes;
}
