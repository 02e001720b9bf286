#include "treewin/TreeWindow.h"

TreeWindow::~TreeWindow() = default;
