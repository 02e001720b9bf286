#include "framework/window/Timer.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/TimerManager.h"

Timer::Timer(EventTarget* target, TimerFunction function, DWORD interval, int repeating)
    : target_(target), function_(function), interval_(interval), repeating_(repeating)
{
    if (TheApp)
        TheApp->TimersMadeOnDemand()->Add(this);
    startTick_ = TimerManager::Now();
}

Timer::~Timer()
{
    Stop();
}

void Timer::Stop()
{
    if (TheApp && TheApp->Timers())
        TheApp->Timers()->Remove(this);
}
