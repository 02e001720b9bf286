#pragma once
// The dialogs of graph templates: the template's properties (3830) with its fonts (3870) and texts (3900),
// the Apply Template chooser (2125), Choose Template for a stored analysis (3860) and Maintain Templates
// (3890). The editing dialogs work on a copy of the template and give it back only on OK.

class GraphTemplate;
class GraphTemplateList;

// The properties of a template; "&Use for new graphs" is the caller's flag. On OK the template holds the
// edits and, with the flag set, its fonts and size become those of new graphs. True after OK.
bool RunTemplatePropertiesDialog(GraphTemplate& graphTemplate, int& useForNewGraphs);
// The six fonts; true after OK.
bool RunTemplateFontsDialog(GraphTemplate& graphTemplate);
// The two title lines and the axis labels; true after OK.
bool RunTemplateTextsDialog(GraphTemplate& graphTemplate);
// The template to apply to the current graph, or null.
GraphTemplate* RunApplyTemplateDialog(const GraphTemplateList& templates);
// The template for the graphs of a stored analysis: true after OK or "&None"; chosen is null after "&None".
bool RunChooseTemplateDialog(const GraphTemplateList& templates, GraphTemplate*& chosen);
// Edits and deletes templates of the list; true when any was edited or deleted.
bool RunMaintainTemplatesDialog(GraphTemplateList& templates);

// The template's six fonts become the default fonts of new graphs and its size their default size, saved as
// preferences.
void SaveTemplateAsDefaults(const GraphTemplate& graphTemplate);
