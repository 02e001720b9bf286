#include "app/HelpContext.h"

int CurrentHelpContext = 0;
