#include "widgets/HelpContext.h"

namespace {

int helpContext = 0;

} // namespace

int CurrentHelpContext()
{
    return helpContext;
}

void PointHelpAtMenuItem(int item)
{
    helpContext = item;
}

HelpContextScope::HelpContextScope(int help) : saved_(helpContext)
{
    if (help > 0)
        helpContext = help;
}

HelpContextScope::~HelpContextScope()
{
    helpContext = saved_;
}
