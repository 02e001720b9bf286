#include "framework/window/MDImarginCL.h"

#include "framework/window/ChildLayout.h"

MDImarginCL::MDImarginCL(WindowCL* parent, LayoutManager* layout, DWORD style)
    : TopWindow(parent, layout ? layout : new ChildLayout(nullptr), style | WS_CHILD, nullptr)
{
    layout_->Detach();
    if (auto* parentRule = parent ? dynamic_cast<ChildLayout*>(parent->Layout()) : nullptr)
        parentRule->Append(layout_);
    background_ = GetSysColor(COLOR_WINDOW);
    className_ = "MDImarginCL";
    if (parent_)
        parent_->AppendChild(this);
    Create();
}

std::unique_ptr<WNDCLASSA> MDImarginCL::ClassRecord()
{
    std::unique_ptr<WNDCLASSA> record = ClassRecordTemplate();
    record->lpszClassName = "MDImarginCL";
    return record;
}

void MDImarginCL::Create()
{
    RegisterClassOf(ClassRecord());
    CreateSystemWindow(parent_ ? parent_->Handle() : nullptr);
    ApplyStyle();
}

