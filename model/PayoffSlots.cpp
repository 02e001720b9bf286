#include "model/PayoffSlots.h"

PayoffSlots::~PayoffSlots()
{
    if (slots == nullptr)
        return;
    for (int i = 0; i < kPayoffCount; ++i)
        delete slots[i];
    delete[] slots;
}

Expression& PayoffSlots::operator[](int i)
{
    if (slots == nullptr)
        slots = new Expression*[kPayoffCount]();
    if (slots[i] == nullptr)
        slots[i] = new Expression;
    return *slots[i];
}

const Expression& PayoffSlots::operator[](int i) const
{
    static const Expression none;
    return slots != nullptr && slots[i] != nullptr ? *slots[i] : none;
}

void PayoffSlots::CopyMade(const PayoffSlots& source)
{
    for (int i = 0; i < kPayoffCount && source.slots != nullptr; ++i)
        if (source.slots[i] != nullptr)
            (*this)[i].Assign(*source.slots[i]);
}
